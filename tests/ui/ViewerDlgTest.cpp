#include <filesystem>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <QTimer>

#include "tests/ui/UiFixture.h"
#include "app/AboutDlg.h"
#include "ui/BuildGamutShapeProgressDlg.h"
#include "ui/StringIds.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

using Names = std::vector<std::string>;
using Ids = std::vector<int>;

struct Action {
    enum Kind { AddProfile, Cancel, Remove } kind;
    std::string name;                     // AddProfile
    std::uint32_t profileClass = sig::Display;
    std::uint32_t colourSpace = sig::Rgb;
    std::vector<int> rows = {};           // Remove: rows selected
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

Action AddRgb(const std::string& name) { return {Action::AddProfile, name}; }
Action RemoveRows(std::vector<int> rows, QMessageBox::StandardButton answer = QMessageBox::Yes)
{
    return {Action::Remove, "", sig::Display, sig::Rgb, std::move(rows), answer};
}

struct Scenario {
    const char* title;
    std::vector<Action> actions;
    Names names;                     // column 1, in row order
    std::vector<int> shapeIndices;   // per row
    Ids boxes;                       // every message box, in order
    bool missingGlp = false;
};

void PrintTo(const Scenario& s, std::ostream* os)
{
    *os << s.title;
}

class AddRemoveTest : public UiFixture, public ::testing::WithParamInterface<Scenario> {};

TEST_P(AddRemoveTest, ListSlotsAndMessages)
{
    const Scenario& s = GetParam();
    CViewerDlg& dlg = Open(s.missingGlp ? EmptyFolder() : QString());
    for (const Action& a : s.actions) {
        switch (a.kind) {
        case Action::AddProfile: Add(a.name, a.profileClass, a.colourSpace); break;
        case Action::Cancel:
            QueueChoice(std::nullopt);
            QTest::mouseClick(Child<QPushButton>("addButton"), Qt::LeftButton);
            break;
        case Action::Remove:
            AnswerQuestions(a.answer);
            SelectRows(a.rows);
            ClickRemove();
            break;
        }
    }
    EXPECT_EQ(ListColumn(1), s.names);
    Names numbers;
    for (std::size_t i = 0; i < s.names.size(); ++i)
        numbers.push_back(std::to_string(i + 1));
    EXPECT_EQ(ListColumn(0), numbers);
    ASSERT_EQ(dlg.SlotCount(), int(s.names.size()));
    for (int r = 0; r < dlg.SlotCount(); ++r) {
        EXPECT_EQ(dlg.Slot(r).profile.fileName, s.names[r]);
        EXPECT_EQ(dlg.Slot(r).shapeIndex, s.shapeIndices[r]) << "row " << r;
    }
    // Exactly the entries of listed rows are in use.
    for (int k = 0; k < CViewerDlg::kRows; ++k) {
        bool used = false;
        for (int r = 0; r < dlg.SlotCount(); ++r)
            used = used || dlg.Slot(r).shapeIndex == k;
        EXPECT_EQ(dlg.Viewport()->Shape(k)->inUse != 0, used) << "entry " << k;
    }
    EXPECT_EQ(TakeBoxes(), s.boxes);
}

const Scenario kScenarios[] = {
    {"AddThree", {AddRgb("a.icc"), AddRgb("b.icc"), AddRgb("c.icc")}, {"a.icc", "b.icc", "c.icc"}, {0, 1, 2}, {}},
    {"RemoveFirstThenAddReusesEntryZero",
     {AddRgb("a.icc"), AddRgb("b.icc"), AddRgb("c.icc"), RemoveRows({0}), AddRgb("d.icc")},
     {"b.icc", "c.icc", "d.icc"}, {1, 2, 0}, {ids::kConfirmRemove}},
    {"RemoveRowsOneAndThreeOfFour",
     {AddRgb("a.icc"), AddRgb("b.icc"), AddRgb("c.icc"), AddRgb("d.icc"), RemoveRows({0, 2})},
     {"b.icc", "d.icc"}, {1, 3}, {ids::kConfirmRemove}},
    {"RemoveAll", {AddRgb("a.icc"), AddRgb("b.icc"), RemoveRows({0, 1})}, {}, {}, {ids::kConfirmRemove}},
    {"DuplicateInOtherCase", {AddRgb("a.icc"), AddRgb("A.ICC")}, {"a.icc"}, {0}, {ids::kAlreadyInList}},
    {"SameNameOtherClassIsNoDuplicate",
     {AddRgb("a.icc"), {Action::AddProfile, "a.icc", sig::Output, sig::Rgb}}, {"a.icc", "a.icc"}, {0, 1}, {}},
    {"CancelChangesNothing", {AddRgb("a.icc"), {Action::Cancel, ""}}, {"a.icc"}, {0}, {}},
    {"FifthProfileRefused",
     {AddRgb("a.icc"), AddRgb("b.icc"), AddRgb("c.icc"), AddRgb("d.icc"), AddRgb("e.icc")},
     {"a.icc", "b.icc", "c.icc", "d.icc"}, {0, 1, 2, 3}, {ids::kMaxProfilesReached}},
    {"MissingFileCannotBeLoaded", {AddRgb("nothere.icc")}, {}, {}, {ids::kCannotLoadProfile}},
    {"FailedBuildThenNextAddReusesRowAndEntry",
     {{Action::AddProfile, "grey_monitor.icc", sig::Display, sig::Gray}, AddRgb("a.icc")},
     {"a.icc"}, {0}, {ids::kUnsupportedColourSpace, ids::kCannotBuildShape}},
    {"MissingGlp", {AddRgb("a.icc")}, {}, {}, {ids::kCannotLoadGlp, ids::kCannotBuildShape}, true},
    {"RemoveWithoutSelection", {AddRgb("a.icc"), RemoveRows({})}, {"a.icc"}, {0}, {ids::kSelectProfileFirst}},
    {"RemoveAnsweredNo", {AddRgb("a.icc"), RemoveRows({0}, QMessageBox::No)}, {"a.icc"}, {0}, {ids::kConfirmRemove}},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, AddRemoveTest, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.title); });

