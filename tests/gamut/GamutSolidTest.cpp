#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gamut/GamutSolid.h"
#include "tests/gamut/SyntheticShapes.h"

using namespace quillon;
using quillon::synthetic::SphereShape;

namespace {

double SphereVolume(double r) { return 4.0 / 3.0 * std::numbers::pi * r * r * r; }

LabValue Along(const float (&p)[3], double scale)
{
    // (a*, L*, b*) point -> the colour at `scale` times its distance from the centre.
    return {50.0 + (p[1] - 50.0) * scale, p[0] * scale, p[2] * scale};
}

TEST(ShapeNet, ClosedAndConsistentlyWound)
{
    for (int n : {3, 16, 24, 32}) {
        ShapeNet net;
        ASSERT_TRUE(MakeShapeNet(SphereShape(n, 40.0), net));
        ASSERT_EQ(net.triangles.size(), std::size_t(2 * n * n));
        // Every edge is run once each way: the surface is closed and one winding throughout.
        std::map<std::pair<int, int>, int> edges;
        for (const auto& t : net.triangles)
            for (int k = 0; k < 3; ++k)
                ++edges[{t[k], t[(k + 1) % 3]}];
        for (const auto& [edge, uses] : edges) {
            EXPECT_EQ(uses, 1) << n << ": " << edge.first << "->" << edge.second;
            EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << n << ": " << edge.first << "->" << edge.second;
        }
    }
}

TEST(ShapeNet, RefusesBadGridSizesAndNonFinitePoints)
{
    ShapeNet net;
    for (int n : {-1, 0, 1, 2, 33}) {
        GamutShape shape = SphereShape(8, 30.0);
        shape.gridSize = static_cast<std::int16_t>(n);
        EXPECT_FALSE(MakeShapeNet(shape, net)) << n;
        EXPECT_TRUE(net.triangles.empty());
    }
    GamutShape shape = SphereShape(8, 30.0);
    shape.points[3][4][1] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(MakeShapeNet(shape, net));
    const GamutSolid solid(shape);
    EXPECT_FALSE(solid.valid());
    EXPECT_EQ(solid.Volume(), 0.0);
    EXPECT_EQ(solid.Test({50, 0, 0}).verdict, Verdict::NoVerdict);
}

// The net is a polyhedron inscribed in the sphere, so it falls short of the sphere's volume:
// the net's discretisation error. Measured for radius 40: n = 16 3.48 %, n = 24 1.56 %,
// n = 32 0.88 %, shrinking as 1/n^2. The lower bound is the sphere of radius R cos(d) that
// the net surely holds, d being the widest half-diagonal of a bin.
TEST(GamutSolid, SphereVolumeWithinDiscretisationError)
{
    const double radius = 40.0;
    double shortfall[33] = {};
    for (int n : {16, 24, 32}) {
        const GamutSolid solid(SphereShape(n, radius));
        ASSERT_TRUE(solid.valid());
        const double ratio = solid.Volume() / SphereVolume(radius);
        const double halfDiagonal = std::hypot(360.0 / n, 180.0 / n) / 2.0 * std::numbers::pi / 180.0;
        EXPECT_LT(ratio, 1.0) << n;
        EXPECT_GT(ratio, std::pow(std::cos(halfDiagonal), 3)) << n;
        shortfall[n] = 1.0 - ratio;
        // The ray integral of the intersections agrees to well within 0.1 %.
        EXPECT_NEAR(solid.RayVolume() / solid.Volume(), 1.0, 0.001) << n;
    }
    EXPECT_NEAR(shortfall[16] / shortfall[32], 4.0, 0.5);
    EXPECT_NEAR(shortfall[32], 0.0088, 0.0005);
}

TEST(GamutSolid, CoverageOfItselfAndOfLargerShapesIsWhole)
{
    const GamutSolid small(SphereShape(32, 30.0));
    const GamutSolid large(SphereShape(32, 40.0));
    const GamutSolid shifted(SphereShape(24, 45.0, 8.0, -5.0)); // holds the small one too
    EXPECT_EQ(CoveragePercent(small, small), 100.0);
    EXPECT_EQ(CoveragePercent(large, large), 100.0);
    EXPECT_EQ(CoveragePercent(small, large), 100.0);
    EXPECT_EQ(CoveragePercent(small, shifted), 100.0);
    // Same net in two sizes: the share is the cube of the radii.
    EXPECT_NEAR(CoveragePercent(large, small), 100.0 * 27.0 / 64.0, 0.01);
}

TEST(GamutSolid, IntersectionIsSymmetricAndMatchesTheLens)
{
    // Two spheres of radius 30 whose centres are 20 apart along a*.
    const GamutSolid left(SphereShape(32, 30.0, -10.0));
    const GamutSolid right(SphereShape(32, 30.0, 10.0));
    const double shared = IntersectionVolume(left, right);
    EXPECT_EQ(shared, IntersectionVolume(right, left));
    const double r = 30.0, d = 20.0;
    const double lens = std::numbers::pi * (4 * r + d) * (2 * r - d) * (2 * r - d) / 12.0;
    EXPECT_NEAR(CoveragePercent(left, right), 100.0 * lens / SphereVolume(r), 1.0);
    EXPECT_NEAR(CoveragePercent(right, left), CoveragePercent(left, right), 0.01);
}

TEST(GamutSolid, FiguresDoNotDependOnThreads)
{
    const GamutShape shapes[] = {SphereShape(32, 30.0, -10.0), SphereShape(24, 42.0, 5.0, 3.0),
                                 SphereShape(16, 25.0), SphereShape(32, 35.0, 0.0, -7.0)};
    const GamutShape* list[] = {&shapes[0], &shapes[1], &shapes[2], &shapes[3]};
    const std::vector<GamutSolid> one = MakeSolids(list, 1);
    const std::vector<GamutSolid> many = MakeSolids(list, 4);
    const GamutFigures a = ComputeFigures(one, 1);
    const GamutFigures b = ComputeFigures(many, 3);
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.intersection, b.intersection);
    EXPECT_EQ(a.coverage, b.coverage);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(a.Coverage(i, i), 100.0);
        for (std::size_t j = 0; j < 4; ++j)
            EXPECT_EQ(a.Intersection(i, j), a.Intersection(j, i));
    }
}

