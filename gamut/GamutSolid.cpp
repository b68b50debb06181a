#include "gamut/GamutSolid.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>
#include <numbers>
#include <system_error>
#include <thread>

namespace quillon {

// Geometry of one solid, kept out of the header: the header promises only queries.
namespace solid_detail {

// Centred coordinates: a*, L* - 50, b*. The centre is the origin and L* points up.
using Vec = std::array<double, 3>;

constexpr double kCentreL = 50.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Angular slack of a triangle's direction box: far above rounding, far below a ray spacing.
constexpr double kBoxMargin = 1e-9;

inline Vec Sub(const Vec& p, const Vec& q) { return {p[0] - q[0], p[1] - q[1], p[2] - q[2]}; }
inline Vec Scaled(const Vec& p, double s) { return {p[0] * s, p[1] * s, p[2] * s}; }
inline Vec Plus(const Vec& p, const Vec& q) { return {p[0] + q[0], p[1] + q[1], p[2] + q[2]}; }
inline double Dot(const Vec& p, const Vec& q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; }
inline Vec Cross(const Vec& p, const Vec& q)
{
    return {p[1] * q[2] - p[2] * q[1], p[2] * q[0] - p[0] * q[2], p[0] * q[1] - p[1] * q[0]};
}
inline double Length(const Vec& p) { return std::sqrt(Dot(p, p)); }

// Every ray is nudged by e * kNudge1 + e^2 * kNudge2 (e vanishingly small): a ray through a
// corner or along an edge then meets exactly one of the triangles there. This matters for
// neutral colours, whose ray runs straight through a pole shared by n triangles.
constexpr Vec kNudge1 = {0.2718281828459045, 0.3141592653589793, 0.5772156649015329};
constexpr Vec kNudge2 = {0.6931471805599453, -0.4142135623730950, 0.1234567890123457};

inline int SignOf(double x) { return (x > 0.0) - (x < 0.0); }

inline int NudgedSign(const Vec& ray, const Vec& edge)
{
    double q = Dot(ray, edge);
    if (q != 0.0)
        return SignOf(q);
    q = Dot(kNudge1, edge);
    if (q != 0.0)
        return SignOf(q);
    return SignOf(Dot(kNudge2, edge));
}

// A triangle seen from the centre: a ray w meets it when w lies in the cone of its corners,
// i.e. w . (p x q) has the sign of det = a . (b x c) for each edge p -> q.
struct CrossingTriangle {
    Vec corner[3];
    // corner[lower id] x corner[higher id] for edge k (corner k -> k + 1): computed the same
    // way by both triangles of an edge, so their tests agree exactly.
    Vec edge[3];
    Vec normal; // (b - a) x (c - a)
    double det;
    std::int8_t edgeFlip[3]; // +1 when this triangle runs edge k from lower to higher id
    std::int8_t detSign;
    std::int8_t sigma; // +1 where a ray leaves the solid, -1 where it enters
};

inline bool Meets(const CrossingTriangle& tri, const Vec& ray, double& t)
{
    for (int k = 0; k < 3; ++k)
        if (tri.edgeFlip[k] * NudgedSign(ray, tri.edge[k]) != tri.detSign)
            return false;
    t = tri.det / Dot(ray, tri.normal);
    return std::isfinite(t);
}

double HueOf(double a, double b)
{
    const double h = std::atan2(b, a);
    return h < 0.0 ? h + kTwoPi : h;
}

// Directions from the centre a triangle can be met in: hue (radians, hi - lo <= 2 pi,
// hi may pass 2 pi) and z = sin(elevation).
struct DirectionBox {
    double hueLo, hueHi;
    double zLo, zHi;
};

bool ConeNearlyContains(const CrossingTriangle& tri, const Vec& w)
{
    for (int k = 0; k < 3; ++k) {
        const Vec& p = tri.corner[k];
        const Vec& q = tri.corner[(k + 1) % 3];
        const double e = Dot(w, Cross(p, q)) * tri.detSign;
        if (e < -1e-9 * Length(p) * Length(q) * Length(w))
            return false;
    }
    return true;
}

DirectionBox BoxOf(const CrossingTriangle& tri)
{
    Vec unit[3];
    DirectionBox box{0.0, kTwoPi, 1.0, -1.0};
    for (int k = 0; k < 3; ++k) {
        unit[k] = Scaled(tri.corner[k], 1.0 / Length(tri.corner[k]));
        box.zLo = std::min(box.zLo, unit[k][1]);
        box.zHi = std::max(box.zHi, unit[k][1]);
    }
    // An edge's arc may rise above (or sink below) both its ends: the great circle's highest
    // point counts when it lies on the arc.
    for (int k = 0; k < 3; ++k) {
        const Vec& p = unit[k];
        const Vec& q = unit[(k + 1) % 3];
        const Vec m = Cross(p, q);
        const double ml = Length(m);
        if (!(ml > 0.0))
            continue;
        const Vec mh = Scaled(m, 1.0 / ml);
        Vec top = {-mh[1] * mh[0], 1.0 - mh[1] * mh[1], -mh[1] * mh[2]};
        const double tl = Length(top);
        if (!(tl > 1e-12))
            continue;
        top = Scaled(top, 1.0 / tl);
        const Vec bottom = Scaled(top, -1.0);
        if (Dot(Cross(p, top), m) >= 0.0 && Dot(Cross(top, q), m) >= 0.0)
            box.zHi = std::max(box.zHi, top[1]);
        if (Dot(Cross(p, bottom), m) >= 0.0 && Dot(Cross(bottom, q), m) >= 0.0)
            box.zLo = std::min(box.zLo, bottom[1]);
    }
    bool allHues = false;
    if (ConeNearlyContains(tri, {0.0, 1.0, 0.0})) {
        box.zHi = 1.0;
        allHues = true;
    }
    if (ConeNearlyContains(tri, {0.0, -1.0, 0.0})) {
        box.zLo = -1.0;
        allHues = true;
    }
    box.zLo = std::max(-1.0, box.zLo - kBoxMargin);
    box.zHi = std::min(1.0, box.zHi + kBoxMargin);
    if (allHues)
        return box;

    // The cone's hues are those of its corners seen from above (a corner on the L* axis
    // adds none): the shortest arc holding them, unless they surround the axis.
    double hue[3];
    int count = 0;
    for (int k = 0; k < 3; ++k)
        if (tri.corner[k][0] != 0.0 || tri.corner[k][2] != 0.0)
            hue[count++] = HueOf(tri.corner[k][0], tri.corner[k][2]);
    if (count == 0)
        return box;
    // At most three: sorted by hand (std::sort on a short array trips a false bounds warning).
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && hue[j] < hue[j - 1]; --j)
            std::swap(hue[j], hue[j - 1]);
    double widestGap = -1.0;
    int after = 0;
    for (int i = 0; i < count; ++i) {
        const double next = i + 1 < count ? hue[i + 1] : hue[0] + kTwoPi;
        if (next - hue[i] > widestGap) {
            widestGap = next - hue[i];
            after = (i + 1) % count;
        }
    }
    if (count > 1 && widestGap < std::numbers::pi)
        return box;
    box.hueLo = hue[after] - kBoxMargin;
    box.hueHi = hue[after] + (count > 1 ? kTwoPi - widestGap : 0.0) + kBoxMargin;
    return box;
}

// A fixed grid of directions over the sphere: equal steps of z = sin(elevation) and of hue.
struct DirectionGrid {
    int bands;
    int sectors;
    double zStep() const { return 2.0 / bands; }
    double hueStep() const { return kTwoPi / sectors; }
};

constexpr DirectionGrid kRays{kRayBands, kRaySectors};
// Coarser bins of triangles for single colour queries.
constexpr DirectionGrid kLookup{64, 128};

const std::vector<Vec>& RayDirections()
{
    static const std::vector<Vec> rays = [] {
        std::vector<Vec> out(std::size_t(kRays.bands) * kRays.sectors);
        for (int band = 0; band < kRays.bands; ++band) {
            const double z = -1.0 + (band + 0.5) * kRays.zStep();
            const double rho = std::sqrt(std::max(0.0, 1.0 - z * z));
            for (int sector = 0; sector < kRays.sectors; ++sector) {
                const double hue = (sector + 0.5) * kRays.hueStep();
                out[std::size_t(band) * kRays.sectors + sector] = {rho * std::cos(hue), z, rho * std::sin(hue)};
            }
        }
        return out;
    }();
    return rays;
}

inline int Wrap(int i, int n) { return ((i % n) + n) % n; }

// Calls visit(band, sector) for every cell of the grid whose middle lies in the box
// (centres = true) or which the box overlaps (centres = false).
template <typename Visit>
void ForCells(const DirectionGrid& grid, const DirectionBox& box, bool centres, Visit visit)
{
    const double offset = centres ? 0.5 : 0.0;
    int bandFirst, bandLast, sectorFirst, sectorLast;
    if (centres) {
        bandFirst = int(std::ceil((box.zLo + 1.0) / grid.zStep() - offset));
        bandLast = int(std::floor((box.zHi + 1.0) / grid.zStep() - offset));
        sectorFirst = int(std::ceil(box.hueLo / grid.hueStep() - offset));
        sectorLast = int(std::floor(box.hueHi / grid.hueStep() - offset));
    } else {
        bandFirst = int(std::floor((box.zLo + 1.0) / grid.zStep()));
        bandLast = int(std::floor((box.zHi + 1.0) / grid.zStep()));
        sectorFirst = int(std::floor(box.hueLo / grid.hueStep()));
        sectorLast = int(std::floor(box.hueHi / grid.hueStep()));
    }
    bandFirst = std::max(bandFirst, 0);
    bandLast = std::min(bandLast, grid.bands - 1);
    if (sectorLast - sectorFirst + 1 >= grid.sectors) {
        sectorFirst = 0;
        sectorLast = grid.sectors - 1;
    }
    for (int band = bandFirst; band <= bandLast; ++band)
        for (int s = sectorFirst; s <= sectorLast; ++s)
            visit(band, Wrap(s, grid.sectors));
}

struct Interval {
    double from, to; // distances from the centre along one ray
};

struct BoxNode {
    double lo[3], hi[3];
    std::uint32_t first; // leaf: first index into order; inner: index of the left child
    std::uint32_t count; // leaf: triangles; inner: 0 (right child = left + 1)
};

using Corners = std::array<Vec, 3>;

// Centre and radius of a ball holding a triangle: lets the nearest-point search skip most
// triangles of a leaf with one distance.
struct Ball {
    Vec centre;
    double radius;
};

Ball BallOf(const Corners& t)
{
    Ball ball;
    for (int k = 0; k < 3; ++k)
        ball.centre[k] = (t[0][k] + t[1][k] + t[2][k]) / 3.0;
    ball.radius = 0.0;
    for (const Vec& v : t)
        ball.radius = std::max(ball.radius, Length(Sub(v, ball.centre)));
    return ball;
}

double SegmentDistance2(const Vec& p, const Vec& a, const Vec& b)
{
    const Vec ab = Sub(b, a);
    const double len2 = Dot(ab, ab);
    double s = len2 > 0.0 ? Dot(Sub(p, a), ab) / len2 : 0.0;
    s = std::clamp(s, 0.0, 1.0);
    const Vec d = Sub(p, Plus(a, Scaled(ab, s)));
    return Dot(d, d);
}

// Squared distance from p to the triangle (closest point by Voronoi regions, after Ericson's
// Real-Time Collision Detection, 5.1.5); a triangle without area falls back to its edges.
double TriangleDistance2(const Vec& p, const Corners& tri)
{
    const Vec& a = tri[0];
    const Vec& b = tri[1];
    const Vec& c = tri[2];
    const Vec ab = Sub(b, a), ac = Sub(c, a);
    const Vec n = Cross(ab, ac);
    const double scale = Dot(ab, ab) * Dot(ac, ac);
    if (!(Dot(n, n) > 1e-24 * scale))
        return std::min({SegmentDistance2(p, a, b), SegmentDistance2(p, b, c), SegmentDistance2(p, c, a)});
    const auto dist2 = [&p](const Vec& q) {
        const Vec d = Sub(p, q);
        return Dot(d, d);
    };
    const Vec ap = Sub(p, a);
    const double d1 = Dot(ab, ap), d2 = Dot(ac, ap);
    if (d1 <= 0.0 && d2 <= 0.0)
        return dist2(a);
    const Vec bp = Sub(p, b);
    const double d3 = Dot(ab, bp), d4 = Dot(ac, bp);
    if (d3 >= 0.0 && d4 <= d3)
        return dist2(b);
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0)
        return dist2(Plus(a, Scaled(ab, d1 / (d1 - d3))));
    const Vec cp = Sub(p, c);
    const double d5 = Dot(ab, cp), d6 = Dot(ac, cp);
    if (d6 >= 0.0 && d5 <= d6)
        return dist2(c);
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0)
        return dist2(Plus(a, Scaled(ac, d2 / (d2 - d6))));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0.0 && d4 - d3 >= 0.0 && d5 - d6 >= 0.0)
        return dist2(Plus(b, Scaled(Sub(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)))));
    // Over the face itself: the distance to its plane.
    const double plane = Dot(ap, n);
    return plane * plane / Dot(n, n);
}

