#pragma once
#include <cstdint>

namespace quillon {

// One of the viewport's four per-shape records; entry k always belongs to shape index k.
// The host clears inUse when it removes a row and sets visible from its check boxes,
// through the view's SetShapeInUse / SetShapeVisible, which redraw. The view never clears
// either field itself.
struct ShapeEntry {
    std::int16_t listIndex = 0; // display list listIndex + 1 holds the shape
    std::int32_t inUse = 0;     // a list has been compiled and the row not removed
    std::int32_t visible = 0;   // the host wants the shape drawn
    float sortKey = 0.0f;       // draw order, smallest first: the largest b* compiled
};

} // namespace quillon
