#pragma once
#include <cstdint>

namespace quillon {

constexpr int kMaxGridSize = 32;

// The boundary net of one profile. Points are (a*, L*, b*): the viewport's x, y, z.
struct GamutShape {
    float topPole[3] = {};
    float bottomPole[3] = {};
    std::int16_t gridSize = 0;
    float points[kMaxGridSize][kMaxGridSize][3] = {}; // [band][sector]
};

} // namespace quillon
