#include <cmath>
#include <limits>

#include <QLocale>
#include <gtest/gtest.h>

#include "profiles/NamedColourLab.h"
#include "ui/ColourProbe.h"

namespace quillon {
namespace {

TEST(ParseProbeNumber, ReadsLikeStrtodInTheCLocale)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"50", 50.0},       {"  12.5xyz", 12.5}, {"12,5", 12.0},  {"-30", -30.0},
        {"", 0.0},          {"abc", 0.0},        {"+7.25", 7.25}, {".5", 0.5},
        {"1e2", 100.0},     {"\t-0.125 ", -0.125}, {"0x10", 16.0}, {"é3", 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ParseProbeNumber(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(ParseProbeNumber, IgnoresTheUserLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"); // may be missing; the reading must not care
    EXPECT_DOUBLE_EQ(ParseProbeNumber(QStringLiteral("12,5")), 12.0);
    EXPECT_DOUBLE_EQ(ParseProbeNumber(QStringLiteral("12.5")), 12.5);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved);
}

TEST(ParseProbeNumber, AnyTextGivesANumber)
{
    EXPECT_TRUE(std::isnan(ParseProbeNumber(QStringLiteral("nan"))));
    EXPECT_EQ(ParseProbeNumber(QStringLiteral("inf")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseProbeNumber(QStringLiteral("1e400")), HUGE_VAL);
    EXPECT_EQ(ParseProbeNumber(QStringLiteral("-1e400")), -HUGE_VAL);
    EXPECT_EQ(ParseProbeNumber(QString(100000, u'7')), HUGE_VAL);
    EXPECT_NEAR(ParseProbeNumber(QString(100000, u'7').prepend(QStringLiteral("0."))), 7.0 / 9.0, 1e-15);
    EXPECT_DOUBLE_EQ(ParseProbeNumber(QString(200000, u' ')), 0.0);
    EXPECT_DOUBLE_EQ(ParseProbeNumber(QString(50000, u'-')), 0.0);
}

TEST(NarrowToFloat, KeepsOutOfRangeValuesDefined)
{
    EXPECT_EQ(NarrowToFloat(1e300), std::numeric_limits<float>::infinity());
    EXPECT_EQ(NarrowToFloat(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(NarrowToFloat(std::nan(""))));
    EXPECT_EQ(NarrowToFloat(12.5), 12.5f);
}

TEST(FormatProbeValue, TwoDecimalsWithAPoint)
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(FormatProbeValue(50.0), QStringLiteral("50.00"));
    EXPECT_EQ(FormatProbeValue(12.345f), QStringLiteral("12.35"));
    EXPECT_EQ(FormatProbeValue(-0.001), QStringLiteral("-0.00"));
    EXPECT_EQ(FormatProbeValue(360.0), QStringLiteral("360.00"));
    QLocale::setDefault(QLocale::c());
}

TEST(LabToLch, HueLiesInZeroExclusiveTo360Inclusive)
{
    struct Case {
        float L, a, b;
        double C, h;
    };
    const Case cases[] = {
        {50, 20, 0, 20, 360},      // hue 0 shows as 360
        {50, 0, 0, 0, 360},        // neutral
        {40, 0, 20, 20, 90},       {40, -20, 0, 20, 180},
        {40, 0, -20, 20, 270},     {40, 10, -10, std::sqrt(200.0), 315},
        {40, -10, -10, std::sqrt(200.0), 225},
    };
    for (const Case& c : cases) {
        const ProbeLch lch = LabToLch(c.L, c.a, c.b);
        EXPECT_DOUBLE_EQ(lch.L, c.L);
        EXPECT_NEAR(lch.C, c.C, 1e-9) << c.a << "," << c.b;
        EXPECT_NEAR(lch.h, c.h, 1e-9) << c.a << "," << c.b;
        EXPECT_GT(lch.h, 0.0);
        EXPECT_LE(lch.h, 360.0);
    }
    EXPECT_EQ(FormatProbeValue(LabToLch(50, 20, 0).h), QStringLiteral("360.00"));
}

TEST(LchToLab, FollowsTheQuadrantRules)
{
    struct Case {
        double h;
        float a, b;
        float tolerance;
    };
    const double C = 20.0;
    const Case cases[] = {
        {0, 20, 0, 0},        {30, 17.320508f, 10, 1e-4f}, {-30, 17.320508f, 10, 1e-4f}, // not reduced
        {180, -20, 0, 0},     {270, 0, -20, 1e-4f},         {300, 10, -17.320508f, 1e-4f},
        {135, -14.142136f, 14.142136f, 1e-4f}, {225, -14.142136f, -14.142136f, 1e-4f},
        {390, 17.320508f, -10, 1e-4f}, // past 360: a* by the tangent, b* negative above 180
    };
    for (const Case& c : cases) {
        const ProbeLab lab = LchToLab(50, C, c.h);
        EXPECT_EQ(lab.L, 50.0f);
        EXPECT_NEAR(lab.a, c.a, c.tolerance) << c.h;
        EXPECT_NEAR(lab.b, c.b, c.tolerance) << c.h;
    }
    const ProbeLab at90 = LchToLab(50, C, 90);
    EXPECT_NE(at90.a, 0.0f); // close to 0, not exactly
    EXPECT_NEAR(at90.a, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(at90.b, 20.0f);
}

TEST(LchToLab, RoundingOfTheFloatAStarNeverGivesNaN)
{
    // 20.1f is above 20.1, so C*^2 - a*^2 is slightly negative at h = 0.
    for (double C : {20.1, 0.1, 33.3, 77.7, 1e-30}) {
        const ProbeLab lab = LchToLab(50, C, 0);
        EXPECT_FALSE(std::isnan(lab.b)) << C;
        EXPECT_GE(lab.b, 0.0f) << C; // b* from the float a*, as the rule says: tiny, never NaN
        EXPECT_LT(lab.b, 0.05f) << C;
    }
}

TEST(LchToLab, AnyInputGivesAValueWithoutCrashing)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    for (double L : {0.0, inf, nan})
        for (double C : {0.0, 1e300, -5.0, inf, nan})
            for (double h : {0.0, 90.0, -1e300, inf, nan}) {
                const ProbeLab lab = LchToLab(L, C, h);
                (void)lab;
            }
    SUCCEED();
}

// The one conversion the probe, its verdicts and quillon-gamut share.
TEST(NamedColourLab, UsesTheFactor256Over65535)
{
    struct Case {
        std::uint16_t L16, a16, b16;
        float L, a, b;
    };
    const Case cases[] = {
        {65535, 32768, 32768, 100.0f, 0.0019531f, 0.0019531f},
        {0, 0, 65535, 0.0f, -128.0f, 128.0f},
        {32768, 32896, 32640, 50.000763f, 0.5019608f, -0.4980545f},
    };
    for (const Case& c : cases) {
        const NamedLab lab = NamedColourLab(c.L16, c.a16, c.b16);
        EXPECT_NEAR(lab.L, c.L, 1e-5f);
        EXPECT_NEAR(lab.a, c.a, 1e-6f);
        EXPECT_NEAR(lab.b, c.b, 1e-6f);
    }
}

} // namespace
} // namespace quillon
