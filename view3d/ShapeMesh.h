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

// The hue of each row, the one source for the viewport's solid colours and the list's
// swatches: red, blue, green, magenta, each channel fully on or off.
struct RowHue {
    bool red, green, blue;
};
constexpr RowHue kRowHues[kShapeCount] = {
    {true, false, false}, {false, false, true}, {false, true, false}, {true, false, true}};

// A row's solid colour in the viewport: its hue at 0.8, opaque.
constexpr MeshColour RowColour(int row)
{
    constexpr float kLevel = 0.8f;
    const RowHue& hue = kRowHues[row];
    return {hue.red ? kLevel : 0.0f, hue.green ? kLevel : 0.0f, hue.blue ? kLevel : 0.0f, 1.0f};
}
constexpr MeshColour kRowColours[kShapeCount] = {RowColour(0), RowColour(1), RowColour(2), RowColour(3)};

// A footprint sector needs at least this much chroma to count.
constexpr float kFootprintMinChroma = 0.0001f;
constexpr float kFootprintY = -0.6f; // the L* 0 level of the half-axes

// Strips from the top pole through bands n-1 .. 0 to the bottom pole for every sector,
// counter-clockwise from outside; then the highest-chroma outline laid on the floor.
// False, with out untouched, for a row outside 0..3 or a grid size outside 0..32.
bool BuildShapeMesh(const ViewSlot& slot, int row, ShapeMesh& out);

} // namespace quillon
