#include <array>

#include <gtest/gtest.h>

#include "tests/view3d/SyntheticShapes.h"
#include "view3d/DisplayColour.h"
#include "view3d/SceneGeometry.h"
#include "view3d/ShapeMesh.h"

using namespace quillon;
using testing_shapes::Prism;

namespace {

void ExpectAt(const MeshVertex& v, const float (&lab)[3])
{
    const ScenePoint p = LabToScene(lab[1], lab[0], lab[2]);
    EXPECT_FLOAT_EQ(v.x, p.x);
    EXPECT_FLOAT_EQ(v.y, p.y);
    EXPECT_FLOAT_EQ(v.z, p.z);
}

std::array<float, 3> Cross(std::array<float, 3> u, std::array<float, 3> v)
{
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

} // namespace

TEST(LabToScene, PlacesLabInTheScene)
{
    const ScenePoint p = LabToScene(100, 50, 25);
    EXPECT_FLOAT_EQ(p.x, 0.6f);
    EXPECT_FLOAT_EQ(p.y, 0.6f);
    EXPECT_FLOAT_EQ(p.z, -0.3f);
    EXPECT_FLOAT_EQ(LabToScene(0, 0, 0).y, -0.6f);
}

TEST(ProjectionAspect, ZeroOrNegativeSizesGetASquareAspect)
{
    EXPECT_DOUBLE_EQ(ProjectionAspect(400, 300), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(ProjectionAspect(100, 0), 1.0);
    EXPECT_DOUBLE_EQ(ProjectionAspect(0, 100), 1.0);
    EXPECT_DOUBLE_EQ(ProjectionAspect(-5, -5), 1.0);
}

TEST(ShapeMesh, StripsRunFromTopPoleThroughEveryBandToBottomPole)
{
    auto slot = Prism(3, 40, 20, 80);
    ShapeMesh mesh;
    ASSERT_TRUE(BuildShapeMesh(*slot, 0, mesh));
    ASSERT_EQ(mesh.runs.size(), 4u); // three strips and the footprint
    const GamutShape& s = slot->shape;
    for (int c = 0; c < 3; ++c) {
        const MeshRun& strip = mesh.runs[std::size_t(c)];
        SCOPED_TRACE(c);
        EXPECT_EQ(strip.kind, MeshPrimitive::TriangleStrip);
        ASSERT_EQ(strip.vertices.size(), 8u); // 2n + 2
        const int next = (c + 1) % 3;
        ExpectAt(strip.vertices[0], s.topPole);
        ExpectAt(strip.vertices[1], s.points[2][c]);
        ExpectAt(strip.vertices[2], s.points[2][next]);
        ExpectAt(strip.vertices[3], s.points[1][c]);
        ExpectAt(strip.vertices[4], s.points[1][next]);
        ExpectAt(strip.vertices[5], s.points[0][c]); // band 0 pairs come last
        ExpectAt(strip.vertices[6], s.points[0][next]);
        ExpectAt(strip.vertices[7], s.bottomPole);
    }
    EXPECT_EQ(mesh.runs.back().kind, MeshPrimitive::LineLoop);
}

TEST(ShapeMesh, EveryTriangleFacesOutwards)
{
    // The view culls back faces with counter-clockwise fronts: an inward triangle
    // would hide the outer surface.
    auto slot = Prism(8, 40, 20, 80, 0.0f);
    ShapeMesh mesh;
    ASSERT_TRUE(BuildShapeMesh(*slot, 0, mesh));
    int checked = 0;
    for (const MeshRun& run : mesh.runs) {
        if (run.kind != MeshPrimitive::TriangleStrip)
            continue;
        for (std::size_t i = 0; i + 2 < run.vertices.size(); ++i) {
            // A strip flips the order of every second triangle.
            const MeshVertex& a = run.vertices[i % 2 ? i + 1 : i];
            const MeshVertex& b = run.vertices[i % 2 ? i : i + 1];
            const MeshVertex& c = run.vertices[i + 2];
            const auto n = Cross({b.x - a.x, b.y - a.y, b.z - a.z}, {c.x - a.x, c.y - a.y, c.z - a.z});
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (length < 1e-6f)
                continue; // degenerate at a pole
            const float cx = (a.x + b.x + c.x) / 3, cy = (a.y + b.y + c.y) / 3, cz = (a.z + b.z + c.z) / 3;
            EXPECT_GT(n[0] * cx + n[1] * cy + n[2] * cz, 0.0f) << "strip triangle " << i;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(ShapeMesh, ColourModes)
{
    struct Case {
        bool natural;
        std::int16_t opacity;
        int row;
        float alpha;
    };
    const Case cases[] = {{false, 50, 2, 0.5f}, {false, 0, 1, 0.0f}, {false, 100, 3, 1.0f},
                          {true, 75, 0, 0.75f}, {false, 250, 0, 1.0f}, {false, -3, 0, 0.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "natural " << c.natural << " opacity " << c.opacity);
        auto slot = Prism(4, 40, 20, 80);
        slot->naturalColours = c.natural;
        slot->opacity = c.opacity;
        ShapeMesh mesh;
        ASSERT_TRUE(BuildShapeMesh(*slot, c.row, mesh));
        const MeshColour& rowColour = kRowColours[c.row];
        for (std::size_t i = 0; i + 1 < mesh.runs.size(); ++i) {
            const MeshRun& strip = mesh.runs[i];
            EXPECT_EQ(strip.perVertexColour, c.natural);
            if (!c.natural) {
                EXPECT_FLOAT_EQ(strip.colour.red, rowColour.red);
                EXPECT_FLOAT_EQ(strip.colour.green, rowColour.green);
                EXPECT_FLOAT_EQ(strip.colour.blue, rowColour.blue);
                EXPECT_FLOAT_EQ(strip.colour.alpha, c.alpha);
                continue;
            }
            // Strip c's second vertex is band n - 1, sector c.
            const float* p = slot->shape.points[3][i];
            const DisplayColour want = LabToDisplayColour(p[1], p[0], p[2]);
            EXPECT_FLOAT_EQ(strip.vertices[1].colour.red, float(want.red));
            EXPECT_FLOAT_EQ(strip.vertices[1].colour.green, float(want.green));
            EXPECT_FLOAT_EQ(strip.vertices[1].colour.blue, float(want.blue));
            for (const MeshVertex& v : strip.vertices)
                EXPECT_FLOAT_EQ(v.colour.alpha, c.alpha);
        }
        const MeshRun& footprint = mesh.runs.back();
        EXPECT_FALSE(footprint.perVertexColour);
        EXPECT_FLOAT_EQ(footprint.colour.red, rowColour.red);
        EXPECT_FLOAT_EQ(footprint.colour.green, rowColour.green);
        EXPECT_FLOAT_EQ(footprint.colour.blue, rowColour.blue);
        EXPECT_FLOAT_EQ(footprint.colour.alpha, 1.0f); // opaque whatever the opacity
    }
}

TEST(ShapeMesh, FootprintTakesEachSectorsHighestChromaPoint)
{
    auto slot = Prism(4, 40, 20, 80, 0.0f);
    GamutShape& s = slot->shape;
    // Sector 0: band 0 has the most chroma.
    s.points[0][0][0] = 70;
    // Sector 1: bands 2 and 1 tie at chroma 50; the higher band is met first and stays.
    s.points[2][1][0] = 30, s.points[2][1][2] = 40;
    s.points[1][1][0] = 40, s.points[1][1][2] = 30;
    // Sector 2: every point on the L* axis: no footprint vertex.
    for (int r = 0; r < 4; ++r)
        s.points[r][2][0] = s.points[r][2][2] = 0;
    ShapeMesh mesh;
    ASSERT_TRUE(BuildShapeMesh(*slot, 1, mesh));
    const MeshRun& footprint = mesh.runs.back();
    ASSERT_EQ(footprint.vertices.size(), 3u);
    const float k = kLabToSceneScale;
    const float expected[3][2] = {{70, 0}, {30, 40}, {s.points[3][3][0], s.points[3][3][2]}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(footprint.vertices[std::size_t(i)].x, k * expected[i][0]);
        EXPECT_FLOAT_EQ(footprint.vertices[std::size_t(i)].y, -0.6f);
        EXPECT_FLOAT_EQ(footprint.vertices[std::size_t(i)].z, -k * expected[i][1]);
    }
}

TEST(ShapeMesh, SortKeyIsTheLargestBOfTheStripPointsAndNeverBelowZero)
{
    struct Case {
        float bOffset;
        float poleB;
        float key;
    };
    // Prism of chroma 40 from hue 90: its largest b* is 40 + offset; poles do not count.
    const Case cases[] = {{0, 0, 40}, {10, 500, 50}, {-100, 0, 0}};
    for (const auto& c : cases) {
        auto slot = Prism(4, 40, 20, 80, 90.0f, c.bOffset);
        slot->shape.topPole[2] = c.poleB;
        ShapeMesh mesh;
        ASSERT_TRUE(BuildShapeMesh(*slot, 0, mesh));
        EXPECT_FLOAT_EQ(mesh.sortKey, c.key) << c.bOffset;
    }
}

TEST(ShapeMesh, RefusesRowsAndGridSizesOutOfRange)
{
    struct Case {
        std::int16_t gridSize;
        int row;
        bool ok;
    };
    const Case cases[] = {{4, -1, false}, {4, 4, false}, {33, 0, false}, {-1, 0, false},
                          {0, 0, true},   {32, 3, true}, {1, 0, true}};
    for (const auto& c : cases) {
        auto slot = Prism(4, 40, 20, 80);
        slot->shape.gridSize = c.gridSize;
        ShapeMesh mesh;
        mesh.sortKey = -7; // shows whether out was touched
        EXPECT_EQ(BuildShapeMesh(*slot, c.row, mesh), c.ok) << c.gridSize << " row " << c.row;
        if (!c.ok) {
            EXPECT_EQ(mesh.sortKey, -7);
            EXPECT_TRUE(mesh.runs.empty());
        } else {
            EXPECT_EQ(mesh.runs.size(), std::size_t(c.gridSize) + 1);
        }
    }
}
