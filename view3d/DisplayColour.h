#pragma once

namespace quillon {

class MatrixWorkspace;

// The colour in which the viewport shows a Lab colour: each channel in 0.2..1.0.
struct DisplayColour {
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;
};

// Lab -> white-relative XYZ -> linear display RGB, no gamma, lifted so that no vertex
// is darker than 0.2. A workspace that cannot be set up gives white.
DisplayColour LabToDisplayColour(float lightness, float a, float b);

// The same in a workspace the caller provides; the workspace is released at the end.
DisplayColour LabToDisplayColour(float lightness, float a, float b, MatrixWorkspace& workspace);

} // namespace quillon
