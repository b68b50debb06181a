#include <cmath>

#include <QPushButton>
#include <QTest>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QTreeWidget>

#include "tests/ui/UiFixture.h"
#include "ui/FiguresText.h"
#include "ui/GamutFiguresPanel.h"

namespace quillon {
namespace {

using Names = std::vector<std::string>;
constexpr int kVolume = GamutFiguresPanel::kVolumeColumn;

class GamutFiguresTest : public UiFixture {
protected:
    // Opens the coverage table's window as the user does.
    QDialog* OpenFigures() const
    {
        QTest::mouseClick(Child<QPushButton>("coverageButton"), Qt::LeftButton);
        auto* window = Child<QDialog>("coverageWindow");
        EXPECT_TRUE(window != nullptr && window->isVisible());
        return window;
    }
    QTableWidget* Table() const { return Child<QTableWidget>("coverageTable"); }
    QString Cell(int i, int j) const
    {
        QTableWidgetItem* item = Table()->item(i, j);
        return item != nullptr ? item->text() : QStringLiteral("<none>");
    }

    // Each listed volume reads back, in the language's style, as the row's solid's volume.
    void ExpectVolumesOfSolids(const QLocale& locale) const
    {
        const std::vector<GamutSolid>& solids = m_dialog->Solids();
        const std::vector<std::string> texts = ListColumn(kVolume);
        ASSERT_EQ(texts.size(), solids.size());
        for (std::size_t r = 0; r < texts.size(); ++r) {
            bool ok = false;
            const qlonglong shown = locale.toLongLong(QString::fromStdString(texts[r]), &ok);
            EXPECT_TRUE(ok) << texts[r];
            EXPECT_EQ(shown, std::llround(solids[r].Volume())) << "row " << r;
            EXPECT_GT(shown, 100000) << "row " << r; // every fixture is a real gamut
        }
    }

