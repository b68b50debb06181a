// The figures are computed on the very triangles the viewport draws.
#include <gtest/gtest.h>

#include "gamut/GamutSolid.h"
#include "tests/gamut/SyntheticShapes.h"
#include "view3d/SceneGeometry.h"
#include "view3d/ShapeMesh.h"

using namespace quillon;

TEST(ShapeNet, TrianglesAreTheViewportStrips)
{
    for (int n : {16, 24, 32}) {
        ViewSlot slot{};
        slot.shape = quillon::synthetic::SphereShape(n, 35.0, 6.0, -4.0);
        slot.opacity = 100;
        slot.naturalColours = false;
        ShapeMesh mesh;
        ASSERT_TRUE(BuildShapeMesh(slot, 0, mesh));
        ShapeNet net;
        ASSERT_TRUE(MakeShapeNet(slot.shape, net));
        std::size_t triangle = 0;
        for (const MeshRun& run : mesh.runs) {
            if (run.kind != MeshPrimitive::TriangleStrip)
                continue;
            // GL draws strip triangle i as (i, i+1, i+2), odd ones as (i+1, i, i+2).
            for (std::size_t i = 0; i + 2 < run.vertices.size(); ++i, ++triangle) {
                ASSERT_LT(triangle, net.triangles.size());
                const std::size_t order[3] = {i % 2 ? i + 1 : i, i % 2 ? i : i + 1, i + 2};
                for (int k = 0; k < 3; ++k) {
                    const auto& v = net.vertices[net.triangles[triangle][k]];
                    const ScenePoint p = LabToScene(float(v[1]), float(v[0]), float(v[2]));
                    const MeshVertex& drawn = run.vertices[order[k]];
                    EXPECT_EQ(drawn.x, p.x);
                    EXPECT_EQ(drawn.y, p.y);
                    EXPECT_EQ(drawn.z, p.z);
                }
            }
        }
        EXPECT_EQ(triangle, net.triangles.size()) << n;
    }
}
