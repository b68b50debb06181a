#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/UiFixture.h"
#include "ui/StringIds.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

class ProbeWindowTest : public UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        Open();
    }
    QLineEdit* Edit(int i) const
    {
        return Child<QLineEdit>(("valueEdit" + std::to_string(i + 1)).c_str());
    }
    void Type(int i, const QString& text)
    {
        Edit(i)->selectAll();
        QTest::keyClick(Edit(i), Qt::Key_Delete);
        QTest::keyClicks(Edit(i), text);
    }
    void SetLab(const QString& L, const QString& a, const QString& b)
    {
        Type(0, L);
        Type(1, a);
        Type(2, b);
    }
    std::vector<QString> Texts() const { return {Edit(0)->text(), Edit(1)->text(), Edit(2)->text()}; }
    std::vector<QString> Labels() const
    {
        return {Child<QLabel>("valueLabel1")->text(), Child<QLabel>("valueLabel2")->text(),
                Child<QLabel>("valueLabel3")->text()};
    }
    QComboBox* Format() const { return Child<QComboBox>("format"); }
    QComboBox* Profiles() const { return Child<QComboBox>("ncpProfile"); }
    QComboBox* Colours() const { return Child<QComboBox>("ncpColour"); }
    int ProfileIndex(const QString& name) const { return Profiles()->findText(name); }
};

TEST_F(ProbeWindowTest, StartState)
{
    EXPECT_EQ(Format()->count(), 3);
    EXPECT_EQ(Format()->itemText(0), QStringLiteral("Lab"));
    EXPECT_EQ(Format()->itemText(1), QStringLiteral("LCH"));
    EXPECT_EQ(Format()->itemText(2), QStringLiteral("NCP Profile"));
    EXPECT_EQ(Format()->currentIndex(), 0);
    EXPECT_EQ(Texts(), (std::vector<QString>{"0.00", "0.00", "0.00"}));
    EXPECT_EQ(Labels(), (std::vector<QString>{"L", "a", "b"}));
    EXPECT_FALSE(Child<QCheckBox>("showPoint")->isChecked());
    EXPECT_EQ(Profiles()->currentText(), QStringLiteral("None"));
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_FALSE(Profiles()->isVisible());
    EXPECT_TRUE(Edit(0)->isVisible());
}

TEST_F(ProbeWindowTest, NcpListIsSortedByFoldedName)
{
    QStringList names;
    for (int i = 0; i < Profiles()->count(); ++i)
        names << Profiles()->itemText(i);
    EXPECT_EQ(names, (QStringList{"None", "named_cmyk_n0.icc", "named_lab_empty.icc", "Named_no_element.icc",
                                  "named_rgb_n3.icc"}));
}

struct EditCase {
    int format;
    const char* texts[3];
    float L, a, b;
    float tolerance;
};

TEST_F(ProbeWindowTest, EditsGiveTheProbeColour)
{
    const EditCase cases[] = {
        {0, {"50", "20", "0"}, 50, 20, 0, 0},
        {0, {"12,5", "  -3.5e1", "x"}, 12, -35, 0, 0},
        {0, {"1e400", "nan", ""}, INFINITY, NAN, 0, 0},
        {1, {"50", "20", "90"}, 50, 0, 20, 1e-5f},
        {1, {"50", "20", "180"}, 50, -20, 0, 1e-5f},
        {1, {"50", "20", "-30"}, 50, 17.320508f, 10, 1e-4f},
        {1, {"50", "20", "30"}, 50, 17.320508f, 10, 1e-4f},
    };
    for (const EditCase& c : cases) {
        Choose(Format(), c.format);
        SetLab(QString::fromUtf8(c.texts[0]), QString::fromUtf8(c.texts[1]), QString::fromUtf8(c.texts[2]));
        const ColourProbeState& p = m_dialog->Probe();
        const float got[3] = {p.L, p.a, p.b};
        const float want[3] = {c.L, c.a, c.b};
        for (int i = 0; i < 3; ++i) {
            if (std::isnan(want[i]))
                EXPECT_TRUE(std::isnan(got[i])) << c.texts[i];
            else if (std::isinf(want[i]))
                EXPECT_EQ(got[i], want[i]) << c.texts[i];
            else
                EXPECT_NEAR(got[i], want[i], c.tolerance) << c.texts[0] << " " << c.texts[1] << " " << c.texts[2];
        }
    }
    // h = 90 gives a* close to, not exactly, 0.
    Choose(Format(), 1);
    SetLab("50", "20", "90");
    EXPECT_NE(m_dialog->Probe().a, 0.0f);
}

TEST_F(ProbeWindowTest, FormatSwitchWritesTwoDecimalsAndKeepsTheUnroundedColour)
{
    SetLab("50", "20", "0");
    Choose(Format(), 1);
    EXPECT_EQ(Texts(), (std::vector<QString>{"50.00", "20.00", "360.00"}));
    EXPECT_EQ(Labels(), (std::vector<QString>{"L", "C", "H"}));
    Choose(Format(), 0);
    SetLab("12.345", "-7.891", "0.004");
    Choose(Format(), 1);
    Choose(Format(), 0);
    EXPECT_EQ(Texts(), (std::vector<QString>{"12.35", "-7.89", "0.00"}));
    EXPECT_EQ(m_dialog->Probe().L, 12.345f);
    EXPECT_EQ(m_dialog->Probe().a, -7.891f);
    EXPECT_EQ(m_dialog->Probe().b, 0.004f);
    Choose(Format(), 2);
    EXPECT_TRUE(Profiles()->isVisible());
    EXPECT_TRUE(Colours()->isVisible());
    EXPECT_FALSE(Edit(0)->isVisible());
    EXPECT_FALSE(Edit(2)->isVisible());
    EXPECT_EQ(m_dialog->Probe().L, 12.345f);
}

