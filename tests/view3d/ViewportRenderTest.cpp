#include <array>
#include <cmath>

#include <QLabel>
#include <gtest/gtest.h>

#include "tests/view3d/SyntheticShapes.h"
#include "tests/view3d/ViewTestSupport.h"
#include "view3d/GlyphBitmaps.h"

using namespace quillon;
using namespace quillon::testing_view;
using testing_shapes::Prism;

namespace {

// Shape colours over black, as grabFramebuffer reads them: 0.8 * alpha * 255.
int Blended(double channel, double alpha) { return int(std::lround(channel * alpha * 255.0)); }

} // namespace

TEST(Viewport, EmptySceneIsBlackWithTheEightHalfAxesAndSixLabels)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    ASSERT_FALSE(view->ContextFailed());
    const QImage image = view->grabFramebuffer();
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));

    struct Axis {
        const char* name;
        double x, y, z; // the segment's middle
        Rgb colour;
    };
    const Axis axes[] = {
        {"a- L0", -0.78, -0.6, 0, {0, 178, 0}},      {"a+ L0", 0.78, -0.6, 0, {178, 0, 0}},
        {"b+ L0", 0, -0.6, -0.78, {178, 178, 0}},    {"b- L0", 0, -0.6, 0.78, {0, 0, 178}},
        {"a- L100", -0.78, 0.6, 0, {127, 255, 127}}, {"a+ L100", 0.78, 0.6, 0, {255, 127, 127}},
        {"b+ L100", 0, 0.6, -0.78, {255, 255, 127}}, {"b- L100", 0, 0.6, 0.78, {127, 127, 255}},
    };
    for (const Axis& a : axes) {
        const Pixel p = Project(view->Camera(), a.x, a.y, a.z);
        ASSERT_TRUE(p.inside) << a.name;
        EXPECT_GT(CountNear(image, p.x, p.y, 2, 2, 2, 2, a.colour, 2), 0) << a.name;
    }

    struct Text {
        const char* text;
        double x, y, z;
        Rgb colour;
    };
    const Text labels[] = {
        {"L100", 0, 0.72, 0, {255, 255, 255}}, {"L0", 0, -0.72, 0, {76, 76, 76}},
        {"a+", 1.62, 0, 0, {255, 0, 0}},       {"a-", -1.62, 0, 0, {0, 255, 0}},
        {"b-", 0, 0, 1.62, {0, 0, 255}},       {"b+", 0, 0, -1.62, {255, 255, 0}},
    };
    for (const Text& t : labels) {
        const Pixel p = Project(view->Camera(), t.x, t.y, t.z);
        ASSERT_TRUE(p.inside) << t.text;
        // Glyphs grow right of and above the raster position (the baseline).
        EXPECT_GT(CountNear(image, p.x, p.y, 1, 60, 20, 6, t.colour, 1), 15) << t.text;
    }

    // The middle of the L* axis (nothing there: no vertical axis) and the corners.
    for (QPoint at : {QPoint(kWidth / 2, kHeight / 2), QPoint(0, 0), QPoint(kWidth - 1, kHeight - 1)})
        EXPECT_TRUE(IsBlack(image.pixel(at))) << at.x() << "," << at.y();
    // Axes and labels only: most of the frame stays black.
    EXPECT_GT(CountWhere(image, IsBlack), kWidth * kHeight * 9 / 10);
}

