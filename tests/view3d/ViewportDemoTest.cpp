#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "tests/view3d/SyntheticShapes.h"
#include "tests/view3d/ViewTestSupport.h"

using namespace quillon;
using namespace quillon::testing_view;

namespace {

void Move(QWidget& view, int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                      Qt::LeftButton, modifiers);
    QApplication::sendEvent(&view, &event);
}

void Wheel(QWidget& view, int notchesForward)
{
    const QPointF at(200, 150);
    QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120 * notchesForward), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &event);
}

int ShapePixels(const QImage& image)
{
    return CountWhere(image, [](QRgb p) { return qGreen(p) > 60 && qRed(p) < 40 && qBlue(p) < 40; });
}

} // namespace

// What a user does: add a shape, turn it, zoom it, snap to the top view.
TEST(ViewportDemo, TurnZoomAndSnapToTheTopView)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto slot = testing_shapes::Prism(4, 40, 20, 80);
    slot->naturalColours = false;
    ASSERT_TRUE(view->CompileShape(0, *slot, 2));
    view->Shape(0)->visible = 1;
    const QImage start = view->grabFramebuffer();
    const int startPixels = ShapePixels(start);
    EXPECT_GT(startPixels, 1000);

    // Press and release without moving: nothing changes.
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    EXPECT_EQ(view->grabFramebuffer(), start);

    // Drag right by 45 pixels: turned about the vertical, same size.
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    Move(*view, 200, 150); // anchors only
    EXPECT_EQ(view->Camera().m_nRotY, 30);
    Move(*view, 245, 150);
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(245, 150));
    EXPECT_EQ(view->Camera().m_nRotY, 75);
    const QImage turned = view->grabFramebuffer();
    EXPECT_NE(turned, start);
    const int turnedPixels = ShapePixels(turned);
    EXPECT_NEAR(turnedPixels, startPixels, startPixels * 0.3);

    // Control-drag upwards: ten messages of x 1.05 make the shape about 1.6 times wider.
    QTest::mousePress(view.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(200, 200));
    Move(*view, 200, 200, Qt::ControlModifier);
    for (int y = 199; y >= 190; --y)
        Move(*view, 200, y, Qt::ControlModifier);
    QTest::mouseRelease(view.get(), Qt::LeftButton, Qt::ControlModifier, QPoint(200, 190));
    EXPECT_NEAR(view->Camera().m_dZoom, std::pow(1.05, 10), 1e-9);
    const QImage zoomed = view->grabFramebuffer();
    EXPECT_GT(ShapePixels(zoomed), turnedPixels * 2);

    // Top view: looking down L*, the square cross-section of the prism.
    view->TopView();
    const QImage top = view->grabFramebuffer();
    EXPECT_NE(top, zoomed);
    EXPECT_EQ(view->Camera().m_nRotX, 90);
    EXPECT_EQ(view->Camera().m_nRotY, 0);
    // Off the axes (which lie above the shape and cross the middle), the square is solid.
    EXPECT_TRUE(Near(top.pixel(175, 175), {0, 204, 0}, 2));
    EXPECT_TRUE(IsBlack(top.pixel(100, 50)));

    // The same zoom after another history gives the same top-view picture.
    auto other = ShownView();
    ASSERT_TRUE(other);
    ASSERT_TRUE(other->CompileShape(0, *slot, 2));
    other->Shape(0)->visible = 1;
    Move(*other, 10, 10, Qt::ControlModifier);
    for (int y = 9; y >= 0; --y)
        Move(*other, 10, y, Qt::ControlModifier);
    Move(*other, 300, 250); // a long jump of a rotation
    other->TopView();
    EXPECT_EQ(other->grabFramebuffer(), top);
}

// The wheel zooms like Control-drag messages, and far enough out for a shape past the frame.
TEST(ViewportDemo, WheelZoomsOutBelowTheStartAndBackIn)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto slot = testing_shapes::Prism(4, 40, 20, 80);
    slot->naturalColours = false;
    ASSERT_TRUE(view->CompileShape(0, *slot, 2));
    view->Shape(0)->visible = 1;
    const int startPixels = ShapePixels(view->grabFramebuffer());

    Wheel(*view, -1);
    EXPECT_DOUBLE_EQ(view->Camera().m_dZoom, 1 / 1.1);
    for (int i = 0; i < 10; ++i)
        Wheel(*view, -1);
    EXPECT_EQ(view->Camera().m_dZoom, 0.5);
    const int outPixels = ShapePixels(view->grabFramebuffer());
    // Half the size across: about a quarter of the area.
    EXPECT_LT(outPixels, startPixels * 0.4);
    EXPECT_GT(outPixels, startPixels * 0.15);

    Wheel(*view, 2);
    EXPECT_DOUBLE_EQ(view->Camera().m_dZoom, 0.5 * 1.05 * 1.05);
    EXPECT_EQ(view->Camera().m_nRotX, 30);
    EXPECT_EQ(view->Camera().m_nRotY, 30);
}
