#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/ApplicationFolder.h"
#include "app/Preferences.h"
#include "tests/app/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using testing_app::Bytes;

Bytes Magic(Bytes tail = {})
{
    // Sized once: growing by insert trips a false -Warray-bounds in g++ 12.
    Bytes bytes(kPrefsMagic.size() + tail.size());
    std::copy(kPrefsMagic.begin(), kPrefsMagic.end(), bytes.begin());
    std::copy(tail.begin(), tail.end(), bytes.begin() + static_cast<std::ptrdiff_t>(kPrefsMagic.size()));
    return bytes;
}

// A fresh folder per test, removed afterwards.
class PrefsFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = testing_app::MakeTestFolder("quillon_prefs_");
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Path() const { return (folder / kPrefsFileName).string(); }
    void Write(const Bytes& bytes) const { testing_app::WriteBytes(Path(), bytes); }
    Bytes Read() const { return testing_app::ReadBytes(Path()); }
    fs::path folder;
};

TEST_F(PrefsFolder, ReadsTheLanguageFromFileContents)
{
    struct Case {
        const char* what;
        Bytes bytes;
        std::int16_t language;
    };
    Bytes caseDiffers = Magic({1, 0});
    caseDiffers[0] = 'k';
    Bytes noNul = Magic({1, 0});
    noNul[9] = ' ';
    const Case cases[] = {
        {"empty", {}, 0},
        {"magic only", Magic(), 0},
        {"11 bytes, French", Magic({1}), 1},
        {"11 bytes, zero", Magic({0}), 0},
        {"12 bytes, English", Magic({0, 0}), 0},
        {"12 bytes, French", Magic({1, 0}), 1},
        {"little-endian", Magic({0x34, 0x12}), 0x1234},
        {"negative", Magic({0xFF, 0xFF}), -1},
        {"longer file", Magic({1, 0, 7, 7, 7}), 1},
        {"magic differs in case", caseDiffers, 0},
        {"magic without its NUL", noNul, 0},
        {"foreign file", Bytes{'P', 'N', 'G', 0, 1, 2, 3, 4, 5, 6, 1, 0}, 0},
        {"9 bytes of the magic", Bytes(kPrefsMagic.begin(), kPrefsMagic.end() - 1), 0},
    };
    for (const Case& c : cases) {
        Write(c.bytes);
        EXPECT_EQ(ReadPreferences(Path()), c.language) << c.what;
        EXPECT_EQ(ParsePreferences(c.bytes.data(), c.bytes.size()), c.language) << c.what;
    }
    EXPECT_EQ(ParsePreferences(nullptr, 12), 0);
}

TEST_F(PrefsFolder, UnopenableFilesReadAsEnglish)
{
    EXPECT_EQ(ReadPreferences(Path()), 0) << "missing";
    fs::create_directory(Path()); // a folder where the file should be
    EXPECT_EQ(ReadPreferences(Path()), 0) << "folder";
    EXPECT_EQ(ReadPreferences((folder / "none" / kPrefsFileName).string()), 0) << "missing folder";
}

TEST_F(PrefsFolder, WritesTheTwelveBytesExactly)
{
    for (std::int16_t language : {std::int16_t{1}, std::int16_t{0}}) {
        Write(Bytes(40, 0xAA)); // a longer older file is replaced, not patched
        ASSERT_TRUE(WritePreferences(Path(), language));
        EXPECT_EQ(Read(), Magic({static_cast<unsigned char>(language), 0}));
        EXPECT_EQ(ReadPreferences(Path()), language);
    }
    const auto bytes = EncodePreferences(0x0102);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), Magic({0x02, 0x01}));
}

TEST_F(PrefsFolder, UncreatableFileFailsQuietly)
{
    fs::create_directory(Path());
    EXPECT_FALSE(WritePreferences(Path(), 1));
    EXPECT_FALSE(WritePreferences((folder / "none" / kPrefsFileName).string(), 1));
}

// A FIFO or terminal in place of prefs.dat would block a plain open for ever.
TEST_F(PrefsFolder, NonRegularFilesReadAsEnglishWithoutBlocking)
{
    ASSERT_EQ(::mkfifo(Path().c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [this] { return ReadPreferences(Path()); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a FIFO blocked";
        // Release the blocked reader so the test can end.
        const int writer = ::open(Path().c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    EXPECT_EQ(read.get(), 0);

    // A link to a FIFO, and a link to a terminal-like device, are no preferences either.
    const std::string link = (folder / "linked.dat").string();
    fs::create_symlink(Path(), link);
    auto viaLink = std::async(std::launch::async, [&link] { return ReadPreferences(link); });
    if (viaLink.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "reading a link to a FIFO blocked";
        const int writer = ::open(Path().c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    EXPECT_EQ(viaLink.get(), 0);
    fs::remove(link);
    fs::create_symlink("/dev/null", link);
    EXPECT_EQ(ReadPreferences(link), 0);
}

TEST_F(PrefsFolder, LinkToARegularFileIsRead)
{
    const fs::path target = folder / "elsewhere.dat";
    testing_app::WriteBytes(target, Magic({1, 0}));
    fs::create_symlink(target, Path());
    EXPECT_EQ(ReadPreferences(Path()), 1);
}

// Writing replaces prefs.dat itself: a link there is replaced, its target left as it was.
TEST_F(PrefsFolder, WritingNeverGoesThroughALink)
{
    const fs::path target = folder / "precious.txt";
    const Bytes precious(100, 'x');
    testing_app::WriteBytes(target, precious);
    fs::create_symlink(target, Path());
    ASSERT_TRUE(WritePreferences(Path(), 1));
    EXPECT_EQ(testing_app::ReadBytes(target), precious);
    EXPECT_FALSE(fs::is_symlink(Path()));
    EXPECT_EQ(Read(), Magic({1, 0}));

    // A dangling link creates nothing at its target.
    fs::remove(Path());
    const fs::path missing = folder / "missing.txt";
    fs::create_symlink(missing, Path());
    ASSERT_TRUE(WritePreferences(Path(), 0));
    EXPECT_FALSE(fs::exists(fs::symlink_status(missing)));
    EXPECT_FALSE(fs::is_symlink(Path()));
    EXPECT_EQ(Read(), Magic({0, 0}));

    // No temporary file is left behind.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"precious.txt", kPrefsFileName}));
}

TEST(ApplicationFolderTest, TrailingSlashAndLengthLimit)
{
    struct Case {
        std::string cwd;
        std::string folder;
        bool fits;
    };
    const std::string long258 = "/" + std::string(257, 'd');
    const std::string long259 = "/" + std::string(258, 'd');
    const Case cases[] = {
        {"/home/user", "/home/user/", true},
        {"/home/user/", "/home/user/", true},
        {"/", "/", true},
        {"", "", false}, // working directory unknown
        {long258, long258 + "/", true}, // 258 + '/' + terminator = 260 bytes
        {long259, long259 + "/", false},
        {long259.substr(0, 258) + "/", long259.substr(0, 258) + "/", true},
    };
    for (const Case& c : cases) {
        const FolderInfo info = FolderFromWorkingDirectory(c.cwd);
        EXPECT_EQ(info.path, c.folder) << c.cwd.size();
        EXPECT_EQ(info.fits, c.fits) << c.cwd.size();
    }
}

} // namespace
} // namespace quillon
