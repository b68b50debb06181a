#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "tests/ui/UiFixture.h"
#include "ui/OpacityTrackBar.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

class DisplayParametersTest : public UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        Open();
        Add("a.icc");
        Add("b.icc");
        ASSERT_EQ(m_dialog->SlotCount(), 2);
        m_compilesBefore = m_dialog->Viewport()->ShapeCompiles();
        m_deletesBefore = m_dialog->Viewport()->ShapeDeletes();
    }
    long Compiles() const { return m_dialog->Viewport()->ShapeCompiles() - m_compilesBefore; }
    long Deletes() const { return m_dialog->Viewport()->ShapeDeletes() - m_deletesBefore; }
    QPoint Handle(QSlider* bar) const
    {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.subControls = QStyle::SC_SliderHandle;
        return bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar).center();
    }
    long m_compilesBefore = 0;
    long m_deletesBefore = 0;
};

TEST_F(DisplayParametersTest, VisibilityOnlyRedraws)
{
    QTest::mouseClick(Child<QCheckBox>("visible2"), Qt::LeftButton);
    EXPECT_FALSE(m_dialog->Slot(1).visible);
    EXPECT_EQ(m_dialog->Viewport()->Shape(1)->visible, 0);
    EXPECT_EQ(m_dialog->Viewport()->Shape(0)->visible, 1);
    QTest::mouseClick(Child<QCheckBox>("visible2"), Qt::LeftButton);
    EXPECT_TRUE(m_dialog->Slot(1).visible);
    EXPECT_EQ(m_dialog->Viewport()->Shape(1)->visible, 1);
    EXPECT_EQ(Compiles(), 0);
    EXPECT_EQ(Deletes(), 0);
}

TEST_F(DisplayParametersTest, ColourModeRecompilesAlsoWhenTheActiveRadioIsClickedAgain)
{
    struct Click {
        const char* radio;
        bool natural;
    };
    const Click clicks[] = {{"solidRadio2", false}, {"solidRadio2", false}, {"naturalRadio2", true},
                            {"naturalRadio2", true}};
    long expected = 0;
    for (const Click& c : clicks) {
        QTest::mouseClick(Child<QRadioButton>(c.radio), Qt::LeftButton);
        ++expected;
        EXPECT_EQ(m_dialog->Slot(1).naturalColours, c.natural) << c.radio;
        EXPECT_EQ(Child<QRadioButton>("naturalRadio2")->isChecked(), c.natural);
        EXPECT_EQ(Child<QRadioButton>("solidRadio2")->isChecked(), !c.natural);
        EXPECT_EQ(Compiles(), expected);
        EXPECT_EQ(Deletes(), expected);
    }
    EXPECT_TRUE(m_dialog->Slot(0).naturalColours); // the other row is untouched
}

TEST_F(DisplayParametersTest, OpacityAppliesOncePerMouseInteraction)
{
    auto* bar = Child<COpacityTrackBar>("opacity1");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Left);
    QTest::keyClick(bar, Qt::Key_PageDown);
    EXPECT_LT(bar->value(), 100);
    EXPECT_EQ(m_dialog->Slot(0).opacity, 100); // keyboard moves wait
    EXPECT_EQ(Compiles(), 0);

    const int keyed = bar->value();
    QTest::mousePress(bar, Qt::LeftButton, {}, Handle(bar));
    EXPECT_EQ(Compiles(), 0);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, Handle(bar));
    EXPECT_EQ(m_dialog->Slot(0).opacity, keyed);
    EXPECT_EQ(Compiles(), 1);
    EXPECT_EQ(Deletes(), 1);

    // A drag to the far left: many positions, one compile at the release.
    const QPoint start = Handle(bar);
    QTest::mousePress(bar, Qt::LeftButton, {}, start);
    for (int x = start.x(); x >= 0; x -= 5)
        QTest::mouseMove(bar, QPoint(x, start.y()));
    QTest::mouseMove(bar, QPoint(-50, start.y()));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(-50, start.y()));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(m_dialog->Slot(0).opacity, 0);
    EXPECT_EQ(Compiles(), 2);
    EXPECT_EQ(m_dialog->Slot(1).opacity, 100);
}

TEST_F(DisplayParametersTest, HiddenRowKeepsModeAndOpacityWhenShownAgain)
{
    QTest::mouseClick(Child<QRadioButton>("solidRadio1"), Qt::LeftButton);
    QTest::mouseClick(Child<QCheckBox>("visible1"), Qt::LeftButton);
    QTest::mouseClick(Child<QCheckBox>("visible1"), Qt::LeftButton);
    EXPECT_FALSE(m_dialog->Slot(0).naturalColours);
    EXPECT_TRUE(m_dialog->Slot(0).visible);
    EXPECT_EQ(Compiles(), 1);
}

TEST_F(DisplayParametersTest, RemoveRecompilesMovedShapesForTheirNewRow)
{
    SelectRows({0});
    ClickRemove();
    EXPECT_EQ(Deletes(), 2);  // the removed list, then the moved one before its recompile
    EXPECT_EQ(Compiles(), 1);
}

} // namespace
} // namespace quillon
