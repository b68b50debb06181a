#include <cstdint>
#include <vector>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "profiles/ColourTransform.h"
#include "profiles/ProfileHandle.h"

using namespace quillon;

namespace {

ProfileHandle Glp() { return ProfileHandle::Adopt(cmsOpenProfileFromFile(QUILLON_RUN_DIR "/GLP.icc", "r")); }

struct NeutralCase {
    std::uint16_t r, g, b;
    std::uint16_t lightness; // expected L word
};

} // namespace

TEST(ColourTransform, BuiltInSrgbNeutralsComeBackInTheCallersLabEncoding)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    auto transform = CreateMultiProfileTransform(srgb.get(), lab.get());
    ASSERT_TRUE(transform.valid());
    const NeutralCase cases[] = {{65535, 65535, 65535, 0xFF00}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        std::uint16_t in[3] = {c.r, c.g, c.b};
        std::uint16_t out[3] = {};
        ASSERT_TRUE(transform.Translate(in, 1, DeviceColourType::Rgb16, out));
        EXPECT_NEAR(out[0], c.lightness, 1);
        EXPECT_NEAR(out[1], 0x8080, 1);
        EXPECT_NEAR(out[2], 0x8080, 1);
    }
}

TEST(ColourTransform, FailsForWrongTypeMissingProfilesAndUnsupportedSpaces)
{
    auto lab = Glp();
    auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    auto gray = ProfileHandle::Adopt(cmsCreateGrayProfile(cmsD50_xyY(), nullptr));
    std::uint16_t in[4] = {}, out[3] = {};

    auto rgb = CreateMultiProfileTransform(srgb.get(), lab.get());
    EXPECT_FALSE(rgb.Translate(in, 1, DeviceColourType::Cmyk16, out));

    auto none = CreateMultiProfileTransform(nullptr, lab.get());
    EXPECT_FALSE(none.valid());
    EXPECT_FALSE(none.Translate(in, 1, DeviceColourType::Rgb16, out));

    auto grey = CreateMultiProfileTransform(gray.get(), lab.get());
    EXPECT_FALSE(grey.valid());
}

TEST(ColourTransform, CountsOpenHandles)
{
    const long profiles = ProfileHandle::OpenCount();
    const long transforms = ColourTransform::OpenCount();
    {
        auto lab = Glp();
        auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
        auto t = CreateMultiProfileTransform(srgb.get(), lab.get());
        EXPECT_EQ(ProfileHandle::OpenCount(), profiles + 2);
        EXPECT_EQ(ColourTransform::OpenCount(), transforms + 1);
    }
    EXPECT_EQ(ProfileHandle::OpenCount(), profiles);
    EXPECT_EQ(ColourTransform::OpenCount(), transforms);
}

TEST(ColourTransform, FloatPathGivesLabPastTheSixteenBitEncoding)
{
    auto lab = Glp();
    ASSERT_TRUE(lab);
    // A green primary far beyond sRGB's: its a* lies below -128.
    const cmsCIExyYTRIPLE primaries = {{0.7347, 0.2653, 1}, {0.1152, 0.8264, 1}, {0.1566, 0.0177, 1}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    auto wide = ProfileHandle::Adopt(cmsCreateRGBProfile(cmsD50_xyY(), &primaries, curves));
    cmsFreeToneCurve(gamma);
    auto transform = CreateMultiProfileTransform(wide.get(), lab.get());
    ASSERT_TRUE(transform.hasFloatPath());
    const std::uint16_t in[6] = {65535, 65535, 65535, 0, 65535, 0};
    std::uint16_t words[6] = {};
    float out[6] = {};
    ASSERT_TRUE(transform.Translate(in, 2, DeviceColourType::Rgb16, words));
    ASSERT_TRUE(transform.TranslateFloat(in, 2, DeviceColourType::Rgb16, out));
    EXPECT_NEAR(out[0], 100.0f, 0.01f);
    EXPECT_NEAR(out[1], 0.0f, 0.01f);
    EXPECT_NEAR(out[2], 0.0f, 0.01f);
    EXPECT_EQ(words[4], 0u) << "the 16-bit a* word is clamped";
    EXPECT_LT(out[4], -150.0f);

    EXPECT_FALSE(transform.TranslateFloat(in, 1, DeviceColourType::Cmyk16, out));
    transform.DropFloatPath();
    EXPECT_FALSE(transform.hasFloatPath());
    EXPECT_FALSE(transform.TranslateFloat(in, 1, DeviceColourType::Rgb16, out));
    EXPECT_TRUE(transform.Translate(in, 1, DeviceColourType::Rgb16, words));
    EXPECT_FALSE(ColourTransform().TranslateFloat(in, 1, DeviceColourType::Rgb16, out));
}

// A colour space that is no known signature (nor a valid value of LittleCMS's enumeration)
// is refused like any unsupported one.
TEST(ColourTransform, UnknownColourSpaceSignatureIsUnsupported)
{
    auto lab = Glp();
    auto srgb = ProfileHandle::Adopt(cmsCreate_sRGBProfile());
    cmsUInt32Number size = 0;
    ASSERT_TRUE(cmsSaveProfileToMem(srgb.get(), nullptr, &size));
    std::vector<std::uint8_t> bytes(size);
    ASSERT_TRUE(cmsSaveProfileToMem(srgb.get(), bytes.data(), &size));
    for (const std::uint32_t space : {0xBF4771A0u, 0x00000000u, 0xFFFFFFFFu}) {
        for (int i = 0; i < 4; ++i)
            bytes[16 + std::size_t(i)] = std::uint8_t(space >> (24 - 8 * i));
        auto odd = ProfileHandle::Adopt(cmsOpenProfileFromMem(bytes.data(), size));
        ASSERT_TRUE(odd) << std::hex << space;
        EXPECT_FALSE(CreateMultiProfileTransform(odd.get(), lab.get()).valid()) << std::hex << space;
    }
}
