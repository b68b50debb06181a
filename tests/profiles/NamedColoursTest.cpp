#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profiles/ColourTransform.h"
#include "profiles/LabWords.h"
#include "profiles/NamedColours.h"
#include "tests/profiles/NamedColourProfiles.h"
#include "tests/profiles/Fixtures.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

// The generator's colours, in order.
const char* const kNames[] = {"Paper White", "mid grey", "Brick", "aqua", "_Underline", "ZINC", "Ochre", "night"};

struct Loaded {
    LoadedProfileSet set{FixtureServices()};
    LoadedProfile* profile = nullptr;
    explicit Loaded(const std::string& name) { EXPECT_EQ(set.Load(name, &profile), LoadResult::Ok) << name; }
};

std::vector<NamedColour> ReadAll(const LoadedProfile& profile, NamedColourResult& result)
{
    std::uint32_t count = 0;
    result = ReadNamedColours(profile, nullptr, count);
    if (result != NamedColourResult::CountOnly)
        return {};
    std::vector<NamedColour> colours(count);
    result = ReadNamedColours(profile, colours.data(), count);
    colours.resize(count);
    return colours;
}

} // namespace

TEST(NamedColoursElement, ReadElementResultCodes)
{
    Loaded named("named_rgb_n3.icc");
    Loaded printer("rgb_printer.icc");
    std::uint32_t size = 0;
    EXPECT_EQ(ReadElement(*named.profile, sig::NamedColour2Tag, nullptr, size), ElementResult::BufferTooSmall);
    const std::uint32_t whole = size;
    EXPECT_EQ(whole, 84u + 8u * 44u);

    std::vector<std::uint8_t> small(whole - 1);
    size = whole - 1;
    EXPECT_EQ(ReadElement(*named.profile, sig::NamedColour2Tag, small.data(), size), ElementResult::BufferTooSmall);
    EXPECT_EQ(size, whole) << "the size is set to the element's size in every case";

    std::vector<std::uint8_t> buffer(whole + 10);
    size = whole + 10;
    EXPECT_EQ(ReadElement(*named.profile, sig::NamedColour2Tag, buffer.data(), size), ElementResult::Ok);
    EXPECT_EQ(size, whole);
    EXPECT_EQ(0, std::memcmp(buffer.data(), "ncl2", 4));

    size = 99;
    EXPECT_EQ(ReadElement(*printer.profile, sig::NamedColour2Tag, nullptr, size), ElementResult::NoElement);
}

TEST(NamedColoursElement, EntriesSitAtTheirOffsetsWithThreeDeviceCoordinates)
{
    Loaded named("named_rgb_n3.icc");
    std::vector<std::uint8_t> element(1000);
    std::uint32_t size = 1000;
    ASSERT_EQ(ReadElement(*named.profile, sig::NamedColour2Tag, element.data(), size), ElementResult::Ok);
    std::uint32_t n = 0;
    ASSERT_TRUE(ReadBigEndian32(element.data(), size, 16, n));
    EXPECT_EQ(n, 3u);
    EXPECT_STREQ(reinterpret_cast<const char*>(element.data() + 84), kNames[0]);
    EXPECT_STREQ(reinterpret_cast<const char*>(element.data() + 128), kNames[1]); // 84 + 38 + 2*3
    NamedColourResult result = NamedColourResult::Ok;
    const auto colours = ReadAll(*named.profile, result);
    ASSERT_EQ(result, NamedColourResult::Ok);
    ASSERT_EQ(colours.size(), 8u);
    EXPECT_STREQ(colours[1].name, kNames[1]);
}

TEST(NamedColoursRead, ResultCodesPerProfile)
{
    struct Case {
        const char* file;
        NamedColourResult countResult; // first call, without an array
        std::uint32_t count;
    };
    const Case cases[] = {
        {"named_rgb_n3.icc", NamedColourResult::CountOnly, 8},
        {"named_cmyk_n0.icc", NamedColourResult::CountOnly, 8},
        {"named_lab_empty.icc", NamedColourResult::CountOnly, 0},
        {"named_no_element.icc", NamedColourResult::NoElement, 0},
        {"rgb_printer.icc", NamedColourResult::NotNamedColourProfile, 0},
        {"grey_monitor.icc", NamedColourResult::NotNamedColourProfile, 0},
        // Claims a million colours: stops at the last whole entry inside the element.
        {"named_overcount.icc", NamedColourResult::CountOnly, 8},
    };
    for (const auto& c : cases) {
        Loaded loaded(c.file);
        ASSERT_NE(loaded.profile, nullptr);
        std::uint32_t count = 55;
        EXPECT_EQ(ReadNamedColours(*loaded.profile, nullptr, count), c.countResult) << c.file;
        if (c.countResult == NamedColourResult::CountOnly)
            EXPECT_EQ(count, c.count) << c.file;
        else
            EXPECT_EQ(count, 55u) << c.file;
    }
}