    // Off the diagonal, each cell reads back as the share of row i inside column j.
    void ExpectCoverageOfSolids(const QLocale& locale) const
    {
        const std::vector<GamutSolid>& solids = m_dialog->Solids();
        const int n = static_cast<int>(solids.size());
        ASSERT_EQ(Table()->rowCount(), n);
        ASSERT_EQ(Table()->columnCount(), n);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(Table()->verticalHeaderItem(i)->text(), QString::number(i + 1));
            EXPECT_EQ(Table()->horizontalHeaderItem(i)->text(), QString::number(i + 1));
            for (int j = 0; j < n; ++j) {
                if (i == j) {
                    EXPECT_EQ(Cell(i, j), QStringLiteral("\u2014"));
                    continue;
                }
                bool ok = false;
                const double shown = locale.toDouble(Cell(i, j), &ok);
                EXPECT_TRUE(ok) << Cell(i, j).toStdString();
                EXPECT_NEAR(shown, CoveragePercent(solids[i], solids[j]), 0.05) << i << " in " << j;
            }
        }
    }
};

TEST_F(GamutFiguresTest, EmptyListHasTheColumnAndNoTable)
{
    Open();
    auto* list = Child<QTreeWidget>("viewList");
    ASSERT_EQ(list->columnCount(), 5);
    EXPECT_EQ(list->headerItem()->text(kVolume), QStringLiteral("Volume (ΔE³)"));
    auto* button = Child<QPushButton>("coverageButton");
    EXPECT_EQ(button->text(), QStringLiteral("Coverage..."));
    EXPECT_TRUE(button->isVisible());
    EXPECT_FALSE(Child<QDialog>("coverageWindow")->isVisible());
    QDialog* window = OpenFigures();
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Coverage (%)"));
    EXPECT_TRUE(Child<QLabel>("coverageExplanation")->isVisible());
    EXPECT_TRUE(Child<QLabel>("coverageEmpty")->isVisible());
    EXPECT_FALSE(Table()->isVisible());
    EXPECT_EQ(Table()->rowCount(), 0);
}

TEST_F(GamutFiguresTest, VolumesAndCoverageFollowAddAndRemove)
{
    Open();
    const QLocale english = LocaleOf(Language::English);
    QDialog* window = OpenFigures();

    // One row: its volume, no table yet.
    Add("a.icc");
    ExpectVolumesOfSolids(english);
    EXPECT_FALSE(Table()->isVisible());
    const std::string rgbVolume = ListColumn(kVolume)[0];
    EXPECT_NE(rgbVolume.find(','), std::string::npos) << rgbVolume;

    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    Add("six_colour.icc", sig::Output, sig::SixColour);
    EXPECT_TRUE(TakeBoxes().empty());
    ASSERT_EQ(m_dialog->SlotCount(), 3);
    ExpectVolumesOfSolids(english);
    EXPECT_TRUE(Table()->isVisible());
    EXPECT_FALSE(Child<QLabel>("coverageEmpty")->isVisible());
    ExpectCoverageOfSolids(english);
    const QString cmykInSix = Cell(1, 2);
    EXPECT_TRUE(Table()->item(0, 1)->toolTip().contains(QStringLiteral("a.icc")));

    // Removing the first row moves the others up, numbers, volumes and table alike.
    const std::string cmykVolume = ListColumn(kVolume)[1];
    const std::string sixVolume = ListColumn(kVolume)[2];
    SelectRows({0});
    ClickRemove();
    ASSERT_EQ(m_dialog->SlotCount(), 2);
    EXPECT_EQ(ListColumn(kVolume), (Names{cmykVolume, sixVolume}));
    ExpectCoverageOfSolids(english);
    EXPECT_EQ(Cell(0, 1), cmykInSix);

    // The same gamut twice lies wholly inside itself.
    Add("b.icc");
    Add("c.icc");
    ExpectVolumesOfSolids(english);
    EXPECT_EQ(ListColumn(kVolume)[2], rgbVolume);
    EXPECT_EQ(ListColumn(kVolume)[3], rgbVolume);
    EXPECT_EQ(Cell(2, 3), QStringLiteral("100.0"));
    EXPECT_EQ(Cell(3, 2), QStringLiteral("100.0"));
    ExpectCoverageOfSolids(english);

    // The table's window stays open and the same size while the list changes.
    EXPECT_TRUE(window->isVisible());
    const QSize size = window->size();

    // Down to one row and then none: the table goes, the hint comes back.
    SelectRows({0, 1, 2});
    ClickRemove();
    EXPECT_EQ(ListColumn(kVolume), Names{rgbVolume});
    EXPECT_FALSE(Table()->isVisible());
    SelectRows({0});
    ClickRemove();
    EXPECT_TRUE(ListColumn(kVolume).empty());
    EXPECT_TRUE(Child<QLabel>("coverageEmpty")->isVisible());
    EXPECT_EQ(Table()->rowCount(), 0);
    EXPECT_EQ(window->size(), size);
}

TEST_F(GamutFiguresTest, FrenchFiguresUseFrenchNumbers)
{
    SetCurrentLanguage(Language::French);
    Open();
    auto* list = Child<QTreeWidget>("viewList");
    EXPECT_EQ(list->headerItem()->text(kVolume), QStringLiteral("Volume (ΔE³)"));
    EXPECT_EQ(Child<QPushButton>("coverageButton")->text(), QStringLiteral("Couverture..."));
    QDialog* window = OpenFigures();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Couverture (%)"));
    EXPECT_TRUE(Child<QLabel>("coverageExplanation")->text().startsWith(QStringLiteral("Part du volume de la ligne")));
    Add("a.icc");
    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    EXPECT_TRUE(TakeBoxes().empty());

    const QLocale french = LocaleOf(Language::French);
    ExpectVolumesOfSolids(french);
    for (const std::string& text : ListColumn(kVolume)) {
        const QString volume = QString::fromStdString(text);
        EXPECT_FALSE(volume.contains(u',')) << text;
        EXPECT_TRUE(volume.contains(QChar(0x00A0)) || volume.contains(QChar(0x202F))) << text;
    }
    ExpectCoverageOfSolids(french);
    EXPECT_TRUE(Cell(0, 1).contains(u',')) << Cell(0, 1).toStdString();
    EXPECT_TRUE(Table()->item(1, 0)->toolTip().contains(QStringLiteral(" se trouve dans a.icc")));
}

} // namespace
} // namespace quillon
