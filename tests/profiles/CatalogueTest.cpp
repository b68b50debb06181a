#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profiles/ProfileCatalogue.h"
#include "tests/profiles/Fixtures.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

ProfileRecord Record(const char* name)
{
    ProfileRecord r;
    std::strncpy(r.fileName, name, sizeof r.fileName - 1);
    return r;
}

std::vector<std::string> Names(const std::vector<ProfileRecord>& list)
{
    std::vector<std::string> names;
    for (const auto& r : list)
        names.emplace_back(r.fileName);
    return names;
}

bool Listed(const std::vector<ProfileRecord>& list, const std::string& name)
{
    const auto names = Names(list);
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

TEST(CatalogueCompare, FoldsCapitalsThenComparesBytes)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"abc.icc", "ABC.icc", 0},
        {"Apple.icc", "banana.icc", -1},
        {"apple.icc", "Banana.icc", -1},
        {"_x.icc", "a.icc", -1},     // '_' (0x5F) sorts below 'a' (0x61)
        {"_x.icc", "Z.icc", -1},     // 'Z' (0x5A) folds to 'z' (0x7A) first, so '_' stays below
        {"a_b.icc", "aB.icc", -1},   // '_' below 'b'
        {"sRGB.icc", "srgb.icc", 0},
        {"a.icc", "a.icc.bak", -1},  // a prefix sorts first
        {"9.icc", "A.icc", -1},      // digits below letters
        {"\xC9t\xE9.icc", "zz.icc", 1}, // bytes above 0x7F are not folded
        // Colour names of a named-colour profile sort the same way.
        {"Paper", "paper", 0},
        {"_Underline", "aqua", -1},
        {"aqua", "Brick", -1},
        {"ZINC", "\xc3\xa9", -1},
        {"mid", "mid grey", -1},
        {"night", "Mid grey", 1},
    };
    for (const auto& c : cases) {
        const int got = CompareNames(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
        const int back = CompareNames(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

TEST(CatalogueCompare, FileNamesCompareOnThePartAfterTheLastSeparator)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"colord/sRGB.icc", "AdobeRGB.icc", 1},
        {"z/apple.icc", "a/Banana.icc", -1},
        {"x/y/Same.icc", "same.icc", 0},
        {"dir/", "a.icc", -1}, // empty part sorts first
    };
    for (const auto& c : cases) {
        const int got = CompareByFileName(Record(c.a), Record(c.b));
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " vs " << c.b;
    }
    EXPECT_STREQ(BareFileName("a/b/c.icc"), "c.icc");
    EXPECT_STREQ(BareFileName("c.icc"), "c.icc");
}

TEST(CatalogueFilter, DeviceAndNamedColourFilters)
{
    struct Case {
        std::uint32_t profileClass, colourSpace;
        bool device, named;
    };
    const Case cases[] = {
        {sig::Display, sig::Rgb, true, false},     {sig::Output, sig::Cmyk, true, false},
        {sig::Input, sig::SixColour, true, false}, {sig::Display, sig::Gray, false, false},
        {sig::Link, sig::Rgb, false, false},       {sig::Abstract, sig::Lab, false, false},
        {sig::ColourSpaceClass, sig::Rgb, false, false},
        {sig::NamedColourClass, sig::Rgb, false, true}, {sig::NamedColourClass, sig::Lab, false, true},
        {sig::Output, MakeSignature('5', 'C', 'L', 'R'), false, false},
    };
    for (const auto& c : cases) {
        ProfileRecord r;
        r.profileClass = c.profileClass;
        r.colourSpace = c.colourSpace;
        EXPECT_EQ(IsDeviceProfile(r), c.device) << std::hex << c.profileClass << " " << c.colourSpace;
        EXPECT_EQ(IsNamedColourProfile(r), c.named) << std::hex << c.profileClass << " " << c.colourSpace;
    }
}