double BoxDistance2(const BoxNode& node, const Vec& p)
{
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double d = std::max({node.lo[k] - p[k], 0.0, p[k] - node.hi[k]});
        sum += d * d;
    }
    return sum;
}

constexpr std::uint32_t kLeafSize = 4;

void BuildTree(const std::vector<Corners>& tris, std::vector<std::uint32_t>& order,
               std::vector<BoxNode>& nodes, std::uint32_t node, std::uint32_t first, std::uint32_t count)
{
    BoxNode box{};
    for (int k = 0; k < 3; ++k) {
        box.lo[k] = HUGE_VAL;
        box.hi[k] = -HUGE_VAL;
    }
    double centreLo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, centreHi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::uint32_t i = first; i < first + count; ++i) {
        const Corners& t = tris[order[i]];
        for (int k = 0; k < 3; ++k) {
            const double c = (t[0][k] + t[1][k] + t[2][k]) / 3.0;
            centreLo[k] = std::min(centreLo[k], c);
            centreHi[k] = std::max(centreHi[k], c);
            for (const Vec& v : t) {
                box.lo[k] = std::min(box.lo[k], v[k]);
                box.hi[k] = std::max(box.hi[k], v[k]);
            }
        }
    }
    if (count <= kLeafSize) {
        box.first = first;
        box.count = count;
        nodes[node] = box;
        return;
    }
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (centreHi[k] - centreLo[k] > centreHi[axis] - centreLo[axis])
            axis = k;
    const std::uint32_t half = count / 2;
    const auto centreOf = [&](std::uint32_t index) {
        const Corners& t = tris[index];
        return t[0][axis] + t[1][axis] + t[2][axis];
    };
    std::nth_element(order.begin() + first, order.begin() + first + half, order.begin() + first + count,
                     [&](std::uint32_t x, std::uint32_t y) {
                         const double cx = centreOf(x), cy = centreOf(y);
                         return cx < cy || (cx == cy && x < y);
                     });
    const std::uint32_t left = static_cast<std::uint32_t>(nodes.size());
    nodes.emplace_back();
    nodes.emplace_back();
    box.first = left;
    box.count = 0;
    nodes[node] = box;
    BuildTree(tris, order, nodes, left, first, half);
    BuildTree(tris, order, nodes, left + 1, first + half, count - half);
}

} // namespace solid_detail

