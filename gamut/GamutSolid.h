#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gamut/GamutShape.h"

namespace quillon {

// A CIELAB colour in double precision.
struct LabValue {
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

// The closed net of a shape exactly as the viewport's strips draw it. Vertices are
// (a*, L*, b*): 0 is the top pole, 1 the bottom pole, 2 + band * n + sector a net point.
// Per sector c (c' = c + 1, wrapping): the strip top pole, [n-1][c], [n-1][c'], ...,
// [0][c], [0][c'], bottom pole, cut into triangles the way a GL triangle strip is
// (odd triangles swap their first two corners), so all 2 n^2 triangles share one winding.
struct ShapeNet {
    int gridSize = 0;
    std::vector<std::array<double, 3>> vertices;
    std::vector<std::array<int, 3>> triangles;
};

// False, with net emptied, for a grid size outside 3 ... 32 or a non-finite point.
bool MakeShapeNet(const GamutShape& shape, ShapeNet& net);

// Enclosed volume of the net in cubic CIELAB units (dE*ab^3), by the divergence theorem.
// Exact for the drawn polyhedron whatever its shape; 0 for an invalid net.
double NetVolume(const ShapeNet& net);

enum class Verdict : std::uint8_t {
    Inside,
    Outside,
    NoVerdict, // a non-finite colour, or a shape without a usable net
};

struct InsideResult {
    Verdict verdict = Verdict::NoVerdict;
    double distance = 0.0; // dE*ab to the nearest point of the net; 0 when inside
};

struct NamedCount {
    std::size_t inside = 0;
    std::size_t total = 0;     // colours given, with or without a verdict
    std::size_t noVerdict = 0; // non-finite colours (neither inside nor outside)
};

// The solid a built shape encloses, prepared once so that figures and colour tests are
// cheap: the net's triangles, a direction index from the centre (L* 50, a* = b* = 0), a
// box tree for nearest points, and where each of a fixed set of rays from the centre runs
// inside. Immutable once made; copies share the data; safe to query from several threads.
class GamutSolid {
public:
    GamutSolid(); // empty: no verdicts, volume 0
    // Empty as well for a shape without a usable net, or when memory runs out.
    explicit GamutSolid(const GamutShape& shape);

    bool valid() const;

    // Exact volume of the drawn net (NetVolume).
    double Volume() const;
    // The same solid's volume by the ray integral that intersections use.
    double RayVolume() const;

    // Inside or outside along the ray from the centre through the colour (a colour on the
    // net counts as inside); outside, the distance to the nearest point of the net.
    InsideResult Test(const LabValue& colour) const;
    // The same verdict without the distance.
    Verdict Classify(const LabValue& colour) const;
    // Distance from the colour to the nearest point of the net's triangles; -1 when invalid
    // or not finite.
    double DistanceToNet(const LabValue& colour) const;

    // Test for many colours, in batches on up to `threads` threads (0 = hardware
    // concurrency); the same results whatever the thread count. Empty when out of memory.
    std::vector<InsideResult> TestAll(std::span<const LabValue> colours, unsigned threads = 0) const;

    // Colours inside (no distances computed).
    NamedCount CountInside(std::span<const LabValue> colours) const;

    struct Data;

private:
    void Build(const GamutShape& shape);
    std::shared_ptr<const Data> m_data;
    friend double IntersectionVolume(const GamutSolid& a, const GamutSolid& b);
};

// Volume both solids enclose, integrated along the fixed rays from the centre.
// Symmetric bit for bit; 0 when either is invalid.
double IntersectionVolume(const GamutSolid& a, const GamutSolid& b);

// Share of a's volume inside b, in percent: IntersectionVolume(a, b) / a.RayVolume(), the
// same ray integral above and below, so a shape covers itself, and anything larger covers
// it, at exactly 100. 0 when a has no volume.
double CoveragePercent(const GamutSolid& a, const GamutSolid& b);

// Every figure for a list of solids (the view list's rows).
struct GamutFigures {
    std::size_t count = 0;
    std::vector<double> volume;       // exact, per solid
    std::vector<double> intersection; // count x count, row-major; diagonal = RayVolume
    std::vector<double> coverage;     // count x count percent: [i][j] = share of i inside j

    double Coverage(std::size_t i, std::size_t j) const { return coverage[i * count + j]; }
    double Intersection(std::size_t i, std::size_t j) const { return intersection[i * count + j]; }
};

// threads 0 = hardware concurrency; any thread count gives the same figures.
GamutFigures ComputeFigures(std::span<const GamutSolid> solids, unsigned threads = 0);

// One solid per shape, built on up to `threads` threads (0 = hardware concurrency); the
// same solids whatever the thread count.
std::vector<GamutSolid> MakeSolids(std::span<const GamutShape* const> shapes, unsigned threads = 0);

// Rays of the figures: kRayBands equal-area bands of the sphere (by sin elevation) times
// kRaySectors equal hue sectors, one ray through the middle of each cell.
constexpr int kRayBands = 128;
constexpr int kRaySectors = 256;

} // namespace quillon
