#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "view3d/ShapeMesh.h"

namespace quillon {

struct GlbShape {
    std::string name;              // node and mesh name (UTF-8; other bytes become U+FFFD)
    const ShapeMesh* mesh = nullptr;
};

// The shapes as one glTF 2.0 binary file (.glb): per shape a node with one mesh whose
// triangles are those of the strips the display list draws (same winding, degenerate ones
// left out) and whose footprint is a line loop. Positions are the viewport's scene
// coordinates (y up, as glTF expects); COLOR_0 holds the colour every vertex is drawn in,
// opacity as alpha. Unlit materials, blended when a shape is translucent. The Lab-to-scene
// scale is recorded in asset.extras.
// False, out untouched, when there is nothing to write or a coordinate is not finite.
bool WriteShapesGlb(const std::vector<GlbShape>& shapes, std::vector<std::uint8_t>& out);

} // namespace quillon
