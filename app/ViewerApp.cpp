#include "app/ViewerApp.h"

#include <QIcon>
#include <QSurfaceFormat>

#include "app/Startup.h"
#include "resources/Resources.h"

namespace quillon {

CViewerApp::SurfaceFormatSetup::SurfaceFormatSetup()
{
    // The viewport draws with OpenGL 1.1 display lists and immediate mode.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
}

CViewerApp::CViewerApp(int& argc, char** argv) : m_qt(argc, argv)
{
    EnsureResources();
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillon/icon.png")));
    // Only modal dialogs run: closing one must not end the process before start-up is done.
    QApplication::setQuitOnLastWindowClosed(false);
}

int CViewerApp::Run(const std::function<void()>& runMainWindow)
{
    RunStartup(CurrentFolder(), ShowAboutBoxAsStartupScreen, runMainWindow);
    return 0;
}

} // namespace quillon
