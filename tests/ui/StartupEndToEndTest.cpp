// The program's own start-up (CViewerApp::Run with the main window of main.cpp), driven in
// this process: an outside driver would need X input injection, which this machine lacks.
// Every step waits on the state of the windows (which modal dialog is up, the slot count),
// polled from the event loop, never on time.
#include <cstdlib>
#include <functional>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/ViewerApp.h"
#include "profiles/AddProfileDlg.h"
#include "ui/BuildGamutShapeProgressDlg.h"
#include "ui/ViewerDlg.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

int g_argc = 1;
char g_name[] = "quillon";
char* g_argv[] = {g_name, nullptr};

bool Copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// One step of the session: acts when its condition holds, then the next step waits.
struct Step {
    const char* what;
    std::function<bool()> ready;
    std::function<void()> act;
};

bool BuildRunning()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CBuildGamutShapeProgressDlg*>(w) != nullptr && w->isVisible())
            return true;
    return false;
}

template <typename T> T* ActiveModal()
{
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

TEST(StartupEndToEnd, AddsThreeProfilesThroughTheRealDialogs)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir root(folder.path());
    ASSERT_TRUE(root.mkpath("xdg/icc") && root.mkpath("empty"));
    ASSERT_TRUE(Copy(QStringLiteral(QUILLON_RUN_DIR "/GLP.icc"), root.filePath("GLP.icc")));
    const char* profiles[] = {"rgb_display.icc", "cmyk_output.icc", "six_colour.icc"};
    for (const char* p : profiles)
        ASSERT_TRUE(Copy(QStringLiteral(QUILLON_FIXTURE_DIR "/") + QLatin1String(p),
                         root.filePath(QStringLiteral("xdg/icc/") + QLatin1String(p))));
    setenv("XDG_DATA_HOME", root.filePath("xdg").toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_DIRS", root.filePath("empty").toLocal8Bit().constData(), 1);
    setenv("HOME", root.filePath("empty").toLocal8Bit().constData(), 1);
    ASSERT_EQ(chdir(folder.path().toLocal8Bit().constData()), 0);

    CViewerApp app(g_argc, g_argv);
    std::vector<Step> steps;
    bool sawStartupScreen = false;
    QImage picture;
    std::vector<std::string> listed;
    steps.push_back({"start-up screen", [] { return ActiveModal<CAboutDlg>() != nullptr; },
                     [&] {
                         CAboutDlg* about = ActiveModal<CAboutDlg>();
                         sawStartupScreen = about->LanguageCombo()->isVisible();
                         about->reject(); // Escape: the language stays
                     }});
    int expectedSlots = 0;
    for (const char* p : profiles) {
        const QString name = QLatin1String(p);
        steps.push_back({"main window, Add",
                         [&expectedSlots] {
                             auto* viewer = ActiveModal<CViewerDlg>();
                             return viewer != nullptr && !BuildRunning() && viewer->SlotCount() == expectedSlots;
                         },
                         [] { ActiveModal<CViewerDlg>()->findChild<QPushButton*>("addButton")->click(); }});
        steps.push_back({"add-profile dialog", [] { return ActiveModal<CAddProfileDlg>() != nullptr; },
                         [name, &expectedSlots] {
                             CAddProfileDlg* add = ActiveModal<CAddProfileDlg>();
                             add->ProfileCombo()->setCurrentIndex(add->ProfileCombo()->findText(name));
                             ++expectedSlots;
                             add->accept();
                         }});
    }
    steps.push_back({"three shapes built",
                     [&expectedSlots] {
                         auto* viewer = ActiveModal<CViewerDlg>();
                         return viewer != nullptr && !BuildRunning() && viewer->SlotCount() == expectedSlots;
                     },
                     [&] {
                         CViewerDlg* viewer = ActiveModal<CViewerDlg>();
                         picture = viewer->Viewport()->grabFramebuffer();
                         for (int r = 0; r < viewer->SlotCount(); ++r)
                             listed.push_back(viewer->Slot(r).profile.fileName);
                         viewer->reject(); // asks 1030
                     }});
    steps.push_back({"close question", [] { return ActiveModal<QMessageBox>() != nullptr; },
                     [] {
                         QMessageBox* box = ActiveModal<QMessageBox>();
                         box->button(QMessageBox::Yes)->click();
                     }});

    std::size_t next = 0;
    QTimer driver;
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (next >= steps.size() || !steps[next].ready())
            return;
        // Acting from a fresh event keeps this handler out of the nested loops it opens.
        QTimer::singleShot(0, steps[next].act);
        ++next;
    });
    driver.start();
    app.Run([] {
        CViewerDlg dlg;
        dlg.exec();
    });
    driver.stop();

    EXPECT_EQ(next, steps.size()) << "stopped before: " << (next < steps.size() ? steps[next].what : "");
    EXPECT_TRUE(sawStartupScreen);
    EXPECT_EQ(listed, (std::vector<std::string>{"rgb_display.icc", "cmyk_output.icc", "six_colour.icc"}));

    // The three shapes fill a good part of the view in colour.
    ASSERT_FALSE(picture.isNull());
    int coloured = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            coloured += (qRed(p) + qGreen(p) + qBlue(p)) > 90 ? 1 : 0;
        }
    EXPECT_GT(coloured, picture.width() * picture.height() / 20);

    QFile prefs(root.filePath("prefs.dat"));
    ASSERT_TRUE(prefs.open(QIODevice::ReadOnly));
    const QByteArray bytes = prefs.readAll();
    ASSERT_EQ(bytes.size(), 12);
    EXPECT_EQ(bytes.left(10), QByteArray("Kestra001\0", 10));
    EXPECT_EQ(bytes.at(10), 0);
    EXPECT_EQ(bytes.at(11), 0); // English, unchanged
}

} // namespace
} // namespace quillon