using namespace solid_detail;

struct GamutSolid::Data {
    double volume = 0.0;
    double rayVolume = 0.0;
    std::vector<CrossingTriangle> crossing;
    std::vector<std::uint32_t> binStart; // kLookup cells, CSR into binTriangles
    std::vector<std::uint32_t> binTriangles;
    std::vector<Corners> surface; // every triangle, for distances, in the tree's leaf order
    std::vector<Ball> balls;      // a ball round each of them, same order
    std::vector<BoxNode> tree;
    std::vector<std::uint32_t> rayStart; // kRays cells, CSR into intervals
    std::vector<Interval> intervals;
};

namespace {

unsigned ThreadCount(unsigned threads, std::size_t jobs)
{
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(jobs, 1)));
}

// Runs job(0 ... jobs - 1), each exactly once; each job writes only its own results.
template <typename Job>
void RunJobs(std::size_t jobs, unsigned threads, Job job)
{
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i = next++; i < jobs; i = next++)
            job(i);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < ThreadCount(threads, jobs); ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break; // the caller's thread does the rest
        }
    }
    worker();
    for (std::thread& thread : pool)
        thread.join();
}

} // namespace

bool MakeShapeNet(const GamutShape& shape, ShapeNet& net)
{
    net = ShapeNet{};
    const int n = shape.gridSize;
    if (n < 3 || n > kMaxGridSize)
        return false;
    ShapeNet out;
    out.gridSize = n;
    out.vertices.reserve(2 + std::size_t(n) * n);
    const auto add = [&out](const float (&p)[3]) { out.vertices.push_back({double(p[0]), double(p[1]), double(p[2])}); };
    add(shape.topPole);
    add(shape.bottomPole);
    for (int band = 0; band < n; ++band)
        for (int sector = 0; sector < n; ++sector)
            add(shape.points[band][sector]);
    for (const auto& v : out.vertices)
        if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]))
            return false;

    const auto point = [n](int band, int sector) { return 2 + band * n + sector; };
    out.triangles.reserve(2 * std::size_t(n) * n);
    std::vector<int> strip(2 * std::size_t(n) + 2);
    for (int c = 0; c < n; ++c) {
        const int next = c + 1 == n ? 0 : c + 1;
        std::size_t k = 0;
        strip[k++] = 0;
        for (int band = n - 1; band >= 0; --band) {
            strip[k++] = point(band, c);
            strip[k++] = point(band, next);
        }
        strip[k++] = 1;
        for (std::size_t i = 0; i + 2 < strip.size(); ++i) {
            if (i % 2 == 0)
                out.triangles.push_back({strip[i], strip[i + 1], strip[i + 2]});
            else
                out.triangles.push_back({strip[i + 1], strip[i], strip[i + 2]});
        }
    }
    net = std::move(out);
    return true;
}

