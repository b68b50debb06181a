#pragma once
#include <cstdint>

namespace quillon {

// Lab -> scene placement. Single precision on purpose: every vertex, footprint and the
// probe marker go through this same float arithmetic.
constexpr float kLabToSceneScale = 0.012f;

struct ScenePoint {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// L* 0..100 spans y -0.6..0.6, +a* is +x and +b* is -z.
constexpr ScenePoint LabToScene(float lightness, float a, float b)
{
    return {kLabToSceneScale * a, kLabToSceneScale * (lightness - 50.0f), -kLabToSceneScale * b};
}

// Shape index k is compiled into list k + 1; the fixed scene lists sit above them.
constexpr unsigned kFirstShapeList = 1;
constexpr unsigned kProbeMarkerList = 17;
constexpr unsigned kHalfAxesList = 20;
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 96;
// Well above the fixed lists (1..20) and the usual glyph range, for leak scans.
constexpr unsigned kListScanLimit = 256;

constexpr double kFieldOfViewDegrees = 30.0;
constexpr double kNearPlane = 1.0;
constexpr double kFarPlane = 10.0;
constexpr double kEyeDistance = 7.0;

// A client area with no width or no height shows nothing; any finite positive aspect
// keeps the projection matrix finite, so it gets a square one.
constexpr double kDegenerateAspect = 1.0;

constexpr double ProjectionAspect(int width, int height)
{
    if (width <= 0 || height <= 0)
        return kDegenerateAspect;
    return double(width) / double(height);
}

} // namespace quillon
