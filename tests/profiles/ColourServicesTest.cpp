#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <lcms2.h>
#include <sys/stat.h>
#include <unistd.h>

#include "profiles/ColourServices.h"
#include "tests/profiles/Fixtures.h"

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A scratch folder removed at the end of the test.
struct TempFolder {
    fs::path path;
    TempFolder()
    {
        path = fs::temp_directory_path() / ("quillon_profiles_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::permissions(path / "locked", fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
};

} // namespace

TEST(ColourServicesEnumerate, ListsIccFilesRecursivelyByRelativeName)
{
    std::vector<std::string> names;
    ASSERT_TRUE(FixtureServices().EnumerateProfiles(names));
    for (const char* name : {"rgb_printer.icc", "cmyk_scanner.icc", "nested/Upper_Case.ICM",
                             "shadow/first/same.icc", "broken_zero_length.icc"})
        EXPECT_TRUE(Contains(names, name)) << name;
    EXPECT_FALSE(Contains(names, "not_a_profile.txt"));
    EXPECT_FALSE(Contains(names, "profile_fixtures.stamp"));
}

TEST(ColourServicesEnumerate, EarlierFolderHidesTheSameNameLater)
{
    const fs::path shadow = FixtureDir() / "shadow";
    ColourServices services({shadow / "first", shadow / "second"});
    std::vector<std::string> names;
    ASSERT_TRUE(services.EnumerateProfiles(names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"only_second.icc", "same.icc"}));
    // Opening the shared name finds the first folder's printer, not the second's grey monitor.
    EXPECT_EQ(services.Resolve("same.icc"), shadow / "first" / "same.icc");
    EXPECT_EQ(services.Resolve("only_second.icc"), shadow / "second" / "only_second.icc");
}

TEST(ColourServicesEnumerate, SkipsMissingAndUnreadableFoldersAndDanglingLinks)
{
    TempFolder temp;
    fs::copy_file(FixtureDir() / "rgb_printer.icc", temp.path / "good.icc");
    fs::create_symlink(temp.path / "gone.icc", temp.path / "dangling.icc");
    fs::create_directory(temp.path / "locked");
    fs::copy_file(FixtureDir() / "rgb_printer.icc", temp.path / "locked" / "hidden.icc");
    fs::permissions(temp.path / "locked", fs::perms::none);
    // A link back up would loop if directory links were followed.
    fs::create_directory_symlink(temp.path, temp.path / "loop");

    ColourServices services({temp.path / "missing", temp.path / "locked", temp.path});
    std::vector<std::string> names;
    ASSERT_TRUE(services.EnumerateProfiles(names));
    EXPECT_TRUE(Contains(names, "good.icc"));
    EXPECT_FALSE(Contains(names, "dangling.icc"));
    EXPECT_FALSE(services.OpenProfile("dangling.icc"));
}

