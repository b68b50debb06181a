#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "gamut/GamutBuilder.h"
#include "gamut/GamutSolid.h"
#include "gamut/ProfileShape.h"
#include "profiles/ColourTransform.h"
#include "profiles/LoadedProfile.h"
#include "profiles/NamedColourLab.h"
#include "profiles/NamedColours.h"
#include "profiles/ProfileHandle.h"

using namespace quillon;

namespace {

std::string Fixture(const char* name) { return std::string(QUILLON_FIXTURE_DIR "/") + name; }

// One six-colour profile is enough: each costs 36 million samples.
const char* const kDeviceFixtures[] = {"rgb_display.icc", "cmyk_output.icc", "rgb_printer.icc", "cmyk_scanner.icc",
                                       "six_printer.icc"};

TEST(ProfileShape, SameShapeAsTheWindowBuildsWithGlpIcc)
{
    for (const char* name : {"rgb_display.icc", "cmyk_output.icc"}) {
        GamutShape fromFile{};
        ASSERT_EQ(BuildShapeFromProfileFile(Fixture(name), fromFile), ProfileShapeResult::Ok) << name;

        const ProfileHandle device = ProfileHandle::Adopt(cmsOpenProfileFromFile(Fixture(name).c_str(), "r"));
        const ProfileHandle lab = ProfileHandle::Adopt(cmsOpenProfileFromFile(QUILLON_RUN_DIR "/GLP.icc", "r"));
        ASSERT_TRUE(device.get() && lab.get());
        const ColourTransform transform = CreateMultiProfileTransform(device.get(), lab.get());
        GamutShape window{};
        ASSERT_EQ(BuildShape(transform, cmsGetColorSpace(device.get()), window), BuildResult::Ok);
        EXPECT_EQ(std::memcmp(&fromFile, &window, sizeof window), 0) << name;
    }
}

TEST(ProfileShape, FailuresNameTheWindowsReason)
{
    const struct {
        std::string path;
        ProfileShapeResult expected;
    } cases[] = {
        {Fixture("no_such_file.icc"), ProfileShapeResult::CannotLoadProfile},
        {Fixture("broken_random.icc"), ProfileShapeResult::CannotLoadProfile},
        {Fixture("not_a_profile.txt"), ProfileShapeResult::CannotLoadProfile},
        {"", ProfileShapeResult::CannotLoadProfile},
        {Fixture("grey_monitor.icc"), ProfileShapeResult::UnsupportedColourSpace},
        {Fixture("lab_abstract.icc"), ProfileShapeResult::UnsupportedColourSpace},
        {Fixture("device_link.icc"), ProfileShapeResult::CannotUseProfile},
        {Fixture("named_rgb_n3.icc"), ProfileShapeResult::CannotUseProfile},
    };
    const long profilesBefore = ProfileHandle::OpenCount();
    for (const auto& c : cases) {
        GamutShape shape{};
        EXPECT_EQ(BuildShapeFromProfileFile(c.path, shape), c.expected) << c.path;
    }
    EXPECT_EQ(ProfileHandle::OpenCount(), profilesBefore);
    EXPECT_EQ(ColourTransform::OpenCount(), 0);
}

// A profile named by a path longer than a LoadedProfile's name field still builds.
TEST(ProfileShape, PathLongerThanTheNameField)
{
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillon_long_path";
    std::filesystem::remove_all(folder);
    std::filesystem::path deep = folder;
    while (deep.string().size() < 300)
        deep /= std::string(40, 'd');
    std::filesystem::create_directories(deep);
    const std::filesystem::path copy = deep / "rgb_display.icc";
    std::filesystem::copy_file(Fixture("rgb_display.icc"), copy);
    ASSERT_GT(copy.string().size(), LoadedProfile::kNameSize);

    GamutShape fromDeep{}, fromFixture{};
    EXPECT_EQ(BuildShapeFromProfileFile(copy.string(), fromDeep), ProfileShapeResult::Ok);
    ASSERT_EQ(BuildShapeFromProfileFile(Fixture("rgb_display.icc"), fromFixture), ProfileShapeResult::Ok);
    EXPECT_EQ(std::memcmp(&fromDeep, &fromFixture, sizeof fromDeep), 0);
    EXPECT_EQ(BuildShapeFromProfileFile((deep / "missing.icc").string(), fromDeep),
              ProfileShapeResult::CannotLoadProfile);
    std::filesystem::remove_all(folder);
}

TEST(ProfileFigures, CentreInsideAndFarColourOutsideEveryFixture)
{
    for (const char* name : kDeviceFixtures) {
        GamutShape shape{};
        ASSERT_EQ(BuildShapeFromProfileFile(Fixture(name), shape), ProfileShapeResult::Ok) << name;
        const GamutSolid solid(shape);
        EXPECT_GT(solid.Volume(), 1e5) << name;
        EXPECT_NEAR(solid.RayVolume() / solid.Volume(), 1.0, 0.001) << name;
        EXPECT_EQ(solid.Test({50, 0, 0}).verdict, Verdict::Inside) << name;
        const InsideResult far = solid.Test({50, 200, 0});
        EXPECT_EQ(far.verdict, Verdict::Outside) << name;
        // No gamut here reaches a* 130, so the nearest point is at least 70 away.
        EXPECT_GT(far.distance, 70.0) << name;
        EXPECT_EQ(CoveragePercent(solid, solid), 100.0) << name;
    }
}

std::vector<LabValue> ProbeLibrary()
{
    LoadedProfileSet set;
    LoadedProfile* profile = nullptr;
    std::vector<LabValue> colours;
    if (set.Load(Fixture("named_lab_probe.icc"), &profile) != LoadResult::Ok)
        return colours;
    std::uint32_t count = 0;
    ReadNamedColours(*profile, nullptr, count);
    std::vector<NamedColour> named(count);
    if (ReadNamedColours(*profile, named.data(), count) != NamedColourResult::Ok)
        return colours;
    for (std::uint32_t i = 0; i < count; ++i) {
        const NamedLab lab = NamedColourLab(named[i]);
        colours.push_back({lab.L, lab.a, lab.b});
    }
    return colours;
}

TEST(ProfileFigures, NamedColourLibraryCount)
{
    const std::vector<LabValue> colours = ProbeLibrary();
    ASSERT_EQ(colours.size(), 10u);
    EXPECT_NEAR(colours[6].a, 100.0, 0.01); // "Laser red" reads back as typed
    GamutShape shape{};
    ASSERT_EQ(BuildShapeFromProfileFile(Fixture("rgb_display.icc"), shape), ProfileShapeResult::Ok);
    const GamutSolid solid(shape);
    const NamedCount count = solid.CountInside(colours);
    EXPECT_EQ(count.inside, 6u);
    EXPECT_EQ(count.total, 10u);
    EXPECT_EQ(count.noVerdict, 0u);

    // The display profile is matrix and curves: a colour is in its gamut exactly when its
    // linear RGB (the colorant matrix solved for the colour's D50 XYZ) lies within 0 ... 1.
    // The fixture's colours keep well away from the edge, so the verdicts agree one by one.
    const ProfileHandle device = ProfileHandle::Adopt(cmsOpenProfileFromFile(Fixture("rgb_display.icc").c_str(), "r"));
    ASSERT_TRUE(device.get());
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
    double m[3][3];
    for (int c = 0; c < 3; ++c) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(device.get(), tags[c]));
        ASSERT_NE(xyz, nullptr);
        m[0][c] = xyz->X;
        m[1][c] = xyz->Y;
        m[2][c] = xyz->Z;
    }
    const auto det3 = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const cmsCIELab lab = {colours[i].L, colours[i].a, colours[i].b};
        cmsCIEXYZ xyz;
        cmsLab2XYZ(cmsD50_XYZ(), &xyz, &lab);
        const double v[3] = {xyz.X, xyz.Y, xyz.Z};
        bool reference = true;
        for (int c = 0; c < 3; ++c) {
            double a[3][3];
            for (int r = 0; r < 3; ++r)
                for (int k = 0; k < 3; ++k)
                    a[r][k] = k == c ? v[r] : m[r][k];
            const double linear = det3(a) / det3(m); // Cramer's rule
            reference = reference && linear >= 0.0 && linear <= 1.0;
        }
        const InsideResult verdict = solid.Test(colours[i]);
        EXPECT_EQ(verdict.verdict == Verdict::Inside, reference) << i;
        EXPECT_EQ(reference, i < 6) << i;
        if (!reference) {
            EXPECT_GT(verdict.distance, 10.0) << i;
        }
    }
}

} // namespace
