#include <QApplication>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

// One QApplication for the whole run, with the legacy GL format the viewport needs; the
// display comes from xvfb-run.
int main(int argc, char** argv)
{
    // Listing the tests needs no display; running them does (xvfb-run).
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