TEST(NamedColoursRead, ValuesNamesAndRescaledLightness)
{
    for (const char* file : {"named_rgb_n3.icc", "named_cmyk_n0.icc"}) {
        Loaded loaded(file);
        NamedColourResult result = NamedColourResult::Ok;
        const auto colours = ReadAll(*loaded.profile, result);
        ASSERT_EQ(result, NamedColourResult::Ok) << file;
        ASSERT_EQ(colours.size(), 8u) << file;
        for (std::size_t i = 0; i < colours.size(); ++i)
            EXPECT_STREQ(colours[i].name, kNames[i]) << "prefix and suffix are never added";
        EXPECT_EQ(colours[0].L16, 65535) << file; // 0xFF00
        EXPECT_EQ(colours[1].L16, 32896) << file; // 0x8000
        EXPECT_EQ(colours[2].a16, 0xA000) << file;
        EXPECT_EQ(colours[2].b16, 0x9000) << file;
    }
}

TEST(NamedColoursRead, LightnessScaleTruncatesAndSaturates)
{
    struct Case {
        std::uint16_t stored, scaled;
    };
    const Case cases[] = {{0, 0},         {1, 1},          {0x00FF, 0x00FF}, {0x0100, 0x0101},
                          {0x8000, 32896}, {0xFF00, 65535}, {0xFF01, 65535},  {0xFFFF, 65535}};
    for (const auto& c : cases)
        EXPECT_EQ(ScaleLightness(c.stored), c.scaled) << c.stored;
}

// The two word encodings of profiles/LabWords.h, checked by what they mean rather than by
// their arithmetic: encode then decode gives the value back within a word's step, the ends
// are exact, and the neutral opponent word is the documented hair below zero.
TEST(LabWords, EncodingsRoundTripWithinOneStep)
{
    using namespace labwords;
    for (int i = 0; i <= 10000; ++i) {
        const double L = i / 100.0;
        const float named = NamedLightness(NamedLightnessFromElement(ElementLightnessWord(L)));
        ASSERT_NEAR(named, L, 0.003) << L; // half an element step plus the truncation
        const double a = -128.0 + i * 0.0255;
        ASSERT_NEAR(NamedOpponent(ElementOpponentWord(a)), a, 0.002) << a;
    }
    std::uint16_t previous = 0;
    for (std::uint32_t v4 = 0; v4 <= 0xFFFF; ++v4) {
        const std::uint16_t w = TransformLightnessFromV4(static_cast<std::uint16_t>(v4));
        ASSERT_GE(w, previous) << v4;
        ASSERT_NEAR(TransformLightness(w), v4 * 100.0 / 65535.0, 0.001) << v4;
        previous = w;
        ASSERT_GE(NamedLightnessFromElement(static_cast<std::uint16_t>(v4)),
                  NamedLightnessFromElement(static_cast<std::uint16_t>(v4 ? v4 - 1 : 0)));
    }
    EXPECT_EQ(TransformLightnessFromV4(0xFFFF), kTransformWhiteL);
    EXPECT_FLOAT_EQ(TransformLightness(kTransformWhiteL), 100.0f); // 1/65280 is a float constant
    EXPECT_EQ(NamedLightness(NamedLightnessFromElement(0xFF00)), 100.0f);
    EXPECT_EQ(TransformOpponent(kNeutralOpponent), -0x1p-25f);
    EXPECT_EQ(NamedOpponent(0), -128.0f);
    EXPECT_EQ(TransformOpponent(0), -128.0f);
}