using ViewerDlgTest = UiFixture;

TEST_F(ViewerDlgTest, FifthAddDoesNotOpenTheDialog)
{
    Open();
    for (const char* name : {"a.icc", "b.icc", "c.icc", "d.icc"})
        Add(name);
    EXPECT_EQ(ChooserCalls(), 4);
    QTest::mouseClick(Child<QPushButton>("addButton"), Qt::LeftButton);
    EXPECT_EQ(ChooserCalls(), 4);
    EXPECT_EQ(TakeBoxes(), Ids{ids::kMaxProfilesReached});
}

// An application folder whose name is not UTF-8 (Latin-1 "café"): GLP.icc is found there
// and Add builds the shape.
TEST_F(ViewerDlgTest, AddWorksInANonUtf8ApplicationFolder)
{
    const std::string folder = (std::filesystem::temp_directory_path() /
                                ("quillon_caf\xe9_" + std::to_string(QCoreApplication::applicationPid())))
                                   .string() + "/";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(QUILLON_RUN_DIR "/GLP.icc", folder + "GLP.icc",
                               std::filesystem::copy_options::overwrite_existing);
    CViewerDlg& dlg = OpenIn(folder);
    Add("a.icc");
    EXPECT_EQ(TakeBoxes(), Ids{});
    EXPECT_EQ(dlg.SlotCount(), 1);
    m_dialog.reset();
    std::filesystem::remove_all(folder);
}

TEST_F(ViewerDlgTest, ListShowsLabelsOfClassAndColourSpace)
{
    Open();
    Add("a.icc");
    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    EXPECT_EQ(ListColumn(2), (Names{"Display", "Output"}));
    EXPECT_EQ(ListColumn(3), (Names{"RGB", "CMYK"}));
    auto* list = Child<QTreeWidget>("viewList");
    ASSERT_EQ(list->columnCount(), 5); // the four profile columns, then the volume (GamutFiguresTest)
    const int widths[] = {30, 562, 80, 90};
    const char* titles[] = {"#", "Profile", "Class", "Color Space"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list->columnWidth(c), widths[c]);
        EXPECT_EQ(list->headerItem()->text(c).toStdString(), titles[c]);
    }
    EXPECT_EQ(m_dialog->Slot(1).shape.gridSize, 24);
}