namespace {

Vec Centred(const std::array<double, 3>& alb) { return {alb[0], alb[1] - kCentreL, alb[2]}; }

// Signed: positive when the net's triangles face outwards.
double SignedVolume(const ShapeNet& net)
{
    double sum = 0.0;
    for (const auto& t : net.triangles) {
        const Vec a = Centred(net.vertices[t[0]]), b = Centred(net.vertices[t[1]]), c = Centred(net.vertices[t[2]]);
        sum += Dot(a, Cross(b, c));
    }
    return sum / 6.0;
}

struct Record {
    std::uint32_t ray;
    std::int8_t sigma;
    double t;
};

// Where each fixed ray runs inside the solid: its crossings, innermost first, turned into
// intervals by the winding number counted inwards from far away.
void TraceRays(GamutSolid::Data& data, const std::vector<DirectionBox>& boxes)
{
    const std::vector<Vec>& rays = RayDirections();
    std::vector<Record> records;
    records.reserve(rays.size() + rays.size() / 4);
    for (std::size_t i = 0; i < data.crossing.size(); ++i) {
        const CrossingTriangle& tri = data.crossing[i];
        ForCells(kRays, boxes[i], true, [&](int band, int sector) {
            const std::uint32_t ray = std::uint32_t(band) * kRays.sectors + std::uint32_t(sector);
            double t;
            if (Meets(tri, rays[ray], t))
                records.push_back({ray, tri.sigma, t});
        });
    }
    // Counting sort by ray, then each ray's few crossings by distance.
    std::vector<std::uint32_t> start(rays.size() + 1, 0);
    for (const Record& r : records)
        ++start[r.ray + 1];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<Record> sorted(records.size());
    {
        std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
        for (const Record& r : records)
            sorted[fill[r.ray]++] = r;
    }
    data.rayStart.assign(rays.size() + 1, 0);
    data.intervals.clear();
    data.intervals.reserve(rays.size());
    std::vector<Interval> reversed;
    double sum = 0.0;
    for (std::size_t ray = 0; ray < rays.size(); ++ray) {
        const auto first = sorted.begin() + start[ray], last = sorted.begin() + start[ray + 1];
        std::sort(first, last, [](const Record& x, const Record& y) {
            return x.t < y.t || (x.t == y.t && x.sigma < y.sigma);
        });
        reversed.clear();
        int winding = 0;
        bool inside = false;
        double outer = 0.0;
        for (auto it = last; it != first;) {
            --it;
            winding += it->sigma;
            const bool nowInside = winding > 0;
            if (nowInside && !inside)
                outer = it->t;
            else if (!nowInside && inside)
                reversed.push_back({it->t, outer});
            inside = nowInside;
        }
        if (inside)
            reversed.push_back({0.0, outer});
        for (auto it = reversed.rbegin(); it != reversed.rend(); ++it) {
            data.intervals.push_back(*it);
            sum += it->to * it->to * it->to - it->from * it->from * it->from;
        }
        data.rayStart[ray + 1] = static_cast<std::uint32_t>(data.intervals.size());
    }
    data.rayVolume = sum * (2.0 * kTwoPi / double(rays.size())) / 3.0;
}

void IndexDirections(GamutSolid::Data& data, const std::vector<DirectionBox>& boxes)
{
    const std::size_t cells = std::size_t(kLookup.bands) * kLookup.sectors;
    data.binStart.assign(cells + 1, 0);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ForCells(kLookup, boxes[i], false,
                 [&](int band, int sector) { ++data.binStart[std::size_t(band) * kLookup.sectors + sector + 1]; });
    for (std::size_t c = 0; c < cells; ++c)
        data.binStart[c + 1] += data.binStart[c];
    data.binTriangles.resize(data.binStart.back());
    std::vector<std::uint32_t> fill(data.binStart.begin(), data.binStart.end() - 1);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        ForCells(kLookup, boxes[i], false, [&](int band, int sector) {
            data.binTriangles[fill[std::size_t(band) * kLookup.sectors + sector]++] = static_cast<std::uint32_t>(i);
        });
}

bool Finite(const LabValue& c) { return std::isfinite(c.L) && std::isfinite(c.a) && std::isfinite(c.b); }

} // namespace

