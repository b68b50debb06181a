#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "gamut/GamutBuilder.h"
#include "gamut/Sampling.h"
#include "profiles/ColourTransform.h"
#include "profiles/ProfileHandle.h"
#include "profiles/ProfileRecord.h"

using namespace quillon;

namespace {

ProfileHandle Open(const std::string& path)
{
    return ProfileHandle::Adopt(cmsOpenProfileFromFile(path.c_str(), "r"));
}

ProfileHandle Glp() { return Open(QUILLON_RUN_DIR "/GLP.icc"); }

std::string Fixture(const char* name) { return std::string(QUILLON_FIXTURE_DIR "/") + name; }

struct Build {
    BuildResult result = BuildResult::TranslateFailed;
    GamutShape shape{};
    std::vector<int> progress;
    bool progressOnCaller = true;
};

Build RunBuild(const ColourTransform& transform, std::uint32_t space, unsigned threads)
{
    Build build;
    const auto caller = std::this_thread::get_id();
    build.result = BuildShape(
        transform, space, build.shape,
        [&](int done) {
            build.progress.push_back(done);
            build.progressOnCaller = build.progressOnCaller && std::this_thread::get_id() == caller;
        },
        threads);
    return build;
}

void ExpectSteps(const Build& build, int levels)
{
    ASSERT_EQ(static_cast<int>(build.progress.size()), levels);
    for (int i = 0; i < levels; ++i)
        ASSERT_EQ(build.progress[i], i + 1);
    EXPECT_TRUE(build.progressOnCaller);
}

void ExpectClosedNet(const GamutShape& shape)
{
    const int n = shape.gridSize;
    for (int band = 0; band < n; ++band)
        for (int sector = 0; sector < n; ++sector) {
            const float* p = shape.points[band][sector];
            const float dL = p[1] - 50.0f;
            ASSERT_GT(std::sqrt(p[0] * p[0] + dL * dL + p[2] * p[2]), 1.0f) << band << "/" << sector;
            ASSERT_TRUE(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]));
        }
}

struct FixtureCase {
    const char* file;
    std::uint32_t space;
    std::uint32_t deviceClass;
};

const FixtureCase kFixtures[] = {
    {"rgb_display.icc", sig::Rgb, 0x6D6E7472},  // mntr
    {"cmyk_output.icc", sig::Cmyk, 0x70727472}, // prtr
    {"six_colour.icc", sig::SixColour, 0x70727472},
};

} // namespace

TEST(DeviceFixtures, HaveTheirClassAndColourSpaceAndTransform)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    for (const auto& c : kFixtures) {
        auto profile = Open(Fixture(c.file));
        ASSERT_TRUE(profile) << c.file;
        EXPECT_EQ(static_cast<std::uint32_t>(cmsGetColorSpace(profile.get())), c.space) << c.file;
        EXPECT_EQ(static_cast<std::uint32_t>(cmsGetDeviceClass(profile.get())), c.deviceClass) << c.file;
        EXPECT_TRUE(CreateMultiProfileTransform(profile.get(), lab.get()).valid()) << c.file;
    }
}

TEST(BuildShape, BuiltInSrgbHasPolesAtWhiteAndBlack)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    const auto transform = CreateMultiProfileTransform(srgb.get(), lab.get());
    ASSERT_TRUE(transform.valid());
    const Build build = RunBuild(transform, sig::Rgb, 0);
    ASSERT_EQ(build.result, BuildResult::Ok);
    EXPECT_EQ(build.shape.gridSize, 32);
    ExpectSteps(build, 101);
    EXPECT_NEAR(build.shape.topPole[1], 100.0f, 1.0f);
    EXPECT_NEAR(build.shape.bottomPole[1], 0.0f, 1.0f);
    for (int i : {0, 2}) {
        EXPECT_EQ(build.shape.topPole[i], 0.0f);
        EXPECT_EQ(build.shape.bottomPole[i], 0.0f);
    }
    ExpectClosedNet(build.shape);
    // sRGB's red primary lies far out along +a*.
    float largestA = 0.0f;
    for (int band = 0; band < 32; ++band)
        for (int sector = 0; sector < 32; ++sector)
            largestA = std::max(largestA, build.shape.points[band][sector][0]);
    EXPECT_GT(largestA, 70.0f);
}

