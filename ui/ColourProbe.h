#pragma once
#include <cstdint>

#include <QString>

#include "ui/ColourProbeState.h"

namespace quillon {

struct ProbeLab {
    float L = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
};

struct ProbeLch {
    double L = 0.0;
    double C = 0.0;
    double h = 0.0; // degrees, in (0, 360]
};

// Reads a value the way strtod does in the "C" locale, whatever the user's locale:
// leading blanks skipped, "." is the only decimal separator, reading stops at the first
// character that does not fit, no number gives 0. Never fails.
double ParseProbeNumber(const QString& text);

// A double narrowed to float without leaving the float range undefined: out-of-range
// finite values become the infinity of their sign.
float NarrowToFloat(double value);

// Display form of a probe value: "%.2f".
QString FormatProbeValue(double value);

// Hue of 0 and every neutral colour show as 360.
ProbeLch LabToLch(float L, float a, float b);

// h in degrees as entered (not reduced). a* is kept as a float before b* is derived from it.
ProbeLab LchToLab(double L, double C, double h);

} // namespace quillon
