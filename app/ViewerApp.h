#pragma once
#include <functional>

#include <QApplication>

namespace quillon {

class CViewerApp {
public:
    CViewerApp(int& argc, char** argv);
    int Run(const std::function<void()>& runMainWindow);

private:
    QApplication m_qt;
};

} // namespace quillon
