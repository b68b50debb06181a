#pragma once
#include <cstdint>

#include "gamut/GamutShape.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

// The view list's rows and the viewport's shapes: one slot, one row, one shape each.
constexpr int kShapeCount = 4;

// The record behind one row of the view list; copied whole when rows move up.
struct ViewSlot {
    ProfileRecord profile;
    std::int16_t shapeIndex = 0; // the viewport entry; its display list is shapeIndex + 1
    GamutShape shape;
    bool visible = false;
    bool naturalColours = false;
    std::int16_t opacity = 0; // percent
};

} // namespace quillon