TEST(Viewport, SolidShapeShowsItsRowColourWithItsAlphaAndAnOpaqueFootprint)
{
    struct Case {
        std::int16_t shapeIndex;
        std::int16_t row;
        std::int16_t opacity;
    };
    // Row colour follows the row argument, not the shape index.
    const Case cases[] = {{2, 2, 50}, {2, 2, 100}, {0, 2, 25}, {1, 1, 50}, {3, 0, 80}, {0, 3, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << c.shapeIndex << " row " << c.row << " opacity " << c.opacity);
        auto view = ShownView();
        ASSERT_TRUE(view);
        auto slot = Prism(4, 60, 20, 80);
        slot->naturalColours = false;
        slot->opacity = c.opacity;
        slot->shapeIndex = c.shapeIndex;
        ASSERT_TRUE(view->CompileShape(c.shapeIndex, *slot, c.row));
        EXPECT_EQ(view->Shape(c.shapeIndex)->inUse, 1);
        EXPECT_EQ(view->Shape(c.shapeIndex)->listIndex, c.shapeIndex);
        view->Shape(c.shapeIndex)->visible = 1;
        const QImage image = view->grabFramebuffer();

        const MeshColour& rc = kRowColours[c.row];
        const double alpha = c.opacity / 100.0;
        const Rgb surface{Blended(rc.red, alpha), Blended(rc.green, alpha), Blended(rc.blue, alpha)};
        EXPECT_TRUE(Near(image.pixel(kWidth / 2, kHeight / 2), surface, 2))
            << std::hex << image.pixel(kWidth / 2, kHeight / 2);

        // The footprint edge nearest the eye is not behind the shape.
        const double k = 0.012 * 60 * std::sqrt(0.5);
        const std::array<std::array<double, 2>, 4> edges = {{{0, -k}, {-k, 0}, {0, k}, {k, 0}}};
        Pixel nearest;
        nearest.eyeZ = -1e9;
        for (const auto& e : edges) {
            const Pixel p = Project(view->Camera(), e[0], -0.6, e[1]);
            if (p.eyeZ > nearest.eyeZ)
                nearest = p;
        }
        const Rgb opaque{Blended(rc.red, 1), Blended(rc.green, 1), Blended(rc.blue, 1)};
        EXPECT_GT(CountNear(image, nearest.x, nearest.y, 2, 2, 2, 2, opaque, 2), 0);
    }
}

TEST(Viewport, OnlyTheOuterSurfaceIsDrawn)
{
    // At half opacity one layer reads 102; a back face under a front face would add up.
    const ViewCamera cameras[] = {{}, {10, 200, 1.0, kNoAnchor}, {-40, 135, 1.0, kNoAnchor}};
    for (const ViewCamera& camera : cameras) {
        auto view = ShownView();
        ASSERT_TRUE(view);
        // Drive the camera as a user would.
        QMouseEvent anchor(QEvent::MouseMove, QPointF(1000, 1000), QPointF(1000, 1000), Qt::NoButton,
                           Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &anchor);
        QMouseEvent turn(QEvent::MouseMove, QPointF(1000 + camera.m_nRotY - 30, 1000 + camera.m_nRotX - 30),
                         QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &turn);
        ASSERT_EQ(view->Camera().m_nRotX, camera.m_nRotX);
        ASSERT_EQ(view->Camera().m_nRotY, camera.m_nRotY);

        auto slot = Prism(8, 60, 20, 80, 0.0f);
        slot->opacity = 50;
        ASSERT_TRUE(view->CompileShape(0, *slot, 2));
        view->Shape(0)->visible = 1;
        const QImage image = view->grabFramebuffer();
        const int single = CountWhere(image, [](QRgb p) {
            return qRed(p) == 0 && qBlue(p) == 0 && std::abs(qGreen(p) - 102) <= 2;
        });
        const int doubled = CountWhere(image, [](QRgb p) {
            return qRed(p) == 0 && qBlue(p) == 0 && std::abs(qGreen(p) - 153) <= 3;
        });
        SCOPED_TRACE(testing::Message() << "rot " << camera.m_nRotX << "," << camera.m_nRotY);
        EXPECT_GT(single, 2000);
        EXPECT_EQ(doubled, 0);
    }
}

