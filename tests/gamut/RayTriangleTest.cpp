#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "gamut/RayTriangle.h"

using namespace quillon;

namespace {

struct DeterminantCase {
    const char* name;
    int order;
    float m[16];
    float expected;
};

struct CrossingCase {
    const char* name;
    Vec3 T, A, B;
    bool accepted;
    float u, v, t; // checked when accepted
};

const Vec3 kOrigin{0.0f, 0.0f, 0.0f};
const Vec3 kAxis{0.0f, 100.0f, 0.0f};

} // namespace

TEST(Determinant, OrdersTwoToFourAndZeroOtherwise)
{
    const DeterminantCase cases[] = {
        {"order 2", 2, {1, 2, 3, 4}, -2.0f},
        {"order 3", 3, {1, 2, 3, 0, 1, 4, 5, 6, 0}, 1.0f},
        {"order 3 singular", 3, {1, 2, 3, 2, 4, 6, 7, 8, 9}, 0.0f},
        {"order 4", 4, {1, 0, 2, -1, 3, 0, 0, 5, 2, 1, 4, -3, 1, 0, 5, 0}, 30.0f},
        {"order 1", 1, {7}, 0.0f},
        {"order 5", 5, {1, 2, 3}, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(Determinant(c.m, c.order), c.expected) << c.name;
    EXPECT_EQ(Determinant(nullptr, 3), 0.0f);
}

TEST(Determinant, OrderThreeIsSarrusTermByTerm)
{
    // Values chosen so a differently grouped sum rounds differently in float.
    const float m[9] = {1e7f, 3.0f, 0.1f, 0.7f, 1e-3f, 5.0f, 2.0f, 1e6f, 0.3f};
    const float sarrus = m[0] * m[4] * m[8] + m[7] * m[3] * m[2] + m[1] * m[5] * m[6] -
                         m[7] * m[0] * m[5] - m[1] * m[3] * m[8] - m[6] * m[2] * m[4];
    EXPECT_EQ(Determinant(m, 3), sarrus);
}

TEST(IntersectRayTriangle, AcceptsTheParallelogramAndRejectsOutside)
{
    const CrossingCase cases[] = {
        // A - T = (10, 0, 0), B - T = (0, 0, 10): the axis is met at u = v = 0.7, beyond
        // the triangle but inside the parallelogram, which counts as crossed.
        {"u = v = 0.7", {-7, 50, -7}, {3, 50, -7}, {-7, 50, 3}, true, 0.7f, 0.7f, 0.5f},
        {"inside the triangle", {-2, 80, -2}, {8, 80, -2}, {-2, 80, 8}, true, 0.2f, 0.2f, 0.8f},
        {"u = -0.0001", {0.001f, 50, -5}, {10.001f, 50, -5}, {0.001f, 50, 5}, false, 0, 0, 0},
        {"v > 1", {-5, 50, -20}, {5, 50, -20}, {-5, 50, -10}, false, 0, 0, 0},
        {"two corners equal", {1, 50, 1}, {1, 50, 1}, {-5, 50, 3}, false, 0, 0, 0},
        {"corners in a line", {1, 50, 1}, {2, 50, 2}, {3, 50, 3}, false, 0, 0, 0},
        {"plane holds the axis", {0, 10, 5}, {0, 90, 5}, {0, 50, -5}, false, 0, 0, 0},
        {"not a number", {std::numeric_limits<float>::quiet_NaN(), 50, -7}, {3, 50, -7},
         {-7, 50, 3}, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        float u = -1, v = -1, t = -1;
        const bool accepted = IntersectRayTriangle(kOrigin, kAxis, c.T, c.A, c.B, u, v, t);
        EXPECT_EQ(accepted, c.accepted) << c.name << " u " << u << " v " << v;
        if (accepted && c.accepted) {
            EXPECT_NEAR(u, c.u, 1e-5f) << c.name;
            EXPECT_NEAR(v, c.v, 1e-5f) << c.name;
            EXPECT_NEAR(t, c.t, 1e-5f) << c.name;
        }
    }
}
