#include "view3d/ShapeMesh.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "view3d/DisplayColour.h"
#include "view3d/SceneGeometry.h"

namespace quillon {
namespace {

// Shape points are (a*, L*, b*).
MeshVertex MakeVertex(const float (&point)[3], bool natural, const MeshColour& solid, float alpha)
{
    const ScenePoint p = LabToScene(point[1], point[0], point[2]);
    MeshVertex v{p.x, p.y, p.z, solid};
    if (natural) {
        const DisplayColour c = LabToDisplayColour(point[1], point[0], point[2]);
        v.colour = {float(c.red), float(c.green), float(c.blue), alpha};
    }
    return v;
}

struct SectorPeak {
    float chroma = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
};

} // namespace

bool BuildShapeMesh(const ViewSlot& slot, int row, ShapeMesh& out)
{
    const GamutShape& shape = slot.shape;
    const int n = shape.gridSize;
    if (row < 0 || row >= kShapeCount || n < 0 || n > kMaxGridSize)
        return false;

    // Opacity is a percentage; anything outside 0..100 would only be clamped by OpenGL.
    const float alpha = float(std::clamp(double(slot.opacity) * 0.01, 0.0, 1.0));
    MeshColour solid = kRowColours[row];
    solid.alpha = alpha;
    const bool natural = slot.naturalColours;

    ShapeMesh mesh;
    mesh.runs.reserve(std::size_t(n) + 1);
    std::array<SectorPeak, kMaxGridSize> peaks{};

    for (int c = 0; c < n; ++c) {
        const int next = c + 1 == n ? 0 : c + 1; // the last strip closes the ring
        MeshRun strip;
        strip.kind = MeshPrimitive::TriangleStrip;
        strip.perVertexColour = natural;
        strip.colour = solid;
        strip.vertices.reserve(2 * std::size_t(n) + 2);
        strip.vertices.push_back(MakeVertex(shape.topPole, natural, solid, alpha));
        for (int r = n - 1; r >= 0; --r) {
            const float(&point)[3] = shape.points[r][c];
            strip.vertices.push_back(MakeVertex(point, natural, solid, alpha));
            strip.vertices.push_back(MakeVertex(shape.points[r][next], natural, solid, alpha));

            mesh.sortKey = std::max(mesh.sortKey, point[2]);
            // Strictly larger only, so among equal chromas the higher band stays.
            const float chroma = std::sqrt(point[0] * point[0] + point[2] * point[2]);
            if (chroma > peaks[c].chroma)
                peaks[c] = {chroma, point[0], point[2]};
        }
        strip.vertices.push_back(MakeVertex(shape.bottomPole, natural, solid, alpha));
        mesh.runs.push_back(std::move(strip));
    }

    MeshRun footprint;
    footprint.kind = MeshPrimitive::LineLoop;
    footprint.colour = kRowColours[row]; // opaque whatever the colour mode
    for (int c = 0; c < n; ++c) {
        if (peaks[c].chroma > kFootprintMinChroma)
            footprint.vertices.push_back(
                {kLabToSceneScale * peaks[c].a, kFootprintY, -kLabToSceneScale * peaks[c].b, footprint.colour});
    }
    mesh.runs.push_back(std::move(footprint));

    out = std::move(mesh);
    return true;
}

} // namespace quillon
