#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "gamut/GamutBuilder.h"
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

// Every device colour lands near one corner of Lab: L* 0.02 ... 0.17, a* -127 ... -126.5,
// b* -126 ... -125.5.
int CornerSampler(const cmsUInt16Number in[], cmsUInt16Number out[], void*)
{
    cmsCIELab lab = {0.02 + 0.15 * in[0] / 65535.0, -127.0 + 0.5 * in[1] / 65535.0, -126.0 + 0.5 * in[2] / 65535.0};
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

ProfileHandle CornerProfile()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 9, 3, 3, nullptr);
    cmsStageSampleCLut16bit(clut, CornerSampler, nullptr, 0);
    // lutAtoBType stores A curves, CLUT, B curves: identity curves around the CLUT.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::vector<std::uint8_t> bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return ProfileHandle::Adopt(cmsOpenProfileFromMem(bytes.data(), size));
}

} // namespace

// A degenerate profile whose colours all lie in one corner builds a shape in that corner,
// not a sphere about the centre that fills the view.
TEST(BuildShape, DegenerateProfileStaysNearItsColours)
{
    auto lab = Glp();
    auto corner = CornerProfile();
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