TEST(Viewport, ShapesAreDrawnInAscendingSortKeyWhateverTheirEntryOrder)
{
    // Four identical translucent shapes at the same depth: each one blends over the
    // ones drawn before it, so the centre pixel spells out the order.
    const std::array<std::array<float, 4>, 5> keyOrders = {{
        {1, 2, 3, 4}, {4, 3, 2, 1}, {2, 4, 1, 3}, {3, 1, 4, 2}, {-5, 10, 0, 7},
    }};
    for (const auto& keys : keyOrders) {
        auto view = ShownView();
        ASSERT_TRUE(view);
        auto slot = Prism(4, 60, 20, 80);
        slot->opacity = 50;
        for (std::int16_t i = 0; i < 4; ++i) {
            ASSERT_TRUE(view->CompileShape(i, *slot, i));
            view->Shape(i)->visible = 1;
            view->Shape(i)->sortKey = keys[std::size_t(i)];
        }
        std::array<int, 4> order = {0, 1, 2, 3};
        std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
        double r = 0, g = 0, b = 0;
        for (int i : order) {
            const MeshColour& c = kRowColours[i];
            r = c.red * 0.5 + r * 0.5;
            g = c.green * 0.5 + g * 0.5;
            b = c.blue * 0.5 + b * 0.5;
        }
        const QImage image = view->grabFramebuffer();
        const QRgb centre = image.pixel(kWidth / 2, kHeight / 2);
        EXPECT_TRUE(Near(centre, {int(std::lround(r * 255)), int(std::lround(g * 255)), int(std::lround(b * 255))}, 3))
            << "keys " << keys[0] << " " << keys[1] << " " << keys[2] << " " << keys[3] << ": got " << qRed(centre)
            << "," << qGreen(centre) << "," << qBlue(centre);
    }
}

TEST(Viewport, EntryIsDrawnOnlyWhenInUseAndVisible)
{
    struct Case {
        std::int32_t inUse, visible;
        bool drawn;
    };
    const Case cases[] = {{1, 1, true}, {1, 0, false}, {0, 1, false}, {0, 0, false}};
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto slot = Prism(4, 60, 20, 80);
    ASSERT_TRUE(view->CompileShape(1, *slot, 1));
    for (const auto& c : cases) {
        view->Shape(1)->inUse = c.inUse;
        view->Shape(1)->visible = c.visible;
        const QImage image = view->grabFramebuffer();
        EXPECT_EQ(Near(image.pixel(kWidth / 2, kHeight / 2), {0, 0, 204}, 2), c.drawn)
            << "inUse " << c.inUse << " visible " << c.visible;
    }
    // Remove: the host clears inUse and deletes the list; nothing is left to draw.
    view->Shape(1)->inUse = 0;
    view->DeleteShapeList(1);
    EXPECT_TRUE(IsBlack(view->grabFramebuffer().pixel(kWidth / 2, kHeight / 2)));
}

TEST(Viewport, ProbeMarkerNeedsAllFourReferencesAndANonZeroFlag)
{
    std::int32_t show = 1;
    float l = 50, a = 0, b = 0;
    struct Case {
        const std::int32_t* flag;
        const float *pl, *pa, *pb;
        std::int32_t flagValue;
        bool drawn;
    };
    const Case cases[] = {
        {&show, &l, &a, &b, 1, true},     {&show, &l, &a, &b, -7, true},   {&show, &l, &a, &b, 0, false},
        {nullptr, &l, &a, &b, 1, false},  {&show, nullptr, &a, &b, 1, false}, {&show, &l, nullptr, &b, 1, false},
        {&show, &l, &a, nullptr, 1, false},
    };
    auto view = ShownView();
    ASSERT_TRUE(view);
    for (const auto& c : cases) {
        show = c.flagValue;
        view->SetProbeReferences(c.flag, c.pl, c.pa, c.pb);
        const QImage image = view->grabFramebuffer();
        const int lit = CountNear(image, kWidth / 2, kHeight / 2, 3, 3, 3, 3, {0, 0, 0}, 0);
        EXPECT_EQ(lit < 49, c.drawn) << "case flag " << c.flagValue << " " << (c.flag != nullptr) << (c.pl != nullptr)
                                     << (c.pa != nullptr) << (c.pb != nullptr);
    }
}