TEST(BuildShape, EveryThreadCountGivesTheSameShapeBitForBit)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    for (const auto& c : kFixtures) {
        if (c.space == sig::SixColour)
            continue; // 36,000,000 samples: compared by the build benchmark's digests
        auto profile = Open(Fixture(c.file));
        ASSERT_TRUE(profile) << c.file;
        const auto transform = CreateMultiProfileTransform(profile.get(), lab.get());
        ASSERT_TRUE(transform.valid()) << c.file;
        const Build sequential = RunBuild(transform, c.space, 1);
        ASSERT_EQ(sequential.result, BuildResult::Ok) << c.file;
        ExpectSteps(sequential, OutermostLevels(c.space));
        ExpectClosedNet(sequential.shape);
        EXPECT_GT(sequential.shape.topPole[1], 80.0f) << c.file;
        EXPECT_LT(sequential.shape.bottomPole[1], 40.0f) << c.file;
        for (unsigned threads : {2u, 3u, 7u}) {
            const Build parallel = RunBuild(transform, c.space, threads);
            ASSERT_EQ(parallel.result, BuildResult::Ok) << c.file << " " << threads;
            ExpectSteps(parallel, OutermostLevels(c.space));
            EXPECT_EQ(std::memcmp(&parallel.shape, &sequential.shape, sizeof(GamutShape)), 0)
                << c.file << " threads " << threads;
        }
    }
}

TEST(BuildShape, FailuresLeaveOnlyTheGridSize)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    auto cmyk = Open(Fixture("cmyk_output.icc"));
    ASSERT_TRUE(cmyk);
    const auto cmykTransform = CreateMultiProfileTransform(cmyk.get(), lab.get());
    const ColourTransform none;
    struct Case {
        const char* name;
        const ColourTransform* transform;
        std::uint32_t space;
        BuildResult result;
        std::int16_t gridSize;
    } cases[] = {
        {"no transform", &none, sig::Rgb, BuildResult::TranslateFailed, 32},
        {"no transform, threads", &none, sig::Cmyk, BuildResult::TranslateFailed, 24},
        {"transform of another space", &cmykTransform, sig::Rgb, BuildResult::TranslateFailed, 32},
        {"grey", &cmykTransform, sig::Gray, BuildResult::UnsupportedColourSpace, 16},
        {"Lab", &none, 0x4C616220, BuildResult::UnsupportedColourSpace, 16},
    };
    for (const auto& c : cases) {
        for (unsigned threads : {1u, 2u}) {
            GamutShape shape{};
            shape.topPole[1] = 123.0f;
            shape.points[3][4][1] = 7.0f;
            int calls = 0;
            const BuildResult result =
                BuildShape(*c.transform, c.space, shape, [&](int) { ++calls; }, threads);
            EXPECT_EQ(result, c.result) << c.name;
            EXPECT_EQ(shape.gridSize, c.gridSize) << c.name;
            EXPECT_EQ(shape.topPole[1], 123.0f) << c.name;
            EXPECT_EQ(shape.points[3][4][1], 7.0f) << c.name;
            EXPECT_EQ(calls, 0) << c.name;
        }
    }
}

TEST(BuildShape, ThrowingProgressStopsTheWorkersFirst)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    const auto transform = CreateMultiProfileTransform(srgb.get(), lab.get());
    for (unsigned threads : {1u, 2u, 3u}) {
        GamutShape shape{};
        EXPECT_THROW(BuildShape(transform, sig::Rgb, shape, [](int) { throw std::runtime_error("stop"); }, threads),
                     std::runtime_error);
    }
}