TEST(NamedColoursRead, CapacityFiveOfEightDeliversTheFirstFive)
{
    Loaded loaded("named_rgb_n3.icc");
    NamedColour colours[8];
    std::uint32_t count = 5;
    ASSERT_EQ(ReadNamedColours(*loaded.profile, colours, count), NamedColourResult::Ok);
    EXPECT_EQ(count, 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(colours[i].name, kNames[i]);
    EXPECT_STREQ(colours[5].name, "") << "nothing past the room given";
}

TEST(NamedColoursRead, RoomBeyondTheColoursLowersTheCount)
{
    Loaded loaded("named_overcount.icc");
    std::vector<NamedColour> colours(20);
    std::uint32_t count = 20;
    ASSERT_EQ(ReadNamedColours(*loaded.profile, colours.data(), count), NamedColourResult::Ok);
    EXPECT_EQ(count, 8u);
    EXPECT_STREQ(colours[7].name, kNames[7]);
}

TEST(NamedColoursRead, NameFillingItsFieldIsCutAtThirtyTwoBytes)
{
    Loaded loaded("named_longname.icc");
    NamedColourResult result = NamedColourResult::Ok;
    const auto colours = ReadAll(*loaded.profile, result);
    ASSERT_EQ(result, NamedColourResult::Ok);
    ASSERT_EQ(colours.size(), 8u);
    EXPECT_EQ(std::string(colours[0].name), std::string(32, 'X'));
    EXPECT_EQ(colours[0].L16, 65535) << "the values after the name are still read";
    EXPECT_STREQ(colours[1].name, kNames[1]);
}

TEST(NamedColoursParse, ShortAndOddElements)
{
    struct Case {
        std::vector<std::uint8_t> element;
        std::uint32_t count;
    };
    std::vector<std::uint8_t> header(84, 0);
    header[15] = 2; // two colours claimed
    std::vector<std::uint8_t> oneAndAHalf = header;
    oneAndAHalf.resize(84 + 38 + 20, 'A');
    std::vector<std::uint8_t> hugeN = header;
    hugeN[16] = hugeN[17] = hugeN[18] = hugeN[19] = 0xFF;
    hugeN.resize(84 + 100, 0);
    const Case cases[] = {
        {{}, 0}, {std::vector<std::uint8_t>(10, 0), 0}, {header, 0}, {oneAndAHalf, 1}, {hugeN, 0},
    };
    for (const auto& c : cases) {
        std::uint32_t count = 99;
        EXPECT_EQ(ParseNamedColours(c.element.data(), c.element.size(), nullptr, count), NamedColourResult::CountOnly);
        EXPECT_EQ(count, c.count) << c.element.size();
        std::vector<NamedColour> colours(4);
        count = 4;
        EXPECT_EQ(ParseNamedColours(c.element.data(), c.element.size(), colours.data(), count), NamedColourResult::Ok);
        EXPECT_EQ(count, c.count);
    }
}

TEST(InstalledProfile, SrgbWhiteTranslatesToTheCallersLabWhite)
{
    const std::string srgb = InstalledSrgb();
    if (srgb.empty())
        GTEST_SKIP() << "no installed sRGB profile";
    LoadedProfileSet set(FixtureServices());
    LoadedProfile* device = nullptr;
    LoadedProfile* lab = nullptr;
    ASSERT_EQ(set.Load(srgb, &device), LoadResult::Ok);
    ASSERT_EQ(set.Load(QUILLON_RUN_DIR "/GLP.icc", &lab), LoadResult::Ok);
    EXPECT_EQ(device->ColourSpace(), sig::Rgb);
    auto transform = CreateMultiProfileTransform(device->handle.get(), lab->handle.get());
    ASSERT_TRUE(transform.valid());
    const std::uint16_t white[3] = {65535, 65535, 65535};
    std::uint16_t out[3] = {};
    ASSERT_TRUE(transform.Translate(white, 1, DeviceColourType::Rgb16, out));
    EXPECT_NEAR(out[0], 0xFF00, 1);
    EXPECT_NEAR(out[1], 0x8080, 1);
    EXPECT_NEAR(out[2], 0x8080, 1);
}

namespace {

using test::NamedProfileBytes;

struct TempProfile {
    std::filesystem::path path;
    explicit TempProfile(const std::vector<std::uint8_t>& bytes, const std::string& name)
        : path(std::filesystem::temp_directory_path() / ("quillon_named_" + name + ".icc"))
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    ~TempProfile() { std::filesystem::remove(path); }
};

} // namespace

TEST(NamedColoursRead, ElementOfAnotherTypeIsNoElement)
{
    Loaded loaded("named_curv_element.icc");
    ASSERT_NE(loaded.profile, nullptr);
    std::uint32_t count = 55;
    EXPECT_EQ(ReadNamedColours(*loaded.profile, nullptr, count), NamedColourResult::NoElement);
    EXPECT_EQ(count, 55u);
    NamedColour colours[8];
    count = 8;
    EXPECT_EQ(ReadNamedColours(*loaded.profile, colours, count), NamedColourResult::NoElement);
}

TEST(NamedColoursRead, MoreColoursThanTheLimitIsAFailedRead)
{
    struct Case {
        std::uint32_t colours;
        NamedColourResult countResult;
    };
    const Case cases[] = {
        {50000, NamedColourResult::CountOnly},
        {kMaxNamedColours, NamedColourResult::CountOnly},
        {kMaxNamedColours + 1, NamedColourResult::TooManyColours},
    };
    for (const auto& c : cases) {
        const TempProfile file(NamedProfileBytes(c.colours), std::to_string(c.colours));
        Loaded loaded(file.path.string());
        ASSERT_NE(loaded.profile, nullptr);
        std::uint32_t count = 0;
        EXPECT_EQ(ReadNamedColours(*loaded.profile, nullptr, count), c.countResult) << c.colours;
        if (c.countResult != NamedColourResult::CountOnly) {
            std::vector<NamedColour> colours(8);
            count = 8;
            EXPECT_EQ(ReadNamedColours(*loaded.profile, colours.data(), count), c.countResult) << c.colours;
            continue;
        }
        EXPECT_EQ(count, c.colours);
        NamedColourResult result = NamedColourResult::ReadFailed;
        const auto colours = ReadAll(*loaded.profile, result);
        EXPECT_EQ(result, NamedColourResult::Ok);
        ASSERT_EQ(colours.size(), c.colours);
        EXPECT_EQ(std::string(colours.back().name), "Colour " + std::to_string(c.colours - 1));
    }
}