double NetVolume(const ShapeNet& net) { return std::abs(SignedVolume(net)); }

GamutSolid::GamutSolid() = default;

GamutSolid::GamutSolid(const GamutShape& shape)
{
    // Out of memory leaves the solid empty (no verdicts) rather than throwing at the caller.
    try {
        Build(shape);
    } catch (const std::bad_alloc&) {
        m_data.reset();
    }
}

void GamutSolid::Build(const GamutShape& shape)
{
    ShapeNet net;
    if (!MakeShapeNet(shape, net))
        return;
    auto data = std::make_shared<Data>();
    const double signedVolume = SignedVolume(net);
    data->volume = std::abs(signedVolume);
    const int orientation = signedVolume >= 0.0 ? 1 : -1;

    data->surface.reserve(net.triangles.size());
    data->crossing.reserve(net.triangles.size());
    for (const auto& t : net.triangles) {
        CrossingTriangle tri{};
        for (int k = 0; k < 3; ++k)
            tri.corner[k] = Centred(net.vertices[t[k]]);
        data->surface.push_back({tri.corner[0], tri.corner[1], tri.corner[2]});
        tri.det = Dot(tri.corner[0], Cross(tri.corner[1], tri.corner[2]));
        // A triangle in a plane through the centre is met by no ray (only grazed).
        if (!(tri.det != 0.0) || !std::isfinite(tri.det))
            continue;
        for (int k = 0; k < 3; ++k) {
            const int from = t[k], to = t[(k + 1) % 3];
            const bool forward = from < to;
            tri.edgeFlip[k] = forward ? 1 : -1;
            tri.edge[k] = forward ? Cross(tri.corner[k], tri.corner[(k + 1) % 3])
                                  : Cross(tri.corner[(k + 1) % 3], tri.corner[k]);
        }
        tri.normal = Cross(Sub(tri.corner[1], tri.corner[0]), Sub(tri.corner[2], tri.corner[0]));
        tri.detSign = static_cast<std::int8_t>(SignOf(tri.det));
        tri.sigma = static_cast<std::int8_t>(tri.detSign * orientation);
        data->crossing.push_back(tri);
    }

    std::vector<std::uint32_t> order(data->surface.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    data->tree.reserve(2 * data->surface.size() / kLeafSize + 2);
    data->tree.emplace_back();
    BuildTree(data->surface, order, data->tree, 0, 0, static_cast<std::uint32_t>(data->surface.size()));
    std::vector<Corners> leafOrder(order.size());
    data->balls.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        leafOrder[i] = data->surface[order[i]];
        data->balls[i] = BallOf(leafOrder[i]);
    }
    data->surface = std::move(leafOrder);

    std::vector<DirectionBox> boxes(data->crossing.size());
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = BoxOf(data->crossing[i]);
    IndexDirections(*data, boxes);
    TraceRays(*data, boxes);
    m_data = std::move(data);
}

