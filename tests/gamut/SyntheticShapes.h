#pragma once
#include <cmath>
#include <numbers>

#include "gamut/GamutShape.h"

namespace quillon::synthetic {

// A shape whose net points lie on the sphere of radius `radius` about (L*, a*, b*) =
// (50 + lift, shiftA, 0), one point per bin in the middle of the bin's direction as seen
// from the builder's centre (50, 0, 0), which must lie inside the sphere.
inline GamutShape SphereShape(int n, double radius, double shiftA = 0.0, double lift = 0.0)
{
    const double c[3] = {shiftA, lift, 0.0}; // (a*, L* - 50, b*)
    const auto reach = [&](const double u[3]) {
        const double uc = u[0] * c[0] + u[1] * c[1] + u[2] * c[2];
        const double cc = c[0] * c[0] + c[1] * c[1] + c[2] * c[2];
        return uc + std::sqrt(uc * uc - cc + radius * radius);
    };
    GamutShape shape{};
    shape.gridSize = static_cast<std::int16_t>(n);
    const double degree = std::numbers::pi / 180.0;
    for (int band = 0; band < n; ++band)
        for (int sector = 0; sector < n; ++sector) {
            const double elevation = (-90.0 + (band + 0.5) * 180.0 / n) * degree;
            const double hue = (sector + 0.5) * 360.0 / n * degree;
            const double u[3] = {std::cos(elevation) * std::cos(hue), std::sin(elevation),
                                 std::cos(elevation) * std::sin(hue)};
            const double t = reach(u);
            shape.points[band][sector][0] = float(t * u[0]);
            shape.points[band][sector][1] = float(50.0 + t * u[1]);
            shape.points[band][sector][2] = float(t * u[2]);
        }
    const double up[3] = {0.0, 1.0, 0.0}, down[3] = {0.0, -1.0, 0.0};
    shape.topPole[1] = float(50.0 + reach(up));
    shape.bottomPole[1] = float(50.0 - reach(down));
    return shape;
}

} // namespace quillon::synthetic
