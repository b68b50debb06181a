#include "view3d/DisplayColour.h"

#include <algorithm>

#include "view3d/MatrixWorkspace.h"

namespace quillon {
namespace {

// White-relative XYZ -> display RGB; rows give R, G, B.
constexpr double kXyzToRgb[9] = {
    1.75526,   -0.544134, 0.00634681,
    -0.483679, 1.50688,   -0.0175762,
    -0.253,    0.0215528, 1.2257,
};

// The CIE constants as the viewer has always held them: the thresholds and 1/116,
// 1/903.2963 in single precision, except the cube-root branch of Yr in double.
constexpr float kLightnessKnee = 8.000001f;
constexpr double kInv116Double = 0.008620689655172414;
constexpr float kInv116 = 0.00862069f;
constexpr float kInvKappa = 0.0011070564f;
constexpr float kKappa = 903.2963f;
constexpr float kEpsilon = 0.008856452f;
constexpr double kMinChannel = 0.2;
constexpr double kChannelSpan = 0.8;

double FromF(float f)
{
    const double cube = double(f) * double(f) * double(f);
    if (cube > kEpsilon)
        return cube;
    return double((116.0f * f - 16.0f) * kInvKappa);
}

// Written so that a NaN channel (from a NaN point) lands on 0 rather than passing through.
double Lift(double channel)
{
    const double clamped = channel > 0.0 ? std::min(channel, 1.0) : 0.0;
    return kMinChannel + kChannelSpan * clamped;
}

} // namespace

DisplayColour LabToDisplayColour(float lightness, float a, float b)
{
    MatrixWorkspace workspace;
    return LabToDisplayColour(lightness, a, b, workspace);
}

DisplayColour LabToDisplayColour(float lightness, float a, float b, MatrixWorkspace& workspace)
{
    DisplayColour result; // white unless the workspace can be set up
    Matrix* conversion = nullptr;
    Matrix* xyz = nullptr;
    Matrix* rgb = nullptr;
    if (workspace.CreateMatrix(3, 3, kXyzToRgb, &conversion) != MatrixResult::Ok ||
        workspace.CreateMatrix(1, 3, nullptr, &xyz) != MatrixResult::Ok ||
        workspace.CreateMatrix(1, 3, nullptr, &rgb) != MatrixResult::Ok) {
        workspace.ReleaseAll();
        return result;
    }

    double yr = 0.0;
    if (lightness > kLightnessKnee) {
        const double t = double(lightness + 16.0f) * kInv116Double;
        yr = t * t * t;
    } else {
        yr = double(lightness * kInvKappa);
    }
    const float fy = yr > kEpsilon ? (lightness + 16.0f) * kInv116 : (kKappa * float(yr) + 16.0f) * kInv116;
    const float fx = float(double(fy) + double(a) * 0.002);
    const float fz = float(double(fy) - double(b) * 0.005);

    xyz->At(0, 0) = FromF(fx);
    xyz->At(1, 0) = yr;
    xyz->At(2, 0) = FromF(fz);
    // The shapes above always fit; only a failed scratch allocation can refuse it.
    if (MatrixWorkspace::Multiply(*conversion, *xyz, *rgb) != MatrixResult::Ok) {
        workspace.ReleaseAll();
        return result;
    }

    result.red = Lift(rgb->At(0, 0));
    result.green = Lift(rgb->At(1, 0));
    result.blue = Lift(rgb->At(2, 0));
    workspace.ReleaseAll();
    return result;
}

} // namespace quillon