bool GamutSolid::valid() const { return m_data != nullptr; }

double GamutSolid::Volume() const { return m_data ? m_data->volume : 0.0; }

double GamutSolid::RayVolume() const { return m_data ? m_data->rayVolume : 0.0; }

namespace {

// The verdict along the ray from the centre; outside, `exit` (when given) gets the distance
// from the colour back to where the ray last left the solid: a point of the net, so a bound
// on the nearest distance that lets the search skip most of the tree.
double NearestIn(const GamutSolid::Data& data, const LabValue& colour, double bound);

// Within this distance past the net along its ray a colour counts as on the net: below what
// two decimals show.
constexpr double kOnNet = 0.005;

Verdict ClassifyIn(const GamutSolid::Data& data, const LabValue& colour, double* exit)
{
    if (!Finite(colour))
        return Verdict::NoVerdict;
    const Vec x = {colour.a, colour.L - kCentreL, colour.b};
    // The centre itself: any ray tells, through all its crossings.
    const bool atCentre = x[0] == 0.0 && x[1] == 0.0 && x[2] == 0.0;
    const Vec ray = atCentre ? kNudge1 : x;
    const double reach = atCentre ? 0.0 : 1.0; // the colour's distance in units of |ray|

    // A ray along the L* axis has no hue; nudged, it takes the nudge's.
    const bool onAxis = ray[0] == 0.0 && ray[2] == 0.0;
    const double hue = onAxis ? HueOf(kNudge1[0], kNudge1[2]) : HueOf(ray[0], ray[2]);
    const double z = ray[1] / Length(ray);
    const int band = std::clamp(int(std::floor((z + 1.0) / kLookup.zStep())), 0, kLookup.bands - 1);
    const int sector = std::clamp(int(std::floor(hue / kLookup.hueStep())), 0, kLookup.sectors - 1);
    const std::size_t cell = std::size_t(band) * kLookup.sectors + sector;

    int winding = 0;
    double lastBefore = -1.0;
    for (std::uint32_t i = data.binStart[cell]; i < data.binStart[cell + 1]; ++i) {
        const CrossingTriangle& tri = data.crossing[data.binTriangles[i]];
        double t;
        if (!Meets(tri, ray, t))
            continue;
        if (t >= reach)
            winding += tri.sigma;
        else
            lastBefore = std::max(lastBefore, t);
    }
    if (winding > 0)
        return Verdict::Inside;
    const double beyond = lastBefore >= 0.0 ? (1.0 - lastBefore) * Length(x) : HUGE_VAL;
    // A colour on the net (a profile's black point on its bottom pole, say) belongs to the
    // gamut; rounding or a ray nudged off a corner puts it just outside, by less than a
    // distance one can show. The search bounded by that distance costs little.
    if (beyond <= kOnNet || NearestIn(data, colour, kOnNet) < kOnNet)
        return Verdict::Inside;
    if (exit)
        *exit = beyond;
    return Verdict::Outside;
}

double NearestIn(const GamutSolid::Data& data, const LabValue& colour, double bound)
{
    const Vec p = {colour.a, colour.L - kCentreL, colour.b};
    double best = bound * bound;
    std::uint32_t stack[64];
    int depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const BoxNode& node = data.tree[stack[--depth]];
        if (BoxDistance2(node, p) >= best)
            continue;
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                const Ball& ball = data.balls[i];
                const double gap = Length(Sub(p, ball.centre)) - ball.radius;
                if (gap > 0.0 && gap * gap >= best)
                    continue;
                best = std::min(best, TriangleDistance2(p, data.surface[i]));
            }
            continue;
        }
        const std::uint32_t left = node.first, right = node.first + 1;
        const double dl = BoxDistance2(data.tree[left], p), dr = BoxDistance2(data.tree[right], p);
        // The nearer child is searched first, so it goes on the stack last.
        if (dl <= dr) {
            stack[depth++] = right;
            stack[depth++] = left;
        } else {
            stack[depth++] = left;
            stack[depth++] = right;
        }
    }
    return std::sqrt(best);
}

} // namespace

