#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <QIcon>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

#include "app/ApplicationFolder.h"
#include "app/Preferences.h"
#include "app/Strings.h"
#include "app/ViewerApp.h"
#include "tests/app/BoxDriver.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using namespace quillon::testing;

// The whole application object, once per process as in the program: started in a fresh
// folder, the user picks French on the start-up screen, then closes it.
TEST(ViewerAppTest, FirstStartSwitchedToFrench)
{
    const fs::path dir = fs::temp_directory_path() / "quillon_viewer_app";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);

    int argc = 1;
    char name[] = "quillon";
    char* argv[] = {name, nullptr};
    CViewerApp app(argc, argv);

    // Set before the QApplication existed, as the OpenGL viewport needs.
    const QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_EQ(format.depthBufferSize(), 24);
    EXPECT_EQ(format.swapBehavior(), QSurfaceFormat::DoubleBuffer);
    EXPECT_EQ(format.redBufferSize(), 8);
    EXPECT_EQ(format.greenBufferSize(), 8);
    EXPECT_EQ(format.blueBufferSize(), 8);
    EXPECT_FALSE(QApplication::windowIcon().isNull());

    BoxDriver driver({Action::KeyDown, Action::Escape});
    int mainWindowRuns = 0;
    Language inMainWindow = Language::English;
    std::string folder;
    std::vector<unsigned char> prefs;
    const int code = app.Run([&] {
        ++mainWindowRuns;
        inMainWindow = CurrentLanguage();
        folder = ApplicationFolder();
        std::ifstream in(dir / kPrefsFileName, std::ios::binary);
        prefs.assign(std::istreambuf_iterator<char>(in), {});
    });
    fs::current_path(previous);
    fs::remove_all(dir);

    EXPECT_EQ(code, 0);
    ASSERT_EQ(driver.seen.size(), 2u);
    EXPECT_EQ(driver.seen[0].title, "About Quillon");
    EXPECT_EQ(driver.seen[1].title, "Quillon");
    EXPECT_EQ(driver.seen[1].selected, 1);
    EXPECT_TRUE(driver.seen[1].pictureMatches);
    EXPECT_EQ(mainWindowRuns, 1);
    EXPECT_EQ(inMainWindow, Language::French);
    EXPECT_EQ(folder, dir.string() + "/");
    const auto expected = EncodePreferences(1);
    EXPECT_EQ(prefs, std::vector<unsigned char>(expected.begin(), expected.end()));
}

} // namespace
} // namespace quillon
