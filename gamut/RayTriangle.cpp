#include "gamut/RayTriangle.h"

#include <cmath>

namespace quillon {
namespace {

// The float nearest to -1e-6: lets a crossing sit on an edge despite rounding.
constexpr float kEdgeTolerance = -0.000001f;

float Sarrus(const float* m)
{
    return m[0] * m[4] * m[8] + m[7] * m[3] * m[2] + m[1] * m[5] * m[6] - m[7] * m[0] * m[5] -
           m[1] * m[3] * m[8] - m[6] * m[2] * m[4];
}

float Order4(const float* m)
{
    // Laplace expansion along the first row.
    float result = 0.0f;
    for (int col = 0; col < 4; ++col) {
        float minor[9];
        int k = 0;
        for (int row = 1; row < 4; ++row)
            for (int c = 0; c < 4; ++c)
                if (c != col)
                    minor[k++] = m[row * 4 + c];
        const float term = m[col] * Sarrus(minor);
        result += (col % 2 == 0) ? term : -term;
    }
    return result;
}

} // namespace

float Determinant(const float* m, int order)
{
    if (!m)
        return 0.0f;
    switch (order) {
    case 2: return m[0] * m[3] - m[1] * m[2];
    case 3: return Sarrus(m);
    case 4: return Order4(m);
    default: return 0.0f;
    }
}

bool IntersectRayTriangle(const Vec3& P, const Vec3& D, const Vec3& T, const Vec3& A,
                          const Vec3& B, float& u, float& v, float& t)
{
    u = v = t = 0.0f;
    const float e1[3] = {A.x - T.x, A.y - T.y, A.z - T.z};
    const float e2[3] = {B.x - T.x, B.y - T.y, B.z - T.z};
    const float nd[3] = {-D.x, -D.y, -D.z};
    const float r[3] = {P.x - T.x, P.y - T.y, P.z - T.z};

    // Columns e1, e2, -D; each replaced by r in turn.
    const float* columns[3] = {e1, e2, nd};
    float M[9];
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            M[row * 3 + col] = columns[col][row];
    const float d = Determinant(M, 3);
    // Two corners equal or all three in a line: no plane to cross.
    if (d == 0.0f || !std::isfinite(d))
        return false;
    const float inverse = 1.0f / d;
    if (!std::isfinite(inverse))
        return false;

    float result[3];
    for (int replaced = 0; replaced < 3; ++replaced) {
        float Mr[9];
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                Mr[row * 3 + col] = (col == replaced) ? r[row] : columns[col][row];
        result[replaced] = Determinant(Mr, 3) * inverse;
    }
    u = result[0];
    v = result[1];
    t = result[2];
    // Written as acceptance so a NaN parameter is rejected rather than slipping through.
    return u >= kEdgeTolerance && v >= kEdgeTolerance && u <= 1.0f && v <= 1.0f &&
           std::isfinite(t);
}

} // namespace quillon