Verdict GamutSolid::Classify(const LabValue& colour) const
{
    return m_data ? ClassifyIn(*m_data, colour, nullptr) : Verdict::NoVerdict;
}

double GamutSolid::DistanceToNet(const LabValue& colour) const
{
    if (!m_data || !Finite(colour) || m_data->tree.empty())
        return -1.0;
    return NearestIn(*m_data, colour, HUGE_VAL);
}

InsideResult GamutSolid::Test(const LabValue& colour) const
{
    InsideResult result;
    if (!m_data)
        return result;
    double exit = HUGE_VAL;
    result.verdict = ClassifyIn(*m_data, colour, &exit);
    if (result.verdict == Verdict::Outside)
        result.distance = NearestIn(*m_data, colour, exit);
    return result;
}

std::vector<InsideResult> GamutSolid::TestAll(std::span<const LabValue> colours, unsigned threads) const
{
    std::vector<InsideResult> results;
    try {
        results.resize(colours.size());
    } catch (const std::bad_alloc&) {
        return {};
    }
    constexpr std::size_t kBatch = 256;
    RunJobs((colours.size() + kBatch - 1) / kBatch, threads, [&](std::size_t batch) {
        const std::size_t end = std::min(colours.size(), (batch + 1) * kBatch);
        for (std::size_t i = batch * kBatch; i < end; ++i)
            results[i] = Test(colours[i]);
    });
    return results;
}