TEST(GamutSolid, PointsJustInsideAndJustOutsideTheSphere)
{
    const double radius = 40.0;
    const GamutShape shape = SphereShape(32, radius);
    const GamutSolid solid(shape);
    // Net points and both poles sit exactly on the sphere: r -/+ 0.01 along their rays.
    // The poles' rays run through a corner shared by 32 triangles.
    std::vector<const float(*)[3]> corners = {&shape.topPole, &shape.bottomPole};
    for (int band : {0, 7, 15, 16, 31})
        for (int sector : {0, 5, 31})
            corners.push_back(&shape.points[band][sector]);
    for (const auto* corner : corners) {
        const LabValue in = Along(*corner, (radius - 0.01) / radius);
        const LabValue out = Along(*corner, (radius + 0.01) / radius);
        EXPECT_EQ(solid.Test(in).verdict, Verdict::Inside) << in.L << " " << in.a << " " << in.b;
        const InsideResult outside = solid.Test(out);
        EXPECT_EQ(outside.verdict, Verdict::Outside) << out.L << " " << out.a << " " << out.b;
        // A corner of a net inscribed in a sphere is the nearest point to anything beyond it.
        EXPECT_NEAR(outside.distance, 0.01, 1e-5);
        // On the net itself (a black point on its pole): inside, as for any colour the
        // gamut reaches, never "outside by 0.00".
        const LabValue on = Along(*corner, 1.0);
        EXPECT_EQ(solid.Test(on).verdict, Verdict::Inside) << on.L << " " << on.a << " " << on.b;
        EXPECT_EQ(solid.Classify(on), Verdict::Inside);
    }
    EXPECT_EQ(solid.Classify({50, 0, 0}), Verdict::Inside);
    EXPECT_EQ(solid.Classify({50 + radius + 0.01, 0, 0}), Verdict::Outside);
    EXPECT_EQ(solid.Classify({50 - radius - 0.01, 0, 0}), Verdict::Outside);
}