TEST_F(ViewerDlgTest, FrenchTextsReachTheWindow)
{
    SetCurrentLanguage(Language::French);
    Open();
    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    EXPECT_EQ(ListColumn(2), Names{"Sortie"});
    EXPECT_EQ(ListColumn(3), Names{"CMJN"});
    EXPECT_EQ(Child<QPushButton>("addButton")->text(), QStringLiteral("Ajouter"));
    EXPECT_EQ(Child<QTreeWidget>("viewList")->headerItem()->text(3), QStringLiteral("Espace couleur"));
    EXPECT_EQ(m_dialog->windowTitle(), QStringLiteral("Quillon"));
    ASSERT_NE(m_dialog->AboutAction(), nullptr);
    EXPECT_EQ(m_dialog->AboutAction()->text(), QStringLiteral("&À propos de Quillon..."));
}

TEST_F(ViewerDlgTest, AboutOpensWithoutTheLanguageSelector)
{
    SetCurrentLanguage(Language::French);
    Open();
    bool sawBox = false;
    bool selectorShown = true;
    int languageIndex = -1;
    // The box runs its own modal loop; close it from there once it is up.
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            sawBox = true;
            selectorShown = about->LanguageCombo()->isVisible();
            languageIndex = about->languageIndex;
            about->reject();
        }
    });
    closer.start();
    m_dialog->AboutAction()->trigger();
    closer.stop();
    EXPECT_TRUE(sawBox);
    EXPECT_FALSE(selectorShown);
    EXPECT_EQ(languageIndex, 1);
    EXPECT_EQ(CurrentLanguage(), Language::French);
    EXPECT_TRUE(m_dialog->actions().contains(m_dialog->AboutAction())); // in the context menu
}

TEST_F(ViewerDlgTest, RowsEnableAsSlotsFill)
{
    Open();
    const auto expectRows = [this](int used) {
        for (int r = 1; r <= 4; ++r) {
            const bool on = r <= used;
            const std::string n = std::to_string(r);
            for (const std::string& name : {"visible" + n, "naturalSwatch" + n, "solidSwatch" + n,
                                            "naturalRadio" + n, "solidRadio" + n, "opacity" + n})
                EXPECT_EQ(Child<QWidget>(name.c_str())->isEnabled(), on) << name << " with " << used;
            EXPECT_TRUE(Child<QLabel>(("rowNumber" + n).c_str())->isEnabled());
        }
    };
    expectRows(0);
    const char* names[] = {"a.icc", "b.icc", "c.icc", "d.icc"};
    for (int i = 0; i < 4; ++i) {
        Add(names[i]);
        expectRows(i + 1);
    }
    SelectRows({1});
    ClickRemove();
    expectRows(3);
}

TEST_F(ViewerDlgTest, NewRowShowsItsDefaults)
{
    Open();
    Add("a.icc");
    EXPECT_TRUE(Child<QCheckBox>("visible1")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>("naturalRadio1")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>("solidRadio1")->isChecked());
    EXPECT_EQ(Child<QSlider>("opacity1")->value(), 100);
    const ViewSlot& slot = m_dialog->Slot(0);
    EXPECT_TRUE(slot.visible);
    EXPECT_TRUE(slot.naturalColours);
    EXPECT_EQ(slot.opacity, 100);
    EXPECT_EQ(slot.shape.gridSize, 32);
    EXPECT_EQ(m_dialog->Viewport()->Shape(0)->visible, 1);
}

TEST_F(ViewerDlgTest, EnterDoesNothingEscapeAsksAndNoKeepsTheWindow)
{
    Open();
    QTest::keyClick(m_dialog.get(), Qt::Key_Return);
    QTest::keyClick(Child<QPushButton>("addButton"), Qt::Key_Return);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(ChooserCalls(), 0);
    EXPECT_TRUE(TakeBoxes().empty());

    AnswerQuestions(QMessageBox::No);
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(TakeBoxes(), Ids{ids::kConfirmClose});

    m_dialog->close(); // the close box
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(TakeBoxes(), Ids{ids::kConfirmClose});

    AnswerQuestions(QMessageBox::Yes);
    m_dialog->close();
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_EQ(TakeBoxes(), Ids{ids::kConfirmClose});
}