NamedCount GamutSolid::CountInside(std::span<const LabValue> colours) const
{
    NamedCount count;
    count.total = colours.size();
    for (const LabValue& colour : colours) {
        switch (Classify(colour)) {
        case Verdict::Inside: ++count.inside; break;
        case Verdict::NoVerdict: ++count.noVerdict; break;
        case Verdict::Outside: break;
        }
    }
    return count;
}

double IntersectionVolume(const GamutSolid& a, const GamutSolid& b)
{
    if (!a.m_data || !b.m_data)
        return 0.0;
    const GamutSolid::Data& p = *a.m_data;
    const GamutSolid::Data& q = *b.m_data;
    const std::size_t rays = p.rayStart.size() - 1;
    double sum = 0.0;
    for (std::size_t ray = 0; ray < rays; ++ray) {
        std::uint32_t i = p.rayStart[ray], j = q.rayStart[ray];
        const std::uint32_t iEnd = p.rayStart[ray + 1], jEnd = q.rayStart[ray + 1];
        while (i < iEnd && j < jEnd) {
            const Interval& x = p.intervals[i];
            const Interval& y = q.intervals[j];
            const double from = std::max(x.from, y.from), to = std::min(x.to, y.to);
            if (to > from)
                sum += to * to * to - from * from * from;
            // Ties advance the same side whichever solid comes first: the sum stays symmetric.
            if (x.to < y.to || (x.to == y.to && x.from <= y.from))
                ++i;
            else
                ++j;
        }
    }
    return sum * (2.0 * kTwoPi / double(rays)) / 3.0;
}

double CoveragePercent(const GamutSolid& a, const GamutSolid& b)
{
    const double own = a.RayVolume();
    if (!(own > 0.0))
        return 0.0;
    return IntersectionVolume(a, b) / own * 100.0;
}


std::vector<GamutSolid> MakeSolids(std::span<const GamutShape* const> shapes, unsigned threads)
{
    std::vector<GamutSolid> solids(shapes.size());
    RunJobs(shapes.size(), threads, [&](std::size_t i) {
        if (shapes[i])
            solids[i] = GamutSolid(*shapes[i]);
    });
    return solids;
}

GamutFigures ComputeFigures(std::span<const GamutSolid> solids, unsigned threads)
{
    GamutFigures figures;
    const std::size_t n = solids.size();
    figures.count = n;
    figures.volume.resize(n);
    figures.intersection.assign(n * n, 0.0);
    figures.coverage.assign(n * n, 0.0);
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < n; ++i) {
        figures.volume[i] = solids[i].Volume();
        figures.intersection[i * n + i] = solids[i].RayVolume();
        for (std::size_t j = i + 1; j < n; ++j)
            pairs.emplace_back(i, j);
    }
    RunJobs(pairs.size(), threads, [&](std::size_t k) {
        const auto [i, j] = pairs[k];
        const double shared = IntersectionVolume(solids[i], solids[j]);
        figures.intersection[i * n + j] = shared;
        figures.intersection[j * n + i] = shared;
    });
    for (std::size_t i = 0; i < n; ++i) {
        const double own = figures.intersection[i * n + i];
        for (std::size_t j = 0; j < n; ++j)
            figures.coverage[i * n + j] = own > 0.0 ? figures.intersection[i * n + j] / own * 100.0 : 0.0;
    }
    return figures;
}

} // namespace quillon