namespace {

struct Extent {
    double min[3] = {1e9, 1e9, 1e9}; // L*, a*, b*
    double max[3] = {-1e9, -1e9, -1e9};
    void Add(double L, double a, double b)
    {
        const double v[3] = {L, a, b};
        for (int i = 0; i < 3; ++i) {
            min[i] = std::min(min[i], v[i]);
            max[i] = std::max(max[i], v[i]);
        }
    }
};

// Over the shape's points and poles.
Extent ShapeExtent(const GamutShape& shape)
{
    Extent e;
    e.Add(shape.topPole[1], shape.topPole[0], shape.topPole[2]);
    e.Add(shape.bottomPole[1], shape.bottomPole[0], shape.bottomPole[2]);
    for (int band = 0; band < shape.gridSize; ++band)
        for (int sector = 0; sector < shape.gridSize; ++sector) {
            const float* p = shape.points[band][sector];
            e.Add(p[1], p[0], p[2]);
        }
    return e;
}

// The builder's RGB samples on the faces of the cube, where a matrix/TRC profile's
// extremes lie, through an unoptimised double-precision transform to D50 Lab.
Extent TrueExtent(cmsHPROFILE device)
{
    auto lab = ProfileHandle::Adopt(cmsCreateLab4Profile(nullptr));
    cmsHTRANSFORM transform = cmsCreateTransform(device, TYPE_RGB_DBL, lab.get(), TYPE_Lab_DBL,
                                                 INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE);
    Extent e;
    if (!transform)
        return e;
    for (int r = 0; r <= 100; ++r)
        for (int g = 0; g <= 100; ++g)
            for (int b = 0; b <= 100; ++b) {
                const bool face = r == 0 || r == 100 || g == 0 || g == 100 || b == 0 || b == 100;
                if (!face)
                    continue;
                const double in[3] = {LevelToWord(r) / 65535.0, LevelToWord(g) / 65535.0,
                                      LevelToWord(b) / 65535.0};
                double out[3];
                cmsDoTransform(transform, in, out, 1);
                e.Add(out[0], out[1], out[2]);
            }
    cmsDeleteTransform(transform);
    return e;
}

GamutShape BuildOrFail(const ColourTransform& transform, std::uint32_t space, unsigned threads)
{
    GamutShape shape{};
    EXPECT_EQ(BuildShape(transform, space, shape, {}, threads), BuildResult::Ok);
    return shape;
}

const char* const kWideGamuts[] = {"rec2020.icc", "prophoto.icc", "adobe_rgb.icc", "wide_gamut_rgb.icc"};

} // namespace

TEST(WideGamut, ShapeExtentsMatchDoublePrecisionAndAnyThreadCount)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    for (const char* file : kWideGamuts) {
        SCOPED_TRACE(file);
        auto profile = Open(Fixture(file));
        ASSERT_TRUE(profile);
        const auto transform = CreateMultiProfileTransform(profile.get(), lab.get());
        ASSERT_TRUE(transform.valid());
        ASSERT_TRUE(transform.hasFloatPath());
        const GamutShape shape = BuildOrFail(transform, sig::Rgb, 1);
        ExpectClosedNet(shape);
        const Extent built = ShapeExtent(shape);
        const Extent truth = TrueExtent(profile.get());
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(built.min[i], truth.min[i], 0.5) << "min of channel " << i;
            EXPECT_NEAR(built.max[i], truth.max[i], 0.5) << "max of channel " << i;
        }
        for (unsigned threads : {2u, 3u}) {
            const GamutShape parallel = BuildOrFail(transform, sig::Rgb, threads);
            EXPECT_EQ(std::memcmp(&parallel, &shape, sizeof shape), 0) << threads << " threads";
        }
    }
}

TEST(WideGamut, FixturesReachPastTheSixteenBitEncoding)
{
    // Without them the test above would pass on a builder that still clamps.
    for (const char* file : {"rec2020.icc", "prophoto.icc", "wide_gamut_rgb.icc"}) {
        auto profile = Open(Fixture(file));
        ASSERT_TRUE(profile) << file;
        EXPECT_LT(TrueExtent(profile.get()).min[1], -140.0) << file;
    }
}

TEST(WideGamut, InRangeProfilesAreBuiltFromTheSixteenBitWordsAlone)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    struct Case {
        std::string path;
        std::uint32_t space;
    };
    std::vector<Case> cases = {{Fixture("rgb_display.icc"), sig::Rgb}, {Fixture("cmyk_output.icc"), sig::Cmyk}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto profile = Open(c.path);
        ASSERT_TRUE(profile);
        auto transform = CreateMultiProfileTransform(profile.get(), lab.get());
        ASSERT_TRUE(transform.hasFloatPath());
        const GamutShape withFloat = BuildOrFail(transform, c.space, 2);
        transform.DropFloatPath();
        const GamutShape wordsOnly = BuildOrFail(transform, c.space, 2);
        EXPECT_EQ(std::memcmp(&withFloat, &wordsOnly, sizeof withFloat), 0);
    }
}

