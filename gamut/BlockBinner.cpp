#include "gamut/BlockBinner.h"

#include <algorithm>
#include <cmath>

#include "gamut/Sampling.h"

namespace quillon {
namespace {

// Angles closer than this (degrees) to a cell boundary go through the exact formulas. The
// polynomial below is off by at most 1.2e-4 degrees over the whole circle, the exact path's
// own rounding is below 1e-4: the margin is ten times their sum.
constexpr float kBoundaryMargin = 0.002f;

// A branch-free polynomial atan2 in degrees (so the classify loop vectorises). NaN when
// both arguments are 0, which the callers' range tests then reject.
inline float ApproxAtan2Degrees(float y, float x)
{
    const float ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const float big = steep ? ay : ax;
    const float small = steep ? ax : ay;
    const float t = small / big;
    const float s = t * t;
    float r = t * (0.99997726f +
                   s * (-0.33262347f +
                        s * (0.19354346f + s * (-0.11643287f + s * (0.05265332f + s * -0.01172120f)))));
    r = steep ? 1.57079637f - r : r;
    r = x < 0.0f ? 3.14159274f - r : r;
    r = y < 0.0f ? -r : r;
    return r * kRadiansToDegrees;
}

} // namespace

void BlockBinner::PrepareBands(const GamutGrid& grid)
{
    if (m_gridSize == grid.gridSize && m_elevationStep == grid.elevationStep)
        return;
    m_gridSize = grid.gridSize;
    m_elevationStep = grid.elevationStep;
    for (int lift = 0; lift <= 180; ++lift)
        m_bandOfLift[lift] = static_cast<std::int16_t>(grid.BandOfWholeLift(static_cast<float>(lift)));
}

void BlockBinner::Decode(const std::uint16_t* labWords, std::size_t count)
{
    m_count = std::min(count, kCapacity);
    const std::size_t n = m_count;
    for (std::size_t i = 0; i < n; ++i) {
        const Lab lab = DecodeLab(labWords[3 * i], labWords[3 * i + 1], labWords[3 * i + 2]);
        m_L[i] = lab.L;
        m_a[i] = lab.a;
        m_b[i] = lab.b;
    }
}

void BlockBinner::Classify(const GamutGrid& grid)
{
    PrepareBands(grid);
    const std::size_t n = m_count;
    const float hueStep = grid.hueStep;
    const float sectorsPerDegree = 1.0f / hueStep;
    const float sectorMargin = kBoundaryMargin * sectorsPerDegree;
    const int lastSector = grid.gridSize - 1;
    for (std::size_t i = 0; i < n; ++i) {
        const float dL = m_L[i] - kCentreL;
        const float a = m_a[i], b = m_b[i];
        // The same expression as LabToSpherical, so the radius compared is the one stored.
        m_radius[i] = std::sqrt(dL * dL + a * a + b * b);

        const float lift = ApproxAtan2Degrees(dL, std::sqrt(a * a + b * b)) + 90.0f;
        const bool liftInRange = (lift >= kBoundaryMargin) & (lift <= 180.0f - kBoundaryMargin);
        const float safeLift = liftInRange ? lift : 0.0f;
        const int wholeLift = static_cast<int>(safeLift);
        const float liftFraction = safeLift - static_cast<float>(wholeLift);

        float hue = ApproxAtan2Degrees(b, a);
        hue = hue < 0.0f ? hue + 360.0f : hue;
        const bool hueInRange = (hue >= kBoundaryMargin) & (hue <= 360.0f - kBoundaryMargin);
        const float q = hueInRange ? hue * sectorsPerDegree : 0.0f;
        const int wholeQ = static_cast<int>(q);
        const float qFraction = q - static_cast<float>(wholeQ);

        // Positive tests only: a NaN angle fails them and goes the exact way.
        // Non-short-circuit '&' keeps the loop free of branches.
        const bool certain = liftInRange & hueInRange & (liftFraction >= kBoundaryMargin) &
                             (1.0f - liftFraction >= kBoundaryMargin) & (qFraction >= sectorMargin) &
                             (1.0f - qFraction >= sectorMargin);
        m_lift[i] = wholeLift;
        m_sector[i] = wholeQ;
        m_certain[i] = certain ? 1.0f : 0.0f;
    }
    for (std::size_t i = 0; i < n; ++i)
        m_cell[i] = m_certain[i] != 0.0f
                        ? m_bandOfLift[m_lift[i]] * kMaxGridSize + std::min(m_sector[i], lastSector)
                        : -1;
}

void BlockBinner::Bin(GamutGrid& grid) const
{
    GamutCell* cells = &grid.cells[0][0];
    for (std::size_t i = 0; i < m_count; ++i) {
        const float radius = m_radius[i];
        if (!(radius > 0.0f))
            continue;
        const int index = m_cell[i];
        if (index < 0) {
            grid.AddSample(m_L[i], m_a[i], m_b[i]);
            continue;
        }
        // A winner's angles are a function of its Lab alone: SetAnglesFromLab fills them
        // once per cell at the end instead of twice an atan2 per winner here.
        GamutCell& cell = cells[index];
        if (radius > cell.radius)
            cell = {radius, 0.0f, 0.0f, m_L[i], m_a[i], m_b[i]};
    }
}

} // namespace quillon
