#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "profiles/ColourServices.h"
#include "ui/SlotList.h"

namespace quillon {
namespace {

ProfileRecord Record(const char* name, std::uint32_t profileClass = sig::Display,
                     std::uint32_t colourSpace = sig::Rgb)
{
    ProfileRecord r;
    std::strncpy(r.fileName, name, ProfileRecord::kNameSize - 1);
    r.profileClass = profileClass;
    r.colourSpace = colourSpace;
    return r;
}

TEST(FindDuplicateSlot, SameClassSpaceAndNameIgnoringCase)
{
    ViewSlot slots[kShapeCount];
    slots[0].profile = Record("sRGB.icc");
    slots[1].profile = Record("press.icc", sig::Output, sig::Cmyk);
    struct Case {
        ProfileRecord chosen;
        int count;
        int expected;
    };
    const Case cases[] = {
        {Record("SRGB.ICC"), 2, 0},
        {Record("srgb.icc", sig::Output), 2, -1},              // other class
        {Record("srgb.icc", sig::Display, sig::Cmyk), 2, -1},  // other colour space
        {Record("PRESS.icc", sig::Output, sig::Cmyk), 2, 1},
        {Record("PRESS.icc", sig::Output, sig::Cmyk), 1, -1},  // slot 1 not in use
        {Record("sRGB.icc2"), 2, -1},
        {Record("sub/sRGB.icc"), 2, -1},                       // whole stored names compared
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindDuplicateSlot(c.chosen, slots, c.count), c.expected) << c.chosen.fileName;
}

TEST(FindDuplicateSlot, UnterminatedStoredNameIsReadToItsEnd)
{
    ViewSlot slots[1];
    std::memset(slots[0].profile.fileName, 'a', ProfileRecord::kNameSize);
    slots[0].profile.profileClass = sig::Display;
    slots[0].profile.colourSpace = sig::Rgb;
    ProfileRecord chosen = slots[0].profile;
    EXPECT_EQ(FindDuplicateSlot(chosen, slots, 1), 0);
}

// Files in a temporary folder: X.icc and x.icc (two files), sub/y.icc, and a link to X.icc.
TEST(FindDuplicateSlot, ResolvedNamesCompareTheFilesTheyStandFor)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("quillon_slots_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "sub");
    for (const char* name : {"X.icc", "x.icc", "sub/y.icc"})
        std::ofstream(root / name) << name;
    fs::create_symlink(root / "X.icc", root / "link.icc");
    const ColourServices services({root});
    const std::string dir = root.string() + "/";

    struct Case {
        std::string used;
        std::string chosen;
        bool duplicate;
    };
    const Case cases[] = {
        {dir + "X.icc", dir + "X.icc", true},
        {dir + "X.icc", dir + "x.icc", false},          // two files, one name in two cases
        {"X.icc", dir + "X.icc", true},                 // listed name and its full path
        {dir + "sub/y.icc", "sub/y.icc", true},
        {dir + "sub/../X.icc", "X.icc", true},
        {"link.icc", dir + "X.icc", true},              // a link and its target
        {"X.icc", "x.icc", false},                      // both listed, both found: two files
        {"gone.icc", "GONE.ICC", true},                 // listed, found nowhere: names compared
        {"X.icc", "x.ICC", true},                       // one listed name found nowhere
        {dir + "gone.icc", "gone.icc", false},          // a missing path and a name found nowhere
        {dir + "gone.icc", dir + "GONE.icc", false},
        {dir + "gone.icc", dir + "./gone.icc", true},
    };
    for (const Case& c : cases) {
        ViewSlot slots[1];
        slots[0].profile = Record(c.used.c_str());
        EXPECT_EQ(FindDuplicateSlot(Record(c.chosen.c_str()), slots, 1, services), c.duplicate ? 0 : -1)
            << c.used << " / " << c.chosen;
        // Class and colour space still have to agree.
        EXPECT_EQ(FindDuplicateSlot(Record(c.chosen.c_str(), sig::Output), slots, 1, services), -1);
    }
    fs::remove_all(root);
}

TEST(RemoveSlotAt, LaterSlotsMoveUpWhole)
{
    ViewSlot slots[kShapeCount];
    for (int i = 0; i < kShapeCount; ++i) {
        slots[i].profile = Record(std::string(1, char('a' + i)).c_str());
        slots[i].shapeIndex = std::int16_t(3 - i);
        slots[i].opacity = std::int16_t(10 * i);
        slots[i].visible = i % 2 == 0;
        slots[i].naturalColours = i < 2;
        slots[i].shape.gridSize = std::int16_t(16 + i);
        slots[i].shape.points[5][7][1] = float(i);
    }
    std::int16_t count = 4;
    RemoveSlotAt(slots, count, 1);
    ASSERT_EQ(count, 3);
    const char* names[] = {"a", "c", "d"};
    const int from[] = {0, 2, 3};
    for (int r = 0; r < 3; ++r) {
        EXPECT_STREQ(slots[r].profile.fileName, names[r]);
        EXPECT_EQ(slots[r].shapeIndex, 3 - from[r]);
        EXPECT_EQ(slots[r].opacity, 10 * from[r]);
        EXPECT_EQ(slots[r].visible, from[r] % 2 == 0);
        EXPECT_EQ(slots[r].naturalColours, from[r] < 2);
        EXPECT_EQ(slots[r].shape.gridSize, 16 + from[r]);
        EXPECT_EQ(slots[r].shape.points[5][7][1], float(from[r]));
    }
    RemoveSlotAt(slots, count, 5);
    RemoveSlotAt(slots, count, -1);
    RemoveSlotAt(slots, count, 3); // not in use
    EXPECT_EQ(count, 3);
}

TEST(DisplayFileName, PartAfterTheLastSeparator)
{
    EXPECT_STREQ(DisplayFileName("sRGB.icc"), "sRGB.icc");
    EXPECT_STREQ(DisplayFileName("C:\\color\\x.icm"), "x.icm");
    EXPECT_STREQ(DisplayFileName("nested/Upper_Case.ICM"), "Upper_Case.ICM");
    EXPECT_STREQ(DisplayFileName("trailing/"), "");
    EXPECT_STREQ(DisplayFileName(""), "");
}

} // namespace
} // namespace quillon