TEST_F(ViewerDlgTest, RemovedRowsRewriteTheControlsOfTheRest)
{
    Open();
    for (const char* name : {"a.icc", "b.icc", "c.icc", "d.icc"})
        Add(name);
    // Row 2 hidden, row 4 solid colour with opacity 40.
    QTest::mouseClick(Child<QCheckBox>("visible2"), Qt::LeftButton);
    QTest::mouseClick(Child<QRadioButton>("solidRadio4"), Qt::LeftButton);
    auto* bar4 = Child<QSlider>("opacity4");
    bar4->setValue(40);
    QTest::mouseRelease(bar4, Qt::LeftButton, {}, QPoint(1, bar4->height() / 2));
    bar4->setValue(40);
    QTest::mouseClick(bar4, Qt::LeftButton, {}, bar4->rect().center());
    const int opacity4 = bar4->value();
    ASSERT_EQ(m_dialog->Slot(3).opacity, opacity4);

    SelectRows({0, 2});
    ClickRemove();
    EXPECT_EQ(ListColumn(1), (Names{"b.icc", "d.icc"}));
    EXPECT_FALSE(Child<QCheckBox>("visible1")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>("naturalRadio1")->isChecked());
    EXPECT_EQ(Child<QSlider>("opacity1")->value(), 100);
    EXPECT_TRUE(Child<QCheckBox>("visible2")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>("solidRadio2")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>("naturalRadio2")->isChecked());
    EXPECT_EQ(Child<QSlider>("opacity2")->value(), opacity4);
    EXPECT_EQ(m_dialog->Slot(1).shapeIndex, 3);
    EXPECT_EQ(m_dialog->Viewport()->Shape(1)->visible, 0); // b keeps its hidden entry
}

TEST_F(ViewerDlgTest, ProgressBoxAdvancesDuringTheBuildAndEndsFull)
{
    Open();
    struct Sample {
        int position, maximum;
        bool visible;
        QString text;
        bool waitCursor;
    };
    std::vector<Sample> samples;
    // Timers still run while the build lets the box paint; user input does not.
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&samples] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<CBuildGamutShapeProgressDlg*>(w))
                samples.push_back({box->Position(), box->Maximum(), box->isVisible(), box->Text(),
                                   QApplication::overrideCursor() != nullptr &&
                                       QApplication::overrideCursor()->shape() == Qt::WaitCursor});
        }
    });
    probe.start();
    Add("a.icc");
    probe.stop();

    ASSERT_FALSE(samples.empty());
    int previous = 0;
    bool sawMiddle = false;
    for (const Sample& s : samples) {
        EXPECT_TRUE(s.visible);
        EXPECT_TRUE(s.waitCursor);
        EXPECT_EQ(s.maximum, 101);
        EXPECT_EQ(s.text, QStringLiteral("Building gamut shape..."));
        EXPECT_GE(s.position, previous);
        previous = s.position;
        sawMiddle = sawMiddle || (s.position > 0 && s.position < 101);
    }
    EXPECT_TRUE(sawMiddle);
    EXPECT_EQ(samples.back().position, 101);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(m_dialog->findChildren<CBuildGamutShapeProgressDlg*>().size(), 0);
}

TEST_F(ViewerDlgTest, WindowGrowsTheViewportOnResize)
{
    Open();
    QWidget* viewport = m_dialog->Viewport();
    const QSize before = viewport->size();
    EXPECT_GE(m_dialog->minimumSizeHint().width(), 900);
    m_dialog->resize(m_dialog->width() + 200, m_dialog->height() + 150);
    QCoreApplication::sendPostedEvents(); // layout requests are posted events
    EXPECT_GT(viewport->width(), before.width() + 150);
    EXPECT_GT(viewport->height(), before.height() + 100);
}

} // namespace
} // namespace quillon
