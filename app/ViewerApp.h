#pragma once
#include <functional>
#include <string>

#include <QApplication>

#include "app/ApplicationFolder.h"
#include "app/Strings.h"

namespace quillon {

// The application object: its Run is the whole life of the program (start-up screen,
// preferences, then the main window run modally). The folder and the language it settles
// are read through ApplicationFolder() and CurrentLanguage().
class CViewerApp {
public:
    CViewerApp(int& argc, char** argv);
    int Run(const std::function<void()>& runMainWindow);

private:
    // Sets the default OpenGL surface format; must run before QApplication is constructed.
    struct SurfaceFormatSetup {
        SurfaceFormatSetup();
    };
    SurfaceFormatSetup m_surfaceFormat;
    QApplication m_qt;
};

} // namespace quillon