TEST(Viewport, ProbeMarkerMovesWithTheProbeValuesWithoutRecompiling)
{
    std::int32_t show = 1;
    float l = 50, a = 0, b = 0;
    auto view = ShownView();
    ASSERT_TRUE(view);
    view->SetProbeReferences(&show, &l, &a, &b);
    struct Place {
        float l, a, b;
    };
    const Place places[] = {{50, 0, 0}, {50, 60, 0}, {80, -40, 30}, {20, 10, -70}};
    for (const Place& at : places) {
        l = at.l, a = at.a, b = at.b; // the host changes its values and invalidates
        view->Invalidate();
        const QImage image = view->grabFramebuffer();
        const Pixel p = Project(view->Camera(), 0.012 * at.a, 0.012 * (at.l - 50), -0.012 * at.b);
        SCOPED_TRACE(testing::Message() << "probe " << at.l << " " << at.a << " " << at.b);
        // The marker's corners are red, green, blue and white; its middle mixes them.
        EXPECT_LT(CountNear(image, p.x, p.y, 3, 3, 3, 3, {0, 0, 0}, 0), 49);
        for (const Place& other : places) {
            if (&other == &at)
                continue;
            const Pixel q = Project(view->Camera(), 0.012 * other.a, 0.012 * (other.l - 50), -0.012 * other.b);
            EXPECT_EQ(CountNear(image, q.x, q.y, 2, 2, 2, 2, {0, 0, 0}, 0), 25) << "old place still lit";
        }
    }
}

TEST(Viewport, ProjectionKeepsThirtyDegreesAndStaysFiniteAtZeroHeight)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    struct Case {
        int width, height;
        double aspect;
    };
    const Case cases[] = {{400, 300, 4.0 / 3.0}, {300, 600, 0.5}, {100, 0, 1.0}, {0, 0, 1.0}, {0, 50, 1.0}};
    const double f = 1.0 / std::tan(15.0 * M_PI / 180.0);
    for (const auto& c : cases) {
        ContextScope scope(*view);
        ASSERT_TRUE(scope);
        view->SetProjection(c.width, c.height);
        double m[16] = {};
        glGetDoublev(GL_PROJECTION_MATRIX, m);
        for (double v : m)
            EXPECT_TRUE(std::isfinite(v)) << c.width << "x" << c.height;
        EXPECT_NEAR(m[5], f, 1e-5); // GL keeps matrices in single precision
        EXPECT_NEAR(m[0], f / c.aspect, 1e-5) << c.width << "x" << c.height;
        GLint matrixMode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
        EXPECT_EQ(matrixMode, GL_PROJECTION);
    }
    view->resize(kWidth, kHeight + 1);
    view->resize(kWidth, kHeight);
    EXPECT_FALSE(view->grabFramebuffer().isNull());
}

TEST(Viewport, ShapeCompiledBeforeTheContextExistsIsDrawnOnceItDoes)
{
    auto view = std::make_unique<TestView>();
    auto slot = Prism(4, 60, 20, 80);
    ASSERT_TRUE(view->CompileShape(0, *slot, 2));
    view->Shape(0)->visible = 1;
    EXPECT_EQ(view->Shape(0)->inUse, 1);
    view->resize(kWidth, kHeight);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_TRUE(Near(view->grabFramebuffer().pixel(kWidth / 2, kHeight / 2), {0, 204, 0}, 2));
}

TEST(Viewport, CompileShapeRefusesIndicesRowsAndGridSizesOutOfRange)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto slot = Prism(4, 60, 20, 80);
    EXPECT_FALSE(view->CompileShape(4, *slot, 0));
    EXPECT_FALSE(view->CompileShape(-1, *slot, 0));
    EXPECT_FALSE(view->CompileShape(0, *slot, 4));
    slot->shape.gridSize = 40;
    EXPECT_FALSE(view->CompileShape(0, *slot, 0));
    EXPECT_EQ(view->Shape(0)->inUse, 0);
    EXPECT_EQ(view->Shape(4), nullptr);
    EXPECT_EQ(view->Shape(-1), nullptr);
}

