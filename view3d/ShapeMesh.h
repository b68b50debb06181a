#pragma once
#include <cstdint>
#include <vector>

#include "view3d/ViewSlot.h"

namespace quillon {

struct MeshColour {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
};

struct MeshVertex {
    float x = 0.0f; // scene coordinates (LabToScene)
    float y = 0.0f;
    float z = 0.0f;
    MeshColour colour;
};

enum class MeshPrimitive { TriangleStrip, LineLoop };

// One glBegin/glEnd run. A single-coloured run sets its colour once before the vertices.
struct MeshRun {
    MeshPrimitive kind = MeshPrimitive::TriangleStrip;
    bool perVertexColour = false;
    MeshColour colour; // used when !perVertexColour
    std::vector<MeshVertex> vertices;
};

// What a shape's display list holds, built without OpenGL so that it can be tested and
// compiled again into a new context.
struct ShapeMesh {
    std::vector<MeshRun> runs; // n strips, then the footprint loop
    float sortKey = 0.0f;      // 0 raised to the largest b* of the strip points
};

constexpr int kRowCount = 4;
// Row swatch colours: red, blue, green, magenta.
constexpr MeshColour kRowColours[kRowCount] = {
    {0.8f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.8f, 1.0f}, {0.0f, 0.8f, 0.0f, 1.0f}, {0.8f, 0.0f, 0.8f, 1.0f}};

// A footprint sector needs at least this much chroma to count.
constexpr float kFootprintMinChroma = 0.0001f;
constexpr float kFootprintY = -0.6f; // the L* 0 level of the half-axes

// Strips from the top pole through bands n-1 .. 0 to the bottom pole for every sector,
// counter-clockwise from outside; then the highest-chroma outline laid on the floor.
// False, with out untouched, for a row outside 0..3 or a grid size outside 0..32.
bool BuildShapeMesh(const ViewSlot& slot, int row, ShapeMesh& out);

} // namespace quillon
