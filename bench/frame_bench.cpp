// Frame time of the 3D view: four n = 32 shapes in natural colours, translucent, with
// the probe marker shown. Prints the compile time of the four lists and the mean,
// fastest and slowest frame, each frame timed up to glFinish (or the read-back).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QtWidgets/qtestsupport_widgets.h>

#include "tests/view3d/SyntheticShapes.h"
#include "view3d/C3DScrollView.h"
#include "view3d/ContextScope.h"

using namespace quillon;

namespace {

constexpr int kDefaultFrames = 200;
constexpr int kWarmUpFrames = 10;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

class BenchView : public C3DScrollView {
public:
    using C3DScrollView::C3DScrollView;
    using C3DScrollView::RenderScene;
};

struct Figures {
    double mean = 0, fastest = 0, slowest = 0;
};

Figures Summarise(const std::vector<double>& ms)
{
    Figures f;
    f.mean = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size());
    f.fastest = *std::min_element(ms.begin(), ms.end());
    f.slowest = *std::max_element(ms.begin(), ms.end());
    return f;
}

void Turn(QWidget& view, int x)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 100), QPointF(x, 100), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

} // namespace

int main(int argc, char** argv)
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);

    int frames = kDefaultFrames;
    if (argc > 1) {
        frames = std::atoi(argv[1]);
        if (frames < 1 || frames > 100000) {
            std::fprintf(stderr, "frames must be 1..100000\n");
            return 2;
        }
    }

    std::int32_t show = 1;
    float probeL = 60, probeA = 20, probeB = -30;
    BenchView view(nullptr, &show, &probeL, &probeA, &probeB);
    view.resize(kWidth, kHeight);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view) || view.ContextFailed()) {
        std::fprintf(stderr, "no usable OpenGL context (run under xvfb-run -a)\n");
        return 1;
    }

    QElapsedTimer compileTimer;
    compileTimer.start();
    for (std::int16_t i = 0; i < kShapeCount; ++i) {
        auto slot = testing_shapes::Ball(kMaxGridSize, 20.0f + 10.0f * i);
        slot->opacity = 60;
        slot->shapeIndex = i;
        view.CompileShape(i, *slot, i);
        view.Shape(i)->visible = 1;
    }
    {
        ContextScope scope(view);
        glFinish();
    }
    const double compileMs = double(compileTimer.nsecsElapsed()) / 1e6;

    Turn(view, 0); // anchors the drag; every frame below turns the scene by one degree
    std::vector<double> painted, rendered;
    painted.reserve(std::size_t(frames));
    rendered.reserve(std::size_t(frames));
    for (int i = -kWarmUpFrames; i < frames; ++i) {
        Turn(view, i + kWarmUpFrames + 1);
        QElapsedTimer timer;
        timer.start();
        // Qt's own paint path, paintGL into the widget's framebuffer, plus reading it back;
        // repaint() is not used because Qt may defer a GL widget's paint.
        const QImage frame = view.grabFramebuffer();
        const double paintMs = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        {
            ContextScope scope(view);
            view.RenderScene();
            glFinish();
        }
        const double renderMs = double(timer.nsecsElapsed()) / 1e6;
        if (frame.isNull()) {
            std::fprintf(stderr, "frame %d could not be read back\n", i);
            return 1;
        }
        if (i >= 0) {
            painted.push_back(paintMs);
            rendered.push_back(renderMs);
        }
    }

    const Figures p = Summarise(painted);
    const Figures r = Summarise(rendered);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(([&] {
                    ContextScope scope(view);
                    return glGetString(GL_RENDERER);
                })()));
    std::printf("view %dx%d, 4 shapes n=%d natural colours, opacity 60%%, probe shown, %d frames\n", kWidth,
                kHeight, kMaxGridSize, frames);
    std::printf("compile 4 shape lists: %.2f ms\n", compileMs);
    std::printf("RenderScene + glFinish:        mean %.3f ms  min %.3f  max %.3f\n", r.mean, r.fastest, r.slowest);
    std::printf("paintGL + read-back (grab):      mean %.3f ms  min %.3f  max %.3f\n", p.mean, p.fastest,
                p.slowest);
    return 0;
}
