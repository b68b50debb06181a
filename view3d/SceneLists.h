#pragma once
#include <vector>

#include <qopengl.h>

#include "view3d/DisplayListRange.h"
#include "view3d/GlyphBitmaps.h"
#include "view3d/ShapeMesh.h"

// Compilation of the view's display lists. Every function needs the view's context
// current and compiles with GL_COMPILE, replacing what the list held.
namespace quillon {

// Three rhombi of half-diagonal 0.024, one per coordinate plane, red/green/blue/white.
void CompileProbeMarker(GLuint list);

// Eight half-axes from +-130 a*/b* towards the L* axis at L* 0 (darker) and 100 (paler).
void CompileHalfAxes(GLuint list);

// One list per glyph, consecutive, from glGenLists. Empty when the lists cannot be had.
DisplayListRange CompileGlyphs(const std::vector<GlyphBitmap>& glyphs);

void CompileShapeMesh(GLuint list, const ShapeMesh& mesh);

} // namespace quillon
