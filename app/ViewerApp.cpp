#include "app/ViewerApp.h"

namespace quillon {

CViewerApp::CViewerApp(int& argc, char** argv) : m_qt(argc, argv) {}

int CViewerApp::Run(const std::function<void()>& runMainWindow)
{
    runMainWindow();
    return 0;
}

} // namespace quillon
