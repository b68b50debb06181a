#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/ApplicationFolder.h"
#include "app/Preferences.h"
#include "app/Startup.h"
#include "app/Strings.h"
#include "tests/app/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using testing_app::Bytes;

Bytes PrefsBytes(unsigned char language)
{
    const auto bytes = EncodePreferences(language);
    return Bytes(bytes.begin(), bytes.end());
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = testing_app::MakeTestFolder("quillon_startup_");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        SetCurrentLanguage(Language::English);
    }
    FolderInfo Folder() const { return FolderFromWorkingDirectory(dir.string()); }
    std::string Prefs() const { return (dir / kPrefsFileName).string(); }
    void WritePrefs(const Bytes& bytes) const { testing_app::WriteBytes(Prefs(), bytes); }
    Bytes ReadPrefs() const { return testing_app::ReadBytes(Prefs()); }
    fs::path dir;
};

// A screen that answers from a script and records what it was opened with.
struct ScriptedScreen {
    std::vector<int> answers;
    std::vector<int> openedWith;
    int operator()(int index)
    {
        openedWith.push_back(index);
        const std::size_t n = openedWith.size() - 1;
        return n < answers.size() ? answers[n] : index;
    }
};

TEST_F(StartupTest, ScreenLoopAndPreferences)
{
    struct Case {
        const char* what;
        bool hasFile;
        Bytes file;
        std::vector<int> answers;       // what each showing of the screen returns
        std::vector<int> expectOpened;  // the index each showing was opened with
        Language expectLanguage;
    };
    const Case cases[] = {
        {"first start, closed unchanged", false, {}, {0}, {0}, Language::English},
        {"switch to French reopens once", false, {}, {1, 1}, {0, 1}, Language::French},
        {"switch there and back", false, {}, {1, 0, 0}, {0, 1, 0}, Language::English},
        {"stored French", true, PrefsBytes(1), {1}, {1}, Language::French},
        {"stored French, back to English", true, PrefsBytes(1), {0, 0}, {1, 0}, Language::English},
        {"stored odd value counts as French", true, PrefsBytes(5), {1}, {1}, Language::French},
        {"foreign file", true, Bytes(12, 'x'), {0}, {0}, Language::English},
    };
    for (const Case& c : cases) {
        fs::remove(Prefs());
        if (c.hasFile)
            WritePrefs(c.file);
        ScriptedScreen screen{c.answers, {}};
        Language inMainWindow = Language::English;
        std::string folderInMainWindow;
        int mainWindowRuns = 0;
        RunStartup(Folder(), std::ref(screen), [&] {
            ++mainWindowRuns;
            inMainWindow = CurrentLanguage();
            folderInMainWindow = ApplicationFolder();
        });
        EXPECT_EQ(screen.openedWith, c.expectOpened) << c.what;
        EXPECT_EQ(mainWindowRuns, 1) << c.what;
        EXPECT_EQ(inMainWindow, c.expectLanguage) << c.what;
        EXPECT_EQ(folderInMainWindow, dir.string() + "/") << c.what;
        // Always written, before the main window, with a clean magic and 0 or 1.
        EXPECT_EQ(ReadPrefs(), PrefsBytes(c.expectLanguage == Language::French ? 1 : 0)) << c.what;
    }
}

TEST_F(StartupTest, FolderTooLongStartsInEnglishAndWritesNothing)
{
    // Even a readable French file is not consulted nor touched when the folder is over the limit.
    WritePrefs(PrefsBytes(1));
    FolderInfo folder = Folder();
    folder.fits = false;
    ScriptedScreen screen{{1, 1}, {}};
    const std::int16_t language = RunStartup(folder, std::ref(screen), [] {});
    EXPECT_EQ(screen.openedWith, (std::vector<int>{0, 1}));
    EXPECT_EQ(language, 1);
    EXPECT_EQ(ReadPrefs(), PrefsBytes(1)) << "French chosen, yet the old file stays as it was";
    WritePrefs(PrefsBytes(0));
    ScriptedScreen again{{1, 1}, {}};
    RunStartup(folder, std::ref(again), [] {});
    EXPECT_EQ(ReadPrefs(), PrefsBytes(0));
}

TEST_F(StartupTest, RealDeepWorkingDirectory)
{
    // A working directory far beyond 260 bytes: no overflow, English, no prefs.dat.
    fs::path deep = dir;
    while (deep.string().size() < 600)
        deep /= std::string(60, 'q');
    fs::create_directories(deep);
    const fs::path previous = fs::current_path();
    fs::current_path(deep);
    const FolderInfo folder = CurrentFolder();
    ScriptedScreen screen{{0}, {}};
    RunStartup(folder, std::ref(screen), [] {});
    fs::current_path(previous);
    EXPECT_EQ(folder.path, deep.string() + "/");
    EXPECT_FALSE(folder.fits);
    EXPECT_EQ(screen.openedWith, (std::vector<int>{0}));
    EXPECT_FALSE(fs::exists(deep / kPrefsFileName));
}

TEST_F(StartupTest, UnwritableFolderStillRunsTheMainWindow)
{
    fs::create_directory(Prefs()); // prefs.dat cannot be created
    ScriptedScreen screen{{1, 1}, {}};
    int runs = 0;
    RunStartup(Folder(), std::ref(screen), [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(CurrentLanguage(), Language::French);
    EXPECT_TRUE(fs::is_directory(Prefs()));
}

// A working directory whose name is not UTF-8 (Latin-1 "café"): its bytes reach prefs.dat
// and the GLP.icc path unchanged.
TEST(ApplicationFolderBytes, NonUtf8FolderStaysBytes)
{
    const std::string name = "quillon_caf\xe9_" + std::to_string(::getpid());
    const fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const FolderInfo folder = CurrentFolder();
    fs::current_path(previous);
    const std::string bytes = dir.string() + "/";
    EXPECT_EQ(folder.path, bytes);

    RunStartup(folder, [](int index) { return index; }, {});
    EXPECT_EQ(ApplicationFolder(), bytes);
    EXPECT_EQ(ApplicationFolderOrWorkingDirectory(), bytes);
    std::ifstream prefs(bytes + kPrefsFileName, std::ios::binary);
    EXPECT_TRUE(prefs.good()) << "prefs.dat in the folder itself";

    const std::string lab = LabProfilePath(ApplicationFolder());
    EXPECT_EQ(lab, bytes + "GLP.icc");
    std::ofstream(lab) << "x";
    EXPECT_TRUE(fs::is_regular_file(dir / "GLP.icc"));
    SetApplicationFolder({});
    fs::remove_all(dir);
}

TEST(ApplicationFolderBytes, LabProfilePathIsAlwaysAbsolute)
{
    const std::string cwd = CurrentFolder().path;
    ASSERT_FALSE(cwd.empty());
    struct Case {
        std::string folder, path;
    };
    const Case cases[] = {
        {"/a/b/", "/a/b/GLP.icc"},
        {"/a/b", "/a/b/GLP.icc"},
        {"", cwd + "GLP.icc"},
        {"sub", cwd + "sub/GLP.icc"},
        {"/caf\xe9/", "/caf\xe9/GLP.icc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabProfilePath(c.folder), c.path) << c.folder;
}

} // namespace
} // namespace quillon
