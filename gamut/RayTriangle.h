#pragma once

namespace quillon {

// Determinant of a row-major square matrix of order 2, 3 or 4; 0 for any other order.
// Order 3 uses the rule of Sarrus, term by term as the pole search expects.
float Determinant(const float* m, int order);

struct Vec3 {
    float x, y, z; // a*, L*, b* when used for gamut points
};

// Solves T + u (A - T) + v (B - T) = P + t D by Cramer's rule. Accepted when u and v lie
// in [-0.000001, 1]; u + v and t are not tested, so the whole parallelogram counts.
// A zero (or non-finite) determinant, or any non-finite parameter, is not a crossing.
bool IntersectRayTriangle(const Vec3& P, const Vec3& D, const Vec3& T, const Vec3& A,
                          const Vec3& B, float& u, float& v, float& t);

} // namespace quillon