TEST(WideGamut, WithoutAFloatTransformTheClampedShapeIsBuilt)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    auto profile = Open(Fixture("prophoto.icc"));
    ASSERT_TRUE(profile);
    auto transform = CreateMultiProfileTransform(profile.get(), lab.get());
    transform.DropFloatPath();
    const GamutShape shape = BuildOrFail(transform, sig::Rgb, 2);
    ExpectClosedNet(shape);
    const Extent e = ShapeExtent(shape);
    EXPECT_NEAR(e.min[1], -128.0, 0.01);
    EXPECT_NEAR(e.max[1], 127.0, 0.01);
}

TEST(WideGamut, ImplausibleFloatLabKeepsTheSixteenBitWords)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    // A matrix profile whose red colorant is absurd: the float path gives a* in the
    // thousands where the 16-bit words clamp.
    auto broken = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    const cmsCIEXYZ red = {5000.0, 1.0, -5000.0};
    ASSERT_TRUE(cmsWriteTag(broken.get(), cmsSigRedColorantTag, &red));
    auto transform = CreateMultiProfileTransform(broken.get(), lab.get());
    ASSERT_TRUE(transform.hasFloatPath());
    const std::uint16_t redSample[3] = {65535, 0, 0};
    float exact[3] = {};
    ASSERT_TRUE(transform.TranslateFloat(redSample, 1, DeviceColourType::Rgb16, exact));
    ASSERT_FALSE(UsableExactLab(exact[0], exact[1], exact[2])) << exact[0] << " " << exact[1] << " " << exact[2];
    // The samples near red come back in the millions; the shape keeps their words instead.
    const GamutShape shape = BuildOrFail(transform, sig::Rgb, 2);
    ExpectClosedNet(shape);
    const Extent e = ShapeExtent(shape);
    EXPECT_TRUE(UsableExactLab(float(e.min[0]), float(e.min[1]), float(e.min[2])));
    EXPECT_TRUE(UsableExactLab(float(e.max[0]), float(e.max[1]), float(e.max[2])));
}

TEST(WideGamut, UsableExactLabLimits)
{
    const float inf = INFINITY, nan = NAN;
    struct Case {
        float L, a, b;
        bool usable;
    } cases[] = {
        {50, -213.5f, 156.7f, true}, {-100, -1000, 1000, true}, {200, 1000, -1000, true},
        {-100.5f, 0, 0, false},      {200.5f, 0, 0, false},    {50, -1000.5f, 0, false},
        {50, 0, 1000.5f, false},     {50, 1.2e6f, 0, false},   {nan, 0, 0, false},
        {50, nan, 0, false},         {50, 0, nan, false},      {50, inf, 0, false},
        {-inf, 0, 0, false},         {50, 0, -inf, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UsableExactLab(c.L, c.a, c.b), c.usable) << c.L << " " << c.a << " " << c.b;
}

// A degenerate profile whose colours all lie in one corner builds a shape in that corner,
// not a sphere about the centre that fills the view.
TEST(BuildShape, DegenerateProfileStaysNearItsColours)
{
    auto lab = Glp();
    // Every device colour lands near one corner of Lab: L* 0.02 ... 0.17, a* -127 ... -126.5,
    // b* -126 ... -125.5 (tools/make_profile_fixtures.cpp).
    auto corner = Open(Fixture("degenerate_corner.icc"));
    ASSERT_TRUE(lab && corner);
    const auto transform = CreateMultiProfileTransform(corner.get(), lab.get());
    ASSERT_TRUE(transform.valid());
    const Build build = RunBuild(transform, sig::Rgb, 0);
    ASSERT_EQ(build.result, BuildResult::Ok);
    // The samples' box, widened by the 16-bit encoding and the 1 dE tolerance.
    const float t = 1.05f;
    auto expectNear = [&](const float* p, const char* what) { // a*, L*, b*
        EXPECT_TRUE(p[1] >= 0.02f - t && p[1] <= 0.17f + t && p[0] >= -127.0f - t && p[0] <= -126.5f + t &&
                    p[2] >= -126.0f - t && p[2] <= -125.5f + t)
            << what << ": L* " << p[1] << " a* " << p[0] << " b* " << p[2];
    };
    const int n = build.shape.gridSize;
    for (int band = 0; band < n; ++band)
        for (int sector = 0; sector < n; ++sector)
            expectNear(build.shape.points[band][sector], "point");
    expectNear(build.shape.topPole, "top pole");
    expectNear(build.shape.bottomPole, "bottom pole");
}
