#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "gamut/GamutBuilder.h"
#include "gamut/GamutGrid.h"
#include "gamut/Sampling.h"
#include "profiles/ProfileRecord.h"

using namespace quillon;

namespace {

struct LevelCase {
    int percent;
    int expected;
};

struct SpaceCase {
    const char* name;
    std::uint32_t space;
    bool supported;
    std::int16_t gridSize;
    int outermost;
    std::uint64_t samples;
    int channels;
};

} // namespace

TEST(Sampling, SixteenBitLevelsTruncate)
{
    const LevelCase cases[] = {{0, 0}, {1, 655}, {2, 1310}, {50, 32767}, {99, 64879}, {100, 65535}};
    for (const auto& c : cases)
        EXPECT_EQ(LevelToWord(c.percent), c.expected) << c.percent;
}

TEST(Sampling, EightBitLevelsTruncate)
{
    const LevelCase cases[] = {{0, 0}, {2, 5}, {4, 10}, {50, 127}, {75, 191}, {100, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(LevelToByte(c.percent), c.expected) << c.percent;
}

TEST(Sampling, PlansOfTheThreeDeviceSpaces)
{
    const SpaceCase cases[] = {
        {"RGB", sig::Rgb, true, 32, 101, 1030301, 3},
        {"CMYK", sig::Cmyk, true, 24, 37, 1874161, 4},
        {"six colours", sig::SixColour, true, 16, 20, 36000000, 6},
        {"grey", sig::Gray, false, 16, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SamplingPlan plan;
        EXPECT_EQ(PlanFor(c.space, plan), c.supported) << c.name;
        EXPECT_EQ(GridSizeFor(c.space), c.gridSize) << c.name;
        EXPECT_EQ(OutermostLevels(c.space), c.outermost) << c.name;
        if (!c.supported)
            continue;
        EXPECT_EQ(plan.total, c.samples) << c.name;
        EXPECT_EQ(plan.channels, c.channels) << c.name;
        EXPECT_EQ(plan.perOutermostLevel * static_cast<std::uint64_t>(c.outermost), c.samples);
        for (int ch = 0; ch < plan.channels; ++ch) {
            EXPECT_EQ(plan.value[ch][0], 0) << c.name;
            EXPECT_EQ(plan.value[ch][plan.levelCount[ch] - 1], plan.eightBit ? 255 : 65535) << c.name;
        }
    }
    SamplingPlan six;
    ASSERT_TRUE(PlanFor(sig::SixColour, six));
    EXPECT_EQ(six.levelCount[3], 20);
    EXPECT_EQ(six.levelCount[4], 15);
    EXPECT_EQ(six.value[4][6], LevelToByte(15));
}

TEST(Sampling, DecodesTheCallersLabWords)
{
    const Lab white = DecodeLab(0xFF00, 0x8080, 0x8080);
    EXPECT_NEAR(white.L, 100.0f, 1e-4f);
    EXPECT_LE(std::fabs(white.a), 1e-7f);
    EXPECT_LE(std::fabs(white.b), 1e-7f);
    EXPECT_EQ(white.a, -std::ldexp(1.0f, -25));
    const Lab edges = DecodeLab(0, 0xFFFF, 0);
    EXPECT_EQ(edges.L, 0.0f);
    EXPECT_FLOAT_EQ(edges.a, 127.0f);
    EXPECT_FLOAT_EQ(edges.b, -128.0f);
}

TEST(Sampling, DecodedNeutralsFallIntoTheEndBands)
{
    struct Case {
        std::uint16_t Lw;
        int band;
        float elevation;
    } cases[] = {{0xFF00, 31, 90.0f}, {0, 0, 270.0f}};
    for (const auto& c : cases) {
        const Lab lab = DecodeLab(c.Lw, 0x8080, 0x8080);
        const Spherical s = LabToSpherical(lab.L, lab.a, lab.b);
        EXPECT_NEAR(s.radius, 50.0f, 1e-3f);
        EXPECT_NEAR(s.elevation, c.elevation, 1e-3f);
        GamutGrid grid{};
        grid.Reset(32, sig::Rgb);
        EXPECT_EQ(grid.BandOf(s.elevation), c.band);
        grid.AddSample(lab.L, lab.a, lab.b);
        int filledInBand = 0;
        for (int sector = 0; sector < 32; ++sector)
            filledInBand += grid.cells[c.band][sector].radius > 0.0f ? 1 : 0;
        EXPECT_EQ(filledInBand, 1) << c.Lw;
    }
}
