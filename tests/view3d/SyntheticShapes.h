#pragma once
#include <cmath>
#include <memory>

#include "view3d/ViewSlot.h"

namespace quillon::testing_shapes {

// A ring of n sectors counter-clockwise from hue `startDegrees`, the same chroma on
// every band, bands evenly from lowL to highL, poles in the middle of the end faces:
// a prism, cube-like for n = 4 and start 45.
inline std::unique_ptr<ViewSlot> Prism(int n, float chroma, float lowL, float highL, float startDegrees = 45.0f,
                                       float bOffset = 0.0f)
{
    auto slot = std::make_unique<ViewSlot>();
    GamutShape& s = slot->shape;
    s.gridSize = std::int16_t(n);
    s.topPole[0] = 0;
    s.topPole[1] = highL;
    s.topPole[2] = bOffset;
    s.bottomPole[0] = 0;
    s.bottomPole[1] = lowL;
    s.bottomPole[2] = bOffset;
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            const double hue = (startDegrees + 360.0 * c / n) * M_PI / 180.0;
            float* p = s.points[r][c];
            p[0] = float(chroma * std::cos(hue));
            p[1] = n == 1 ? highL : lowL + (highL - lowL) * float(r) / float(n - 1);
            p[2] = float(chroma * std::sin(hue)) + bOffset;
        }
    slot->visible = true;
    slot->opacity = 100;
    return slot;
}

// A ball of n bands and sectors round L* 50, for natural-colour and timing runs.
inline std::unique_ptr<ViewSlot> Ball(int n, float radius)
{
    auto slot = std::make_unique<ViewSlot>();
    GamutShape& s = slot->shape;
    s.gridSize = std::int16_t(n);
    s.topPole[1] = 50 + radius;
    s.bottomPole[1] = 50 - radius;
    for (int r = 0; r < n; ++r) {
        const double elevation = (-90.0 + 180.0 * (r + 1) / (n + 1)) * M_PI / 180.0;
        for (int c = 0; c < n; ++c) {
            const double hue = 360.0 * c / n * M_PI / 180.0;
            float* p = s.points[r][c];
            p[0] = float(radius * std::cos(elevation) * std::cos(hue));
            p[1] = float(50 + radius * std::sin(elevation));
            p[2] = float(radius * std::cos(elevation) * std::sin(hue));
        }
    }
    slot->visible = true;
    slot->naturalColours = true;
    slot->opacity = 100;
    return slot;
}

} // namespace quillon::testing_shapes
