#include <limits>

#include <gtest/gtest.h>

#include "view3d/DisplayColour.h"
#include "view3d/MatrixWorkspace.h"

using namespace quillon;

namespace {

struct ColourCase {
    float lightness, a, b;
    double red, green, blue;
    double tolerance;
};

} // namespace

TEST(LabToDisplayColour, KnownColours)
{
    const ColourCase cases[] = {
        {50, 0, 0, 0.379, 0.348, 0.347, 0.001},        // neutral grey
        {100, 0, 0, 1.0, 1.0, 0.995, 0.001},           // white: blue row sums to 0.994
        {0, 0, 0, 0.2, 0.2, 0.2, 1e-6},                // black is lifted to 0.2
        {5, 0, 0, 0.20539, 0.20445, 0.20440, 1e-4},    // linear branch below L* 8
        {50, 200, 0, 1.0, 0.2, 0.2, 0.001},            // red beyond the display: clamped both ways
        {50, 0, -200, 0.39807, 0.29646, 1.0, 0.001},   // far blue: B clamps at 1
    };
    for (const auto& c : cases) {
        const DisplayColour colour = LabToDisplayColour(c.lightness, c.a, c.b);
        SCOPED_TRACE(testing::Message() << "Lab " << c.lightness << " " << c.a << " " << c.b);
        EXPECT_NEAR(colour.red, c.red, c.tolerance);
        EXPECT_NEAR(colour.green, c.green, c.tolerance);
        EXPECT_NEAR(colour.blue, c.blue, c.tolerance);
    }
}

TEST(LabToDisplayColour, EveryChannelStaysWithinPointTwoAndOne)
{
    for (float l = -20; l <= 120; l += 10)
        for (float a = -300; a <= 300; a += 50)
            for (float b = -300; b <= 300; b += 50) {
                const DisplayColour c = LabToDisplayColour(l, a, b);
                for (double channel : {c.red, c.green, c.blue}) {
                    EXPECT_GE(channel, 0.2);
                    EXPECT_LE(channel, 1.0);
                }
            }
    const DisplayColour nan = LabToDisplayColour(50, std::numeric_limits<float>::quiet_NaN(), 0);
    EXPECT_GE(nan.red, 0.2);
    EXPECT_LE(nan.red, 1.0);
}

TEST(LabToDisplayColour, WorkspaceThatCannotBeSetUpGivesWhiteAndIsReleased)
{
    // Matrices already in the pool leave room for fewer than the three the call needs.
    struct Case {
        int prefilled;
        bool white;
    };
    const Case cases[] = {{199, true}, {198, true}, {200, true}, {197, false}, {0, false}};
    for (const auto& c : cases) {
        MatrixWorkspace workspace;
        for (int i = 0; i < c.prefilled; ++i) {
            Matrix* m = nullptr;
            ASSERT_EQ(workspace.CreateMatrix(1, 1, nullptr, &m), MatrixResult::Ok);
        }
        const DisplayColour colour = LabToDisplayColour(50, 0, 0, workspace);
        SCOPED_TRACE(c.prefilled);
        if (c.white) {
            EXPECT_EQ(colour.red, 1.0);
            EXPECT_EQ(colour.green, 1.0);
            EXPECT_EQ(colour.blue, 1.0);
        } else {
            EXPECT_NEAR(colour.red, 0.379, 0.001);
        }
        EXPECT_EQ(workspace.Count(), 0);
    }
}