TEST_F(ProbeWindowTest, NamedColoursAreListedSortedAndPlaceTheProbe)
{
    SetLab("10", "10", "10");
    Choose(Format(), 2);
    Choose(Profiles(), ProfileIndex("named_rgb_n3.icc"));
    QStringList names;
    for (int i = 0; i < Colours()->count(); ++i)
        names << Colours()->itemText(i);
    EXPECT_EQ(names, (QStringList{"_Underline", "aqua", "Brick", "mid grey", "night", "Ochre", "Paper White", "ZINC"}));
    EXPECT_EQ(Colours()->currentIndex(), -1);
    EXPECT_EQ(m_dialog->Probe().L, 10.0f); // unchanged until a colour is chosen
    EXPECT_TRUE(TakeBoxes().empty());

    Choose(Colours(), names.indexOf("Paper White"));
    EXPECT_FLOAT_EQ(m_dialog->Probe().L, 100.0f);
    EXPECT_NEAR(m_dialog->Probe().a, 0.5019608, 1e-5);
    EXPECT_NEAR(m_dialog->Probe().b, 0.5019608, 1e-5);

    Choose(Format(), 0);
    EXPECT_EQ(Texts(), (std::vector<QString>{"100.00", "0.50", "0.50"}));
    EXPECT_EQ(Colours()->currentIndex(), names.indexOf("Paper White"));
    Type(1, "3");
    EXPECT_EQ(Colours()->currentIndex(), -1); // an edit clears the named colour
    EXPECT_FLOAT_EQ(m_dialog->Probe().a, 3.0f);

    Choose(Format(), 2);
    Choose(Profiles(), 0); // "None"
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_FLOAT_EQ(m_dialog->Probe().L, 100.0f);
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(ProbeWindowTest, NcpFailuresAndEmptyProfiles)
{
    Choose(Format(), 2);
    Choose(Profiles(), ProfileIndex("named_rgb_n3.icc"));
    ASSERT_GT(Colours()->count(), 0);
    Choose(Profiles(), ProfileIndex("named_lab_empty.icc"));
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_TRUE(TakeBoxes().empty()); // no colours, no message

    Choose(Profiles(), ProfileIndex("Named_no_element.icc"));
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kCannotReadNcpColours});
    EXPECT_EQ(m_dialog->Probe().L, 0.0f);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A listed profile that has gone away since the list was built.
    const QString gone = ProfileFolder() + QStringLiteral("/named_cmyk_n0.icc");
    const QString kept = ProfileFolder() + QStringLiteral("/named_cmyk_n0.keep");
    ASSERT_TRUE(QFile::rename(gone, kept));
    Choose(Profiles(), ProfileIndex("named_cmyk_n0.icc"));
    EXPECT_TRUE(QFile::rename(kept, gone));
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kCannotLoadNcp});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Pixels where the frame with the marker differs from the frame without it.
struct Blob {
    int count = 0;
    double x = 0, y = 0;
};
Blob Difference(const QImage& with, const QImage& without)
{
    Blob blob;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                ++blob.count;
                blob.x += x;
                blob.y += y;
            }
    if (blob.count > 0) {
        blob.x /= blob.count;
        blob.y /= blob.count;
    }
    return blob;
}

TEST_F(ProbeWindowTest, MarkerAppearsAtTheProbedColourAndMoves)
{
    // The start view (turned 30 degrees about both axes): the middle of Lab at the centre,
    // +a* towards the right, L* up.
    C3DScrollView* view = m_dialog->Viewport();
    const QImage empty = view->grabFramebuffer();
    SetLab("50", "0", "0");
    EXPECT_EQ(view->grabFramebuffer(), empty); // not shown yet

    ClickCheckBox(Child<QCheckBox>("showPoint"));
    const Blob centre = Difference(view->grabFramebuffer(), empty);
    ASSERT_GT(centre.count, 10);
    EXPECT_NEAR(centre.x, view->width() / 2.0, view->width() * 0.05);
    EXPECT_NEAR(centre.y, view->height() / 2.0, view->height() * 0.05);

    Type(1, "60");
    const Blob right = Difference(view->grabFramebuffer(), empty);
    ASSERT_GT(right.count, 10);
    EXPECT_GT(right.x, centre.x + 20);

    Type(1, "0");
    Type(0, "95");
    const Blob up = Difference(view->grabFramebuffer(), empty);
    ASSERT_GT(up.count, 10);
    EXPECT_LT(up.y, centre.y - 20);

    ClickCheckBox(Child<QCheckBox>("showPoint"));
    EXPECT_EQ(view->grabFramebuffer(), empty);
}

TEST_F(ProbeWindowTest, ShapePixelsFollowVisibility)
{
    C3DScrollView* view = m_dialog->Viewport();
    const QImage empty = view->grabFramebuffer();
    Add("a.icc");
    const QImage withShape = view->grabFramebuffer();
    EXPECT_GT(Difference(withShape, empty).count, 1000);
    QTest::mouseClick(Child<QCheckBox>("visible1"), Qt::LeftButton);
    EXPECT_EQ(view->grabFramebuffer(), empty);
    QTest::mouseClick(Child<QCheckBox>("visible1"), Qt::LeftButton);
    EXPECT_EQ(view->grabFramebuffer(), withShape);
}

} // namespace
} // namespace quillon
