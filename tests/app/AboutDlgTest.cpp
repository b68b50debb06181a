#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/Preferences.h"
#include "app/Startup.h"
#include "app/Strings.h"
#include "tests/app/BoxDriver.h"
#include "tests/app/TestFiles.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using namespace quillon::testing;

class AboutDlgTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentLanguage(Language::English); }
};

const QStringList kLanguageItems = {"English", QString::fromUtf8("Français")};

TEST_F(AboutDlgTest, OneShowingPerCase)
{
    struct Case {
        const char* what;
        Language builtIn;
        bool selector;
        int indexIn;
        Action action;
        const char* title;
        int indexOut;
        int result;
        Language languageAfter;
    };
    const Case cases[] = {
        {"start-up screen, English, Escape", Language::English, true, 0, Action::Escape, "About Quillon", 0,
         QDialog::Rejected, Language::English},
        {"choose French", Language::English, true, 0, Action::KeyDown, "About Quillon", 1, QDialog::Accepted,
         Language::French},
        {"French, choose English", Language::French, true, 1, Action::KeyUp, "Quillon", 0, QDialog::Accepted,
         Language::English},
        {"re-choosing the current entry closes", Language::French, true, 1, Action::ReselectCurrent, "Quillon", 1,
         QDialog::Accepted, Language::French},
        {"Enter closes", Language::English, true, 0, Action::Enter, "About Quillon", 0, QDialog::Accepted,
         Language::English},
        {"close box", Language::French, true, 1, Action::CloseBox, "Quillon", 1, QDialog::Rejected,
         Language::French},
        {"about box in French, no selector", Language::French, false, 1, Action::Escape, "Quillon", 1,
         QDialog::Rejected, Language::French},
        {"about box in English, no selector", Language::English, false, 0, Action::Enter, "About Quillon", 0,
         QDialog::Accepted, Language::English},
    };
    for (const Case& c : cases) {
        SetCurrentLanguage(c.builtIn);
        CAboutDlg box;
        box.showLanguageSelector = c.selector;
        box.languageIndex = c.indexIn;
        BoxDriver driver({c.action});
        const int result = box.exec();
        ASSERT_EQ(driver.seen.size(), 1u) << c.what;
        const Seen& seen = driver.seen[0];
        EXPECT_EQ(seen.title, c.title) << c.what;
        EXPECT_EQ(seen.selectorVisible, c.selector) << c.what;
        EXPECT_EQ(seen.items, kLanguageItems) << c.what;
        EXPECT_EQ(seen.selected, c.indexIn) << c.what;
        EXPECT_EQ(seen.pictureSize, QSize(800, 600)) << c.what;
        EXPECT_TRUE(seen.pictureMatches) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(box.languageIndex, c.indexOut) << c.what;
        EXPECT_EQ(CurrentLanguage(), c.languageAfter) << c.what;
    }
}

TEST_F(AboutDlgTest, DefaultsAndPicturesDifferPerLanguage)
{
    CAboutDlg box;
    EXPECT_FALSE(box.showLanguageSelector);
    EXPECT_EQ(box.languageIndex, 0);
    const QImage english(CAboutDlg::PicturePath(Language::English));
    const QImage french(CAboutDlg::PicturePath(Language::French));
    EXPECT_EQ(english.size(), QSize(800, 600));
    EXPECT_EQ(french.size(), QSize(800, 600));
    EXPECT_NE(english, french);
    EXPECT_EQ(QImage(":/quillon/icon.png").isNull(), false);
}

// The real start-up sequence with the real boxes, driven from a timer.
class StartupScreenTest : public AboutDlgTest {
protected:
    void SetUp() override
    {
        dir = testing_app::MakeTestFolder("quillon_screen_");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        AboutDlgTest::TearDown();
    }
    std::vector<unsigned char> Prefs() const { return testing_app::ReadBytes(dir / kPrefsFileName); }
    fs::path dir;
};

TEST_F(StartupScreenTest, SwitchingLanguageReopensTheScreen)
{
    struct Case {
        const char* what;
        std::vector<Action> actions;
        std::vector<const char*> titles; // one per showing
        std::vector<int> selected;
        Language mainWindow;
    };
    const Case cases[] = {
        {"Escape keeps English", {Action::Escape}, {"About Quillon"}, {0}, Language::English},
        {"French reopens once in French", {Action::KeyDown, Action::Escape}, {"About Quillon", "Quillon"}, {0, 1},
         Language::French},
        {"next start in French, re-choose French", {Action::ReselectCurrent}, {"Quillon"}, {1}, Language::French},
        {"back to English", {Action::KeyUp, Action::Enter}, {"Quillon", "About Quillon"}, {1, 0},
         Language::English},
    };
    // The cases run in order on one folder: each start reads what the previous one wrote.
    for (const Case& c : cases) {
        BoxDriver driver(c.actions);
        Language inMainWindow = Language::English;
        std::vector<unsigned char> prefsWhenMainWindowRan;
        RunStartup(FolderFromWorkingDirectory(dir.string()), ShowAboutBoxAsStartupScreen, [&] {
            inMainWindow = CurrentLanguage();
            prefsWhenMainWindowRan = Prefs();
        });
        ASSERT_EQ(driver.seen.size(), c.titles.size()) << c.what;
        for (std::size_t i = 0; i < c.titles.size(); ++i) {
            EXPECT_EQ(driver.seen[i].title, c.titles[i]) << c.what << " showing " << i;
            EXPECT_EQ(driver.seen[i].selected, c.selected[i]) << c.what << " showing " << i;
            EXPECT_TRUE(driver.seen[i].selectorVisible) << c.what;
            EXPECT_TRUE(driver.seen[i].pictureMatches) << c.what;
        }
        EXPECT_EQ(inMainWindow, c.mainWindow) << c.what;
        const auto expected = EncodePreferences(c.mainWindow == Language::French ? 1 : 0);
        EXPECT_EQ(prefsWhenMainWindowRan, std::vector<unsigned char>(expected.begin(), expected.end())) << c.what;
    }
}

} // namespace
} // namespace quillon
