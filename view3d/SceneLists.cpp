#include "view3d/SceneLists.h"

namespace quillon {
namespace {

constexpr float kMarkerHalf = 0.024f;
constexpr float kAxisEnd = 1.56f; // a* or b* = +-130
constexpr float kAxisLow = -0.6f;  // L* 0
constexpr float kAxisHigh = 0.6f;  // L* 100

struct Vertex3 {
    float x, y, z;
};

struct Segment {
    Vertex3 from;
    Vertex3 to;
    float r, g, b;
};

constexpr float kMarkerColours[4][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};

constexpr Vertex3 kMarkerStrips[3][4] = {
    {{0, kMarkerHalf, 0}, {-kMarkerHalf, 0, 0}, {kMarkerHalf, 0, 0}, {0, -kMarkerHalf, 0}}, // z = 0
    {{0, kMarkerHalf, 0}, {0, 0, -kMarkerHalf}, {0, 0, kMarkerHalf}, {0, -kMarkerHalf, 0}}, // x = 0
    {{0, 0, -kMarkerHalf}, {kMarkerHalf, 0, 0}, {-kMarkerHalf, 0, 0}, {0, 0, kMarkerHalf}}, // y = 0
};

constexpr Segment kHalfAxes[8] = {
    {{-kAxisEnd, kAxisLow, 0}, {0, kAxisLow, 0}, 0.0f, 0.7f, 0.0f}, // a- at L* 0
    {{kAxisEnd, kAxisLow, 0}, {0, kAxisLow, 0}, 0.7f, 0.0f, 0.0f},  // a+
    {{0, kAxisLow, -kAxisEnd}, {0, kAxisLow, 0}, 0.7f, 0.7f, 0.0f}, // b+
    {{0, kAxisLow, kAxisEnd}, {0, kAxisLow, 0}, 0.0f, 0.0f, 0.7f},  // b-
    {{-kAxisEnd, kAxisHigh, 0}, {0, kAxisHigh, 0}, 0.5f, 1.0f, 0.5f}, // a- at L* 100
    {{kAxisEnd, kAxisHigh, 0}, {0, kAxisHigh, 0}, 1.0f, 0.5f, 0.5f},  // a+
    {{0, kAxisHigh, -kAxisEnd}, {0, kAxisHigh, 0}, 1.0f, 1.0f, 0.5f}, // b+
    {{0, kAxisHigh, kAxisEnd}, {0, kAxisHigh, 0}, 0.5f, 0.5f, 1.0f},  // b-
};

void SetColour(const MeshColour& c) { glColor4f(c.red, c.green, c.blue, c.alpha); }

} // namespace

void CompileProbeMarker(GLuint list)
{
    glNewList(list, GL_COMPILE);
    for (const auto& strip : kMarkerStrips) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i < 4; ++i) {
            glColor4fv(kMarkerColours[i]);
            glVertex3f(strip[i].x, strip[i].y, strip[i].z);
        }
        glEnd();
    }
    glEndList();
}

void CompileHalfAxes(GLuint list)
{
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINES);
    for (const Segment& s : kHalfAxes) {
        glColor4f(s.r, s.g, s.b, 1.0f);
        glVertex3f(s.from.x, s.from.y, s.from.z);
        glVertex3f(s.to.x, s.to.y, s.to.z);
    }
    glEnd();
    glEndList();
}

DisplayListRange CompileGlyphs(const std::vector<GlyphBitmap>& glyphs)
{
    if (glyphs.empty())
        return {};
    const GLuint base = glGenLists(GLsizei(glyphs.size()));
    if (base == 0)
        return {};
    DisplayListRange lists(base, GLsizei(glyphs.size()));
    // glBitmap copies the pixels when the list is compiled, under the unpack state of
    // that moment: rows are byte-packed.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphBitmap& g = glyphs[i];
        glNewList(base + GLuint(i), GL_COMPILE);
        glBitmap(g.width, g.height, g.xOrigin, g.yOrigin, g.advance, 0.0f, g.bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return lists;
}

void CompileShapeMesh(GLuint list, const ShapeMesh& mesh)
{
    glNewList(list, GL_COMPILE);
    for (const MeshRun& run : mesh.runs) {
        glBegin(run.kind == MeshPrimitive::TriangleStrip ? GL_TRIANGLE_STRIP : GL_LINE_LOOP);
        if (!run.perVertexColour)
            SetColour(run.colour);
        for (const MeshVertex& v : run.vertices) {
            if (run.perVertexColour)
                SetColour(v.colour);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    glEndList();
}

} // namespace quillon
