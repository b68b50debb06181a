#include "gamut/GamutGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gamut/RayTriangle.h"

namespace quillon {
namespace {

constexpr int kMinGridSize = 8;

// [0, 360) as held in a cell. A tiny negative angle plus 360 rounds to 360.0f; it is 0 to
// float precision, so it is held as 0 rather than falling outside the grid.
float HeldAngle(float degrees)
{
    if (degrees >= 360.0f)
        degrees -= 360.0f;
    if (degrees < 0.0f)
        degrees += 360.0f;
    if (degrees >= 360.0f)
        degrees = 0.0f;
    return degrees;
}

// trunc() without the library call baseline x86-64 makes of std::trunc: exact for every
// float, as floats of magnitude 2^23 or more (and NaN) are already whole and pass through.
inline float Trunc(float x)
{
    return (x > -8388608.0f && x < 8388608.0f) ? static_cast<float>(static_cast<int>(x)) : x;
}

int ClampIndex(float value, int n)
{
    // Compared as floats first: a float outside int range (or NaN) must not be cast.
    if (!(value >= 0.0f))
        return 0;
    if (value >= static_cast<float>(n - 1))
        return n - 1;
    return static_cast<int>(value);
}

Vec3 PointOf(const GamutCell& cell)
{
    const Lab lab = SphericalToLab(cell.radius, cell.hue, cell.elevation);
    return {lab.a, lab.L, lab.b};
}

// The box of the sampled cells widened by the tolerance.
struct SampleBox {
    Lab low{}, high{};
    bool Outside(const GamutCell& c) const
    {
        return c.L < low.L || c.L > high.L || c.a < low.a || c.a > high.a || c.b < low.b || c.b > high.b;
    }
    Lab Clamp(Lab p) const
    {
        return {std::clamp(p.L, low.L, high.L), std::clamp(p.a, low.a, high.a), std::clamp(p.b, low.b, high.b)};
    }
};

bool BoxOfFilledCells(const GamutGrid& grid, SampleBox& box)
{
    bool any = false;
    for (int band = 0; band < grid.gridSize; ++band)
        for (int sector = 0; sector < grid.gridSize; ++sector) {
            const GamutCell& cell = grid.cells[band][sector];
            if (cell.radius == 0.0f)
                continue;
            if (!any) {
                box.low = box.high = {cell.L, cell.a, cell.b};
                any = true;
            }
            box.low = {std::min(box.low.L, cell.L), std::min(box.low.a, cell.a), std::min(box.low.b, cell.b)};
            box.high = {std::max(box.high.L, cell.L), std::max(box.high.a, cell.a), std::max(box.high.b, cell.b)};
        }
    const float t = GamutGrid::kBoxTolerance;
    box.low = {box.low.L - t, box.low.a - t, box.low.b - t};
    box.high = {box.high.L + t, box.high.a + t, box.high.b + t};
    // A NaN sample would make the box meaningless: no clamp then.
    return any && box.low.L <= box.high.L && box.low.a <= box.high.a && box.low.b <= box.high.b;
}

} // namespace

Spherical LabToSpherical(float L, float a, float b)
{
    const float dL = L - kCentreL;
    Spherical s;
    s.radius = std::sqrt(dL * dL + a * a + b * b);
    s.hue = HeldAngle(std::atan2(b, a) * kRadiansToDegrees);
    const float chroma = std::sqrt(a * a + b * b);
    s.elevation = HeldAngle(std::atan2(dL, chroma) * kRadiansToDegrees);
    return s;
}

Lab SphericalToLab(float radius, float hue, float elevation)
{
    const double e = elevation * kDegreesToRadians;
    const double h = hue * kDegreesToRadians;
    Lab lab;
    lab.L = static_cast<float>(radius * std::sin(e) + kCentreL);
    lab.a = static_cast<float>(radius * std::cos(e) * std::cos(h));
    lab.b = static_cast<float>(radius * std::cos(e) * std::sin(h));
    return lab;
}

void GamutGrid::Reset(int n, std::uint32_t signature)
{
    if (n % 2 != 0)
        n += 1;
    if (n < kMinGridSize)
        n = kMinGridSize;
    if (n > kMaxGridSize)
        n = kMaxGridSize;
    std::memset(cells, 0, sizeof cells);
    gridSize = static_cast<std::int16_t>(n);
    colourSpace = signature;
    hueStep = 360.0f * (1.0f / static_cast<float>(n));
    elevationStep = 180.0f * (1.0f / static_cast<float>(n));
    for (int i = 0; i < 3; ++i)
        topPole[i] = bottomPole[i] = 0.0f;
    lastFillPasses = 0;
    fromSamples = false;
}

int GamutGrid::BandOf(float elevation) const
{
    // 0 straight down, 90 level, 180 straight up.
    const float lift = elevation <= 180.0f ? elevation + 90.0f : 90.0f - (360.0f - elevation);
    // Whole degrees first, then the band: a lift of 5.7 is band 0 at n = 32.
    return BandOfWholeLift(Trunc(lift));
}

int GamutGrid::BandOfWholeLift(float wholeLift) const
{
    return ClampIndex(Trunc(wholeLift / elevationStep), gridSize);
}

int GamutGrid::SectorOf(float hue) const
{
    // hueStep is rounded for n = 24, so a hue just below 360 may divide to n.
    return ClampIndex(Trunc(hue / hueStep), gridSize);
}

void GamutGrid::AddSample(float L, float a, float b)
{
    fromSamples = true;
    const Spherical s = LabToSpherical(L, a, b);
    if (!(s.radius > 0.0f))
        return;
    GamutCell& cell = cells[BandOf(s.elevation)][SectorOf(s.hue)];
    if (s.radius > cell.radius)
        cell = {s.radius, s.hue, s.elevation, L, a, b};
}

void GamutGrid::SetAnglesFromLab()
{
    fromSamples = true;
    for (int band = 0; band < kMaxGridSize; ++band)
        for (int sector = 0; sector < kMaxGridSize; ++sector) {
            GamutCell& cell = cells[band][sector];
            if (cell.radius != 0.0f) {
                const Spherical s = LabToSpherical(cell.L, cell.a, cell.b);
                cell.hue = s.hue;
                cell.elevation = s.elevation;
            }
        }
}

void GamutGrid::MergeFrom(const GamutGrid& later)
{
    fromSamples = fromSamples || later.fromSamples;
    for (int band = 0; band < kMaxGridSize; ++band)
        for (int sector = 0; sector < kMaxGridSize; ++sector)
            if (later.cells[band][sector].radius > cells[band][sector].radius)
                cells[band][sector] = later.cells[band][sector];
}

bool GamutGrid::FillHole(int band, int sector, int minNeighbours)
{
    const int n = gridSize;
    const GamutCell* neighbours[4] = {
        &cells[(band + n - 1) % n][sector],
        &cells[(band + 1) % n][sector],
        &cells[band][(sector + n - 1) % n],
        &cells[band][(sector + 1) % n],
    };
    float sum = 0.0f;
    int count = 0;
    for (const GamutCell* neighbour : neighbours) {
        if (neighbour->radius != 0.0f) {
            sum += neighbour->radius;
            ++count;
        }
    }
    if (count < minNeighbours)
        return false;
    GamutCell& cell = cells[band][sector];
    cell.radius = count > 0 ? sum / static_cast<float>(count) : 0.0f;
    cell.hue = (static_cast<float>(sector) + 0.5f) * hueStep;
    cell.elevation = band < n / 2
                         ? (static_cast<float>(band) + 0.5f) * elevationStep + 270.0f
                         : (static_cast<float>(band - n / 2) + 0.5f) * elevationStep;
    const Lab lab = SphericalToLab(cell.radius, cell.hue, cell.elevation);
    cell.L = lab.L;
    cell.a = lab.a;
    cell.b = lab.b;
    return true;
}

void GamutGrid::FillHoles()
{
    const int n = gridSize;
    bool anyFilled = false;
    for (int band = 0; band < n && !anyFilled; ++band)
        for (int sector = 0; sector < n; ++sector)
            if (cells[band][sector].radius != 0.0f) {
                anyFilled = true;
                break;
            }
    lastFillPasses = 0;
    if (!anyFilled) {
        // Nothing to grow from: the shape collapses to the centre point, each cell still
        // carrying its own direction.
        for (int band = 0; band < n; ++band)
            for (int sector = 0; sector < n; ++sector) {
                FillHole(band, sector, 0);
            }
        return;
    }
    for (;;) {
        ++lastFillPasses;
        bool passNeeded = false;
        int filled = 0;
        for (int band = 0; band < n; ++band)
            for (int sector = 0; sector < n; ++sector) {
                if (cells[band][sector].radius != 0.0f)
                    continue;
                if (FillHole(band, sector, 2))
                    ++filled;
                else
                    passNeeded = true;
            }
        if (!passNeeded)
            return;
        if (filled == 0) {
            // No hole has two filled neighbours (isolated samples): the passes would repeat
            // forever. Grow from one neighbour once, at the first hole touching a filled
            // cell; one always exists while any cell is filled, as the net wraps both ways.
            bool seeded = false;
            for (int band = 0; band < n && !seeded; ++band)
                for (int sector = 0; sector < n && !seeded; ++sector)
                    if (cells[band][sector].radius == 0.0f)
                        seeded = FillHole(band, sector, 1);
            if (!seeded)
                return; // unreachable while a cell is filled; kept as a hard stop
        }
    }
}

int FanPartner(int sector, int apexSector, int n)
{
    int next = (sector + 1) % n;
    if (next == apexSector)
        next = (next + 1) % n;
    return next;
}

void GamutGrid::FindPoles()
{
    const int n = gridSize;
    const Vec3 origin{0.0f, 0.0f, 0.0f};
    const Vec3 axis{0.0f, 100.0f, 0.0f};

    auto highest = [&](int sector) {
        Vec3 best{0.0f, 0.0f, 0.0f};
        for (int band = 0; band < n; ++band) {
            const Vec3 p = PointOf(cells[band][sector]);
            if (p.y >= best.y)
                best = p;
        }
        return best;
    };
    auto lowest = [&](int sector) {
        Vec3 best{0.0f, 100.0f, 0.0f};
        for (int band = 0; band < n; ++band) {
            const Vec3 p = PointOf(cells[band][sector]);
            if (p.y <= best.y)
                best = p;
        }
        return best;
    };
    auto pole = [&](int apexBand, bool top, float* out) {
        int apex = 0;
        float bestL = top ? 0.0f : 100.0f;
        for (int sector = 0; sector < n; ++sector) {
            const float L = PointOf(cells[apexBand][sector]).y;
            if (top ? L > bestL : L < bestL) {
                bestL = L;
                apex = sector;
            }
        }
        const Vec3 T = PointOf(cells[apexBand][apex]);
        float poleL = T.y;
        for (int i = 0; i < n; ++i) {
            if (i == apex)
                continue;
            const int j = FanPartner(i, apex, n);
            const Vec3 A = top ? highest(i) : lowest(i);
            const Vec3 B = top ? highest(j) : lowest(j);
            float u, v, t;
            if (IntersectRayTriangle(origin, axis, T, A, B, u, v, t)) {
                poleL = 100.0f * t;
                break;
            }
        }
        out[0] = 0.0f;
        out[1] = poleL;
        out[2] = 0.0f;
    };
    pole(n - 1, true, topPole);
    pole(0, false, bottomPole);
}

void GamutGrid::Repair()
{
    // The box of the sampled cells, before any hole is filled.
    SampleBox box;
    const bool boxed = fromSamples && BoxOfFilledCells(*this, box);
    FillHoles();
    if (boxed)
        for (int band = 0; band < gridSize; ++band)
            for (int sector = 0; sector < gridSize; ++sector) {
                GamutCell& cell = cells[band][sector];
                if (!box.Outside(cell))
                    continue; // inside: left bit for bit as it was
                const Lab kept = box.Clamp({cell.L, cell.a, cell.b});
                const Spherical s = LabToSpherical(kept.L, kept.a, kept.b);
                cell = {s.radius, s.hue, s.elevation, kept.L, kept.a, kept.b};
            }
    FindPoles();
    if (boxed)
        for (float* pole : {topPole, bottomPole}) {
            const Lab kept = box.Clamp({pole[1], pole[0], pole[2]});
            pole[0] = kept.a;
            pole[1] = kept.L;
            pole[2] = kept.b;
        }
}

} // namespace quillon