TEST(CatalogueEnumerate, CountThenFillProtocol)
{
    ProfileCatalogue catalogue(FixtureServices());
    std::uint32_t count = 12345;
    ASSERT_EQ(catalogue.Enumerate(nullptr, count), EnumerationResult::MoreThanRoom);
    const std::uint32_t listed = count;
    ASSERT_GT(listed, 10u);

    std::vector<ProfileRecord> records(listed);
    count = listed;
    ASSERT_EQ(catalogue.Enumerate(records.data(), count), EnumerationResult::Ok);
    // Broken files are listed by name but cannot be opened: they are dropped.
    EXPECT_LT(count, listed);
    records.resize(count);
    for (const char* broken : {"broken_zero_length.icc", "broken_random.icc", "broken_truncated_header.icc"})
        EXPECT_FALSE(Listed(records, broken)) << broken;
    EXPECT_TRUE(Listed(records, "broken_tag_past_end.icc")) << "it opens; only its tag walk fails";
    EXPECT_TRUE(std::is_sorted(records.begin(), records.end(), [](const auto& a, const auto& b) {
        return CompareNames(a.fileName, b.fileName) < 0;
    }));

    // Less room than profiles: exactly the room is filled, the rest untouched.
    std::vector<ProfileRecord> few(5);
    std::strcpy(few[4].fileName, "untouched");
    count = 4;
    EXPECT_EQ(catalogue.Enumerate(few.data(), count), EnumerationResult::MoreThanRoom);
    EXPECT_EQ(count, listed);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::string(few[i].fileName), std::string(records[i].fileName));
    EXPECT_STREQ(few[4].fileName, "untouched");
}

TEST(CatalogueEnumerate, NoInstalledProfilesGivesEmptyLists)
{
    ProfileCatalogue none(ColourServices({FixtureDir() / "no_such_folder"}));
    std::uint32_t count = 7;
    EXPECT_EQ(none.Enumerate(nullptr, count), EnumerationResult::MoreThanRoom);
    EXPECT_EQ(count, 0u);
    ProfileRecord one;
    count = 1;
    EXPECT_EQ(none.Enumerate(&one, count), EnumerationResult::Ok);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(none.BuildList(ProfileListKind::Device).empty());
    EXPECT_TRUE(none.BuildList(ProfileListKind::NamedColour).empty());
}

TEST(CatalogueLists, DeviceListOverTheFixtures)
{
    const auto list = ProfileCatalogue(FixtureServices()).BuildList(ProfileListKind::Device);
    struct Case {
        const char* name;
        bool listed;
    };
    const Case cases[] = {
        {"rgb_printer.icc", true},    {"cmyk_scanner.icc", true},      {"six_printer.icc", true},
        {"nested/Upper_Case.ICM", true}, {"grey_monitor.icc", false}, {"device_link.icc", false},
        {"lab_abstract.icc", false},  {"named_rgb_n3.icc", false},     {"broken_random.icc", false},
        {"broken_zero_length.icc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Listed(list, c.name), c.listed) << c.name;
    for (const auto& r : list)
        EXPECT_TRUE(IsDeviceProfile(r)) << r.fileName;
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const auto& a, const auto& b) { return CompareByFileName(a, b) < 0; }));
    // Sorted on the bare name: nested/Upper_Case.ICM comes after six_printer.icc.
    const auto names = Names(list);
    const auto upper = std::find(names.begin(), names.end(), "nested/Upper_Case.ICM");
    const auto six = std::find(names.begin(), names.end(), "six_printer.icc");
    EXPECT_LT(six, upper);
}

TEST(CatalogueLists, NamedColourListTakesAnyColourSpace)
{
    const auto list = ProfileCatalogue(FixtureServices()).BuildList(ProfileListKind::NamedColour);
    for (const char* name : {"named_rgb_n3.icc", "named_cmyk_n0.icc", "named_lab_empty.icc", "named_no_element.icc"})
        EXPECT_TRUE(Listed(list, name)) << name;
    for (const auto& r : list)
        EXPECT_EQ(r.profileClass, sig::NamedColourClass) << r.fileName;
    EXPECT_FALSE(Listed(list, "rgb_printer.icc"));
}

TEST(CatalogueLists, RealInstalledRgbProfilesAreInTheDeviceList)
{
    if (InstalledSrgb().empty())
        GTEST_SKIP() << "no installed sRGB profile";
    const auto list = ProfileCatalogue(ColourServices({"/usr/share/color/icc"})).BuildList(ProfileListKind::Device);
    const std::string listed = std::filesystem::path(InstalledSrgb()).lexically_relative("/usr/share/color/icc").generic_string();
    ASSERT_TRUE(Listed(list, listed)) << listed;
    for (const auto& r : list)
        EXPECT_TRUE(IsDeviceProfile(r));
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const auto& a, const auto& b) { return CompareByFileName(a, b) < 0; }));
}