TEST(ColourServicesEnumerate, DefaultFoldersFollowTheFreedesktopVariables)
{
    struct Case {
        const char* dataHome;
        const char* dataDirs;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {nullptr, nullptr,
         {"/home/q/.local/share/icc", "/home/q/.color/icc", "/usr/local/share/color/icc", "/usr/share/color/icc"}},
        {"/data", "/a:/b/", {"/data/icc", "/home/q/.color/icc", "/a/color/icc", "/b/color/icc"}},
        {"relative", "::/x:rel", {"/home/q/.local/share/icc", "/home/q/.color/icc", "/x/color/icc"}},
    };
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* savedDataHome = std::getenv("XDG_DATA_HOME");
    const char* savedDataDirs = std::getenv("XDG_DATA_DIRS");
    const std::string keepDataHome = savedDataHome ? savedDataHome : "";
    const std::string keepDataDirs = savedDataDirs ? savedDataDirs : "";
    ::setenv("HOME", "/home/q", 1);
    for (const auto& c : cases) {
        c.dataHome ? ::setenv("XDG_DATA_HOME", c.dataHome, 1) : ::unsetenv("XDG_DATA_HOME");
        c.dataDirs ? ::setenv("XDG_DATA_DIRS", c.dataDirs, 1) : ::unsetenv("XDG_DATA_DIRS");
        std::vector<std::string> got;
        for (const auto& folder : ColourServices::DefaultFolders())
            got.push_back(folder.lexically_normal().string());
        std::vector<std::string> expected;
        for (const auto& e : c.expected)
            expected.push_back(fs::path(e).lexically_normal().string());
        EXPECT_EQ(got, expected);
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    savedDataHome ? ::setenv("XDG_DATA_HOME", keepDataHome.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    savedDataDirs ? ::setenv("XDG_DATA_DIRS", keepDataDirs.c_str(), 1) : ::unsetenv("XDG_DATA_DIRS");
}

TEST(ColourServicesOpen, OpensProfilesAndRefusesEverythingElse)
{
    struct Case {
        std::string name;
        bool opens;
    };
    const Case cases[] = {
        {"rgb_printer.icc", true},
        {"nested/Upper_Case.ICM", true},
        {Fixture("cmyk_scanner.icc"), true}, // full path
        {"many_tags.icc", true},             // LittleCMS refuses it, the tags stay readable
        {"broken_tag_past_end.icc", true},   // fails later, in the tag walk
        {"broken_truncated_header.icc", false},
        {"broken_zero_length.icc", false},
        {"broken_random.icc", false},
        {"not_a_profile.txt", false},
        {"missing.icc", false},
        {"", false},
        {"../fixtures/rgb_printer.icc", false}, // a listed name stays inside its folder
        {"nested", false},                      // a folder
    };
    const auto services = FixtureServices();
    for (const auto& c : cases)
        EXPECT_EQ(bool(services.OpenProfile(c.name)), c.opens) << c.name;
}

TEST(ColourServicesOpen, HeaderTagsAndElementsAreTheStoredBytes)
{
    const auto bytes = ReadFile(Fixture("rgb_printer.icc"));
    ASSERT_GT(bytes.size(), 200u);
    for (bool fromMemory : {false, true}) {
        ProfileHandle profile = fromMemory ? OpenProfileFromMemory(bytes.data(), bytes.size())
                                           : FixtureServices().OpenProfile("rgb_printer.icc");
        ASSERT_TRUE(profile);
        EXPECT_NE(profile.get(), nullptr) << "LittleCMS opens the same bytes";
        std::uint8_t header[ColourServices::kHeaderSize];
        ASSERT_TRUE(GetColorProfileHeader(profile, header));
        EXPECT_EQ(0, std::memcmp(header, bytes.data(), sizeof header));

        std::uint32_t count = GetCountColorProfileElements(profile);
        ASSERT_GT(count, 0u);
        for (std::uint32_t i = 1; i <= count; ++i) {
            std::uint32_t tag = 0, stated = 0, offset = 0, size = 0;
            ASSERT_TRUE(GetColorProfileElementTag(profile, i, tag));
            ReadBigEndian32(bytes.data(), bytes.size(), 132 + 12 * (i - 1), stated);
            ReadBigEndian32(bytes.data(), bytes.size(), 132 + 12 * (i - 1) + 4, offset);
            EXPECT_EQ(tag, stated);
            ASSERT_TRUE(GetColorProfileElement(profile, tag, 0, size, nullptr));
            std::vector<std::uint8_t> element(size);
            std::uint32_t got = size;
            ASSERT_TRUE(GetColorProfileElement(profile, tag, 0, got, element.data()));
            EXPECT_EQ(got, size);
            EXPECT_TRUE(std::equal(element.begin(), element.end(), bytes.begin() + offset));
        }
        std::uint32_t tag = 0, size = 0;
        EXPECT_FALSE(GetColorProfileElementTag(profile, 0, tag));
        EXPECT_FALSE(GetColorProfileElementTag(profile, count + 1, tag));
        EXPECT_FALSE(GetColorProfileElement(profile, 0x6E636C32, 0, size, nullptr)); // no ncl2 here
        CloseColorProfile(profile);
        EXPECT_FALSE(profile);
    }
}

TEST(ColourServicesOpen, ElementReadsHonourOffsetAndRoom)
{
    auto profile = FixtureServices().OpenProfile("rgb_printer.icc");
    ASSERT_TRUE(profile);
    std::uint32_t tag = 0, whole = 0;
    ASSERT_TRUE(GetColorProfileElementTag(profile, 1, tag));
    ASSERT_TRUE(GetColorProfileElement(profile, tag, 0, whole, nullptr));
    std::uint32_t size = 0;
    ASSERT_TRUE(GetColorProfileElement(profile, tag, 4, size, nullptr));
    EXPECT_EQ(size, whole - 4);
    std::uint8_t two[2];
    size = 2;
    ASSERT_TRUE(GetColorProfileElement(profile, tag, 0, size, two));
    EXPECT_EQ(size, 2u);
    EXPECT_FALSE(GetColorProfileElement(profile, tag, whole + 1, size, nullptr));
}

TEST(ColourServicesOpen, TagWalkStopsAtEntriesOutsideTheFile)
{
    for (const char* name : {"broken_tag_past_end.icc", "broken_table_past_end.icc"}) {
        auto profile = FixtureServices().OpenProfile(name);
        ASSERT_TRUE(profile) << name;
        const std::uint32_t count = GetCountColorProfileElements(profile);
        std::uint32_t read = 0, tag = 0;
        while (read < count && GetColorProfileElementTag(profile, read + 1, tag))
            ++read;
        EXPECT_LT(read, count) << name;
    }
    // The first entry of this one points past the end: nothing is readable through it.
    auto profile = FixtureServices().OpenProfile("broken_tag_past_end.icc");
    std::uint32_t tag = 0;
    EXPECT_FALSE(GetColorProfileElementTag(profile, 1, tag));
}

TEST(ColourServicesOpen, AdoptedLcmsProfilesStillAnswerTagQueries)
{
    const auto bytes = ReadFile(Fixture("rgb_printer.icc"));
    auto profile = ProfileHandle::Adopt(cmsOpenProfileFromMem(bytes.data(), bytes.size()));
    ASSERT_TRUE(profile);
    const std::uint32_t count = GetCountColorProfileElements(profile);
    EXPECT_GT(count, 0u);
    std::uint32_t tag = 0, size = 0;
    ASSERT_TRUE(GetColorProfileElementTag(profile, 1, tag));
    EXPECT_TRUE(GetColorProfileElement(profile, tag, 0, size, nullptr));
    EXPECT_GT(size, 0u);
    std::uint8_t header[ColourServices::kHeaderSize];
    EXPECT_FALSE(GetColorProfileHeader(profile, header)) << "no stored bytes to copy";
}

TEST(ColourServicesInstalled, RealFoldersListInstalledRgbProfiles)
{
    const std::string srgb = InstalledSrgb();
    const auto folders = ColourServices::DefaultFolders();
    if (srgb.empty() || std::find(folders.begin(), folders.end(), fs::path("/usr/share/color/icc")) == folders.end())
        GTEST_SKIP() << "no installed sRGB profile in the default folders";
    std::vector<std::string> names;
    ASSERT_TRUE(ColourServices().EnumerateProfiles(names));
    const std::string listed = fs::path(srgb).lexically_relative("/usr/share/color/icc").generic_string();
    EXPECT_TRUE(Contains(names, listed)) << listed;
    EXPECT_TRUE(ColourServices().OpenProfile(listed));
    EXPECT_TRUE(ColourServices().OpenProfile(srgb));
}

namespace {

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

// Listing reads headers only, and must keep exactly the files a whole open keeps.
TEST(ColourServicesHeader, ReadsTheHeaderExactlyWhenTheOpenWould)
{
    TempFolder temp;
    const auto printer = ReadFile(FixtureDir() / "rgb_printer.icc");
    ASSERT_GT(printer.size(), 132u);
    // Sparse files at the size limit and just past it, with a real header; a header cut
    // before the tag count; links to a profile and to a FIFO.
    WriteFile(temp.path / "at_limit.icc", {printer.begin(), printer.begin() + 132});
    fs::resize_file(temp.path / "at_limit.icc", ColourServices::kMaxProfileBytes);
    WriteFile(temp.path / "past_limit.icc", {printer.begin(), printer.begin() + 132});
    fs::resize_file(temp.path / "past_limit.icc", ColourServices::kMaxProfileBytes + 1);
    WriteFile(temp.path / "no_tag_count.icc", {printer.begin(), printer.begin() + 130});
    WriteFile(temp.path / "header_only.icc", {printer.begin(), printer.begin() + 132});
    fs::create_symlink(FixtureDir() / "rgb_printer.icc", temp.path / "linked.icc");
    ASSERT_EQ(::mkfifo((temp.path / "fifo.icc").c_str(), 0600), 0);
    fs::create_symlink(temp.path / "fifo.icc", temp.path / "to_fifo.icc");

    struct Case {
        ColourServices services;
        std::vector<std::string> extra; // names not found by the walk
    };
    const Case cases[] = {
        {FixtureServices(), {"missing.icc", "../rgb_printer.icc", Fixture("cmyk_scanner.icc")}},
        {ColourServices({temp.path}), {(temp.path / "fifo.icc").string(), "fifo.icc", "to_fifo.icc"}},
    };
    std::size_t opened = 0;
    for (const auto& c : cases) {
        std::vector<std::string> names;
        ASSERT_TRUE(c.services.EnumerateProfiles(names));
        names.insert(names.end(), c.extra.begin(), c.extra.end());
        for (const auto& name : names) {
            std::uint8_t header[ColourServices::kHeaderSize] = {};
            const bool read = c.services.ReadProfileHeader(name, header);
            ProfileHandle handle = c.services.OpenProfile(name);
            ASSERT_EQ(read, bool(handle)) << name;
            if (!handle)
                continue;
            ++opened;
            std::uint8_t whole[ColourServices::kHeaderSize] = {};
            ASSERT_TRUE(GetColorProfileHeader(handle, whole));
            EXPECT_EQ(0, std::memcmp(header, whole, sizeof header)) << name;
        }
    }
    EXPECT_GT(opened, 10u);
    const ColourServices temps({temp.path});
    std::uint8_t header[ColourServices::kHeaderSize] = {};
    for (const char* name : {"at_limit.icc", "header_only.icc", "linked.icc"})
        EXPECT_TRUE(temps.ReadProfileHeader(name, header)) << name;
    for (const char* name : {"past_limit.icc", "no_tag_count.icc", "fifo.icc", "to_fifo.icc"})
        EXPECT_FALSE(temps.ReadProfileHeader(name, header)) << name;
}

// A listed file exchanged with a FIFO over and over while it is opened: no read may block.
TEST(ColourServicesOpen, FileSwappedForAFifoNeverBlocks)
{
    TempFolder temp;
    fs::copy_file(FixtureDir() / "rgb_printer.icc", temp.path / "swap.icc");
    ASSERT_EQ(::mkfifo((temp.path / "other.icc").c_str(), 0600), 0);
    const ColourServices services({temp.path});

    std::atomic<bool> stop{false};
    auto reader = std::async(std::launch::async, [&] {
        std::uint8_t header[ColourServices::kHeaderSize] = {};
        int rounds = 0;
        while (!stop) {
            services.ReadProfileHeader("swap.icc", header);
            services.OpenProfile("swap.icc");
            services.OpenProfile("other.icc");
            ++rounds;
        }
        return rounds;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    while (std::chrono::steady_clock::now() < until &&
           reader.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        ::renameat2(AT_FDCWD, (temp.path / "swap.icc").c_str(), AT_FDCWD, (temp.path / "other.icc").c_str(),
                    RENAME_EXCHANGE);
    stop = true;
    if (reader.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "an open blocked on the FIFO";
        // Release the blocked reader: a writer end lets its open return.
        while (reader.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
            for (const char* name : {"swap.icc", "other.icc"}) {
                const int fd = ::open((temp.path / name).c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
    }
    EXPECT_GT(reader.get(), 0);
}

// 100,000 files in the first folder used to spend the whole cap on the names: each folder
// now has its share, so a later folder's profiles are still listed.
TEST(ColourServicesEnumerate, AFloodedFolderCannotHideTheNextOne)
{
    TempFolder temp;
    const fs::path flooded = temp.path / "flooded", later = temp.path / "later";
    fs::create_directories(flooded);
    fs::create_directories(later);
    for (std::size_t i = 0; i < ColourServices::kMaxListedPerFolder + 50; ++i)
        std::ofstream{flooded / ("empty_" + std::to_string(i) + ".icc")};
    fs::copy_file(FixtureDir() / "named_rgb_n3.icc", later / "named.icc");

    std::vector<std::string> names;
    ASSERT_TRUE(ColourServices({flooded, later}).EnumerateProfiles(names));
    EXPECT_EQ(names.size(), ColourServices::kMaxListedPerFolder + 1);
    EXPECT_TRUE(Contains(names, "named.icc"));
}