TEST(GamutSolid, NearestPointBesideAFaceAndBesideACorner)
{
    const GamutShape shape = SphereShape(32, 40.0);
    const GamutSolid solid(shape);
    ShapeNet net;
    ASSERT_TRUE(MakeShapeNet(shape, net));
    // Faces of the middle bands and a pole fan: 1.5 out along the face's normal is 1.5 away.
    for (std::size_t index : {std::size_t(31), std::size_t(700), std::size_t(1500), std::size_t(64)}) {
        const auto& t = net.triangles[index];
        double centroid[3] = {}, e1[3], e2[3];
        for (int k = 0; k < 3; ++k) {
            centroid[k] = (net.vertices[t[0]][k] + net.vertices[t[1]][k] + net.vertices[t[2]][k]) / 3.0;
            e1[k] = net.vertices[t[1]][k] - net.vertices[t[0]][k];
            e2[k] = net.vertices[t[2]][k] - net.vertices[t[0]][k];
        }
        double normal[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        const double length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
        // Outwards: away from the centre (50, 0, 0).
        const double outward = normal[0] * centroid[0] + normal[1] * (centroid[1] - 50.0) + normal[2] * centroid[2];
        const double sign = outward > 0 ? 1.0 : -1.0;
        const auto at = [&](double step) {
            return LabValue{centroid[1] + sign * step * normal[1] / length, centroid[0] + sign * step * normal[0] / length,
                            centroid[2] + sign * step * normal[2] / length};
        };
        const InsideResult beside = solid.Test(at(1.5));
        EXPECT_EQ(beside.verdict, Verdict::Outside) << index;
        EXPECT_NEAR(beside.distance, 1.5, 1e-6) << index;
        EXPECT_NEAR(solid.DistanceToNet(at(-0.5)), 0.5, 1e-6) << index;
        EXPECT_EQ(solid.Test(at(-0.5)).verdict, Verdict::Inside) << index;
        EXPECT_EQ(solid.Test(at(-0.5)).distance, 0.0) << index;
    }
    // Beyond the top pole, a corner where 32 triangles meet.
    const InsideResult above = solid.Test({50.0 + 40.0 + 3.0, 0.0, 0.0});
    EXPECT_EQ(above.verdict, Verdict::Outside);
    EXPECT_NEAR(above.distance, 3.0, 1e-5);
}

TEST(GamutSolid, NonFiniteColoursGetNoVerdict)
{
    const GamutSolid solid(SphereShape(16, 30.0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const LabValue colours[] = {{nan, 0, 0}, {50, inf, 0}, {50, 0, -inf}, {50, 0, 0}, {50, 100, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(solid.Test(colours[i]).verdict, Verdict::NoVerdict) << i;
        EXPECT_EQ(solid.DistanceToNet(colours[i]), -1.0) << i;
    }
    const NamedCount count = solid.CountInside(colours);
    EXPECT_EQ(count.total, 5u);
    EXPECT_EQ(count.inside, 1u);
    EXPECT_EQ(count.noVerdict, 3u);
    EXPECT_EQ(solid.CountInside({}).total, 0u);
    // An empty solid answers without verdicts and takes no volume.
    const GamutSolid empty;
    EXPECT_EQ(empty.Test({50, 0, 0}).verdict, Verdict::NoVerdict);
    EXPECT_EQ(CoveragePercent(empty, solid), 0.0);
    EXPECT_EQ(IntersectionVolume(solid, empty), 0.0);
}

} // namespace
