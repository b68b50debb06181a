#include <string>

#include <gtest/gtest.h>

#include "profiles/LoadedProfile.h"
#include "profiles/ProfileRecord.h"
#include "tests/profiles/Fixtures.h"

using namespace quillon;
using namespace quillon::testing;

TEST(LoadedProfileSet, ResultCodesPerFile)
{
    struct Case {
        std::string name;
        LoadResult result;
        std::uint32_t profileClass;
    };
    const Case cases[] = {
        {"rgb_printer.icc", LoadResult::Ok, sig::Output},
        {"cmyk_scanner.icc", LoadResult::Ok, sig::Input},
        {"grey_monitor.icc", LoadResult::Ok, sig::Display},
        {"named_rgb_n3.icc", LoadResult::Ok, sig::NamedColourClass},
        {Fixture("device_link.icc"), LoadResult::Ok, sig::Link},
        {"broken_truncated_header.icc", LoadResult::CannotOpen, 0},
        {"broken_tag_past_end.icc", LoadResult::CannotOpen, 0},
        {"broken_table_past_end.icc", LoadResult::CannotOpen, 0},
        {"broken_zero_length.icc", LoadResult::CannotOpen, 0},
        {"broken_random.icc", LoadResult::CannotOpen, 0},
        {"missing.icc", LoadResult::CannotOpen, 0},
        {std::string(300, 'a') + ".icc", LoadResult::CannotOpen, 0}, // longer than a name holds
    };
    for (const auto& c : cases) {
        const long open = ProfileHandle::OpenCount();
        LoadedProfileSet set(FixtureServices());
        LoadedProfile* profile = nullptr;
        EXPECT_EQ(set.Load(c.name, &profile), c.result) << c.name;
        if (c.result == LoadResult::Ok) {
            ASSERT_NE(profile, nullptr);
            EXPECT_TRUE(profile->valid);
            EXPECT_EQ(profile->fileName, c.name);
            EXPECT_EQ(profile->ProfileClass(), c.profileClass) << c.name;
            EXPECT_GT(profile->tagCount, 0u);
            EXPECT_EQ(set.Count(), 1);
            EXPECT_EQ(set.At(0), profile);
        } else {
            EXPECT_EQ(profile, nullptr);
            EXPECT_EQ(set.Count(), 0) << "a failed load leaves the set as it was";
            EXPECT_EQ(ProfileHandle::OpenCount(), open) << c.name;
        }
    }
}

TEST(LoadedProfileSet, HeaderFieldsComeFromTheStoredHeader)
{
    LoadedProfileSet set(FixtureServices());
    LoadedProfile* profile = nullptr;
    ASSERT_EQ(set.Load("cmyk_scanner.icc", &profile), LoadResult::Ok);
    EXPECT_EQ(profile->ColourSpace(), sig::Cmyk);
    const auto bytes = ReadFile(Fixture("cmyk_scanner.icc"));
    EXPECT_TRUE(std::equal(profile->header, profile->header + 128, bytes.begin()));
    EXPECT_NE(profile->handle.get(), nullptr);
}

TEST(LoadedProfileSet, FiftyFirstProfileIsRefusedAndChangesNothing)
{
    LoadedProfileSet set(FixtureServices());
    for (int i = 0; i < LoadedProfileSet::kMaxProfiles; ++i)
        ASSERT_EQ(set.Load("rgb_printer.icc"), LoadResult::Ok) << i;
    const long open = ProfileHandle::OpenCount();
    LoadedProfile* profile = nullptr;
    EXPECT_EQ(set.Load("grey_monitor.icc", &profile), LoadResult::SetFull);
    EXPECT_EQ(set.LoadFromMemory("x", 1, &profile), LoadResult::SetFull);
    EXPECT_EQ(profile, nullptr);
    EXPECT_EQ(set.Count(), 50);
    EXPECT_EQ(ProfileHandle::OpenCount(), open);
    EXPECT_EQ(set.At(50), nullptr);
}

TEST(LoadedProfileSet, MoreThanTwoHundredTagsLoadsTheFirstTwoHundred)
{
    LoadedProfileSet set(FixtureServices());
    LoadedProfile* profile = nullptr;
    ASSERT_EQ(set.Load("many_tags.icc", &profile), LoadResult::Ok);
    EXPECT_EQ(GetCountColorProfileElements(profile->handle), 250u);
    ASSERT_EQ(profile->tagCount, 200u);
    EXPECT_EQ(profile->tags[0], MakeSignature('T', '0', '0', '0'));
    EXPECT_EQ(profile->tags[199], MakeSignature('T', '1', '9', '9'));
}

TEST(LoadedProfileSet, ReleaseAllAndDestructionCloseEveryHandle)
{
    const long open = ProfileHandle::OpenCount();
    {
        LoadedProfileSet set(FixtureServices());
        ASSERT_EQ(set.Load("rgb_printer.icc"), LoadResult::Ok);
        ASSERT_EQ(set.Load(QUILLON_RUN_DIR "/GLP.icc"), LoadResult::Ok); // loaded by a later step of the same operation
        EXPECT_EQ(ProfileHandle::OpenCount(), open + 2);
        set.ReleaseAll();
        EXPECT_EQ(set.Count(), 0);
        EXPECT_EQ(ProfileHandle::OpenCount(), open);
        ASSERT_EQ(set.Load("cmyk_scanner.icc"), LoadResult::Ok);
        ASSERT_EQ(set.Load("grey_monitor.icc"), LoadResult::Ok);
        EXPECT_EQ(ProfileHandle::OpenCount(), open + 2);
    }
    EXPECT_EQ(ProfileHandle::OpenCount(), open);
}

TEST(LoadedProfileSet, LoadsFromMemoryWithTheSameChecks)
{
    const auto good = ReadFile(Fixture("rgb_printer.icc"));
    const auto broken = ReadFile(Fixture("broken_tag_past_end.icc"));
    LoadedProfileSet set(FixtureServices());
    EXPECT_EQ(set.LoadFromMemory(good.data(), good.size()), LoadResult::Ok);
    EXPECT_EQ(set.LoadFromMemory(broken.data(), broken.size()), LoadResult::CannotOpen);
    EXPECT_EQ(set.LoadFromMemory(nullptr, 10), LoadResult::CannotOpen);
    EXPECT_EQ(set.Count(), 1);
}