TEST(Viewport, RecompileStartsTheSortKeyAfresh)
{
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto wide = Prism(4, 60, 20, 80, 90.0f);
    auto narrow = Prism(4, 10, 20, 80, 90.0f);
    ASSERT_TRUE(view->CompileShape(0, *wide, 0));
    EXPECT_FLOAT_EQ(view->Shape(0)->sortKey, 60.0f);
    view->DeleteShapeList(0);
    ASSERT_TRUE(view->CompileShape(0, *narrow, 0));
    EXPECT_FLOAT_EQ(view->Shape(0)->sortKey, 10.0f);
}

TEST(Viewport, AContextWithoutTheLegacyFunctionsShowsAReadableErrorInstead)
{
    auto view = std::make_unique<TestView>();
    QSurfaceFormat core;
    core.setProfile(QSurfaceFormat::CoreProfile);
    core.setVersion(3, 3);
    view->setFormat(core);
    view->resize(kWidth, kHeight);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QApplication::processEvents();
    EXPECT_TRUE(view->ContextFailed());
    auto* label = view->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->text().contains("OpenGL"));
    EXPECT_GT(label->width(), kWidth / 2);
    // Everything else keeps working without drawing.
    auto slot = Prism(4, 60, 20, 80);
    EXPECT_TRUE(view->CompileShape(0, *slot, 0));
    view->TopView();
    view->repaint();
    const QImage shot = view->grab().toImage();
    EXPECT_GT(CountWhere(shot, [](QRgb p) { return !IsBlack(p); }), kWidth * kHeight / 2); // the label's page
    view->SetContextErrorText("autre texte");
    EXPECT_EQ(view->ContextErrorText(), "autre texte");
}

TEST(GlyphBitmaps, NinetySixBoldSerifGlyphsOfAboutTwentyFourPixels)
{
    const auto glyphs = RasteriseGlyphs(LabelFont(), 32, 96);
    ASSERT_EQ(glyphs.size(), 96u);
    const GlyphBitmap& space = glyphs[0];
    EXPECT_GT(space.advance, 0);
    EXPECT_TRUE(std::none_of(space.bits.begin(), space.bits.end(), [](auto b) { return b != 0; }));
    for (char ch : {'L', 'a', 'b', '0', '1', '+', '-'}) {
        const GlyphBitmap& g = glyphs[std::size_t(ch - 32)];
        SCOPED_TRACE(ch);
        EXPECT_GE(g.height, 20);
        EXPECT_LE(g.height, 36);
        EXPECT_EQ(g.bits.size(), std::size_t(g.BytesPerRow() * g.height));
        int ink = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                ink += g.IsSet(x, y);
        EXPECT_GT(ink, 10);
    }
    // 'L' stands on the baseline: its bottom stroke is the row yOrigin up from the bottom.
    const GlyphBitmap& l = glyphs['L' - 32];
    int baselineInk = 0;
    for (int x = 0; x < l.width; ++x)
        baselineInk += l.IsSet(x, int(l.yOrigin));
    EXPECT_GT(baselineInk, 8);
}

TEST(Viewport, ShapesAndSceneSurviveTheContextBeingRecreatedInAnotherWindow)
{
    QWidget host; // outlives the view, which it will parent
    host.resize(kWidth, kHeight);
    auto view = ShownView();
    ASSERT_TRUE(view);
    auto slot = Prism(4, 60, 20, 80);
    ASSERT_TRUE(view->CompileShape(3, *slot, 1));
    view->Shape(3)->visible = 1;
    ASSERT_TRUE(Near(view->grabFramebuffer().pixel(kWidth / 2, kHeight / 2), {0, 0, 204}, 2));

    view->setParent(&host); // Qt drops the old context and makes a new one here
    view->move(0, 0);
    view->show();
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QImage image = view->grabFramebuffer();
    EXPECT_TRUE(Near(image.pixel(kWidth / 2, kHeight / 2), {0, 0, 204}, 2));
    const Pixel a = Project(view->Camera(), 1.3, -0.6, 0); // a+ at L* 0, clear of the shape
    EXPECT_GT(CountNear(image, a.x, a.y, 2, 2, 2, 2, {178, 0, 0}, 2), 0) << "half-axes rebuilt";
    view->setParent(nullptr);
}
