// Profile files dropped on the shown main window: real drag-enter and drop events, carrying
// file URLs, sent to the viewport (the drop reaches the window through its parents); and
// files picked with Browse..., which take the same road after the dialog.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>

#include "tests/ui/UiFixture.h"
#include "profiles/ProfileFile.h"
#include "ui/StringIds.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

using Names = std::vector<std::string>;
using Ids = std::vector<int>;

class DropTest : public UiFixture {
protected:
    void SetUp() override
    {
        UiFixture::SetUp();
        ASSERT_TRUE(m_drops.isValid());
        const auto copy = [this](const char* fixture, const char* name) {
            ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_FIXTURE_DIR "/") + QLatin1String(fixture),
                                    m_drops.filePath(QLatin1String(name))))
                << fixture;
        };
        for (const char* name : {"X.icc", "x.icc", "Upper.ICM", "p1.icc", "p2.icc", "p3.icc", "p4.icc", "p5.icc"})
            copy("rgb_display.icc", name);
        copy("cmyk_output.icc", "press.icm");
        copy("device_link.icc", "link.icc");
        copy("lab_abstract.icc", "lab.icc");
        copy("grey_monitor.icc", "grey.icc");
        copy("named_rgb_n3.icc", "named.icc");
        fs::create_directory(Path("folder.icc"));
        std::ofstream(Path("notes.icc")) << "Not a profile, only some text.\n";
        std::ofstream(Path("notes.txt")) << "Not a profile either.\n";
        copy("rgb_display.icc", "huge.icc");
        fs::resize_file(Path("huge.icc"), std::uintmax_t(2) << 30); // sparse: costs no disk
        ASSERT_EQ(mkfifo(Path("pipe.icc").c_str(), 0600), 0);
        copy("rgb_display.icc", "locked.icc");
        fs::permissions(Path("locked.icc"), fs::perms::none);
        fs::create_symlink(ProfileFolder().toStdString() + "/a.icc", Path("link_to_a.icc"));
    }

    std::string Path(const std::string& name) const { return m_drops.filePath(QString::fromStdString(name)).toStdString(); }

    // Drags the files over the window and drops them; false when the window refused the drag.
    bool Drop(const Names& files)
    {
        QList<QUrl> urls;
        for (const std::string& file : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(file.front() == '/' ? file : Path(file)));
        QMimeData data;
        data.setUrls(urls);
        QWidget* target = m_dialog->Viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        // The files are added once the drop has returned.
        QCoreApplication::sendPostedEvents(m_dialog.get(), QEvent::MetaCall);
        return drop.isAccepted();
    }

    void ClickAdd() { QTest::mouseClick(Child<QPushButton>("addButton"), Qt::LeftButton); }

    std::vector<std::string> Tooltips() const
    {
        auto* list = Child<QTreeWidget>("viewList");
        std::vector<std::string> tips;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            tips.push_back(list->topLevelItem(i)->toolTip(1).toStdString());
        return tips;
    }

    QTemporaryDir m_drops;
};

struct DropCase {
    const char* title;
    Names catalogueAdds; // added through the add-profile dialog first
    Names dropped;       // in the drop's order; bare names live in the test's drop folder
    Names listed;        // column 1 afterwards
    Ids boxes;           // every message box, in order
    bool needsPermissions = false;
};

void PrintTo(const DropCase& c, std::ostream* os)
{
    *os << c.title;
}

class DropCases : public DropTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropCases, ListAndMessages)
{
    const DropCase& c = GetParam();
    if (c.needsPermissions && geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    Open();
    for (const std::string& name : c.catalogueAdds)
        Add(name);
    TakeBoxes();
    ASSERT_TRUE(Drop(c.dropped));
    EXPECT_EQ(ListColumn(1), c.listed);
    EXPECT_EQ(TakeBoxes(), c.boxes);
    EXPECT_EQ(m_dialog->SlotCount(), int(c.listed.size()));
    EXPECT_EQ(int(m_dialog->Solids().size()), m_dialog->SlotCount());
    // A profile without a device gamut is refused before its slot is touched: no build starts.
    if (c.listed.empty() && !c.boxes.empty() && c.boxes.front() == ids::kCannotUseProfile) {
        EXPECT_STREQ(m_dialog->Slot(0).profile.fileName, "");
        EXPECT_EQ(m_dialog->Slot(0).shape.gridSize, 0);
    }
}

const std::string kLong = "/tmp/" + std::string(150, 'd') + "/" + std::string(150, 'f') + ".icc";

const DropCase kDropCases[] = {
    {"OneFile", {}, {"X.icc"}, {"X.icc"}, {}},
    {"SeveralInOrderAnyCase", {}, {"press.icm", "Upper.ICM", "X.icc"}, {"press.icm", "Upper.ICM", "X.icc"}, {}},
    {"NamesDifferingInCaseAreTwoFiles", {}, {"X.icc", "x.icc"}, {"X.icc", "x.icc"}, {}},
    {"SamePathTwice", {}, {"X.icc", "X.icc"}, {"X.icc"}, {ids::kAlreadyInList}},
    {"ListedProfileThroughALink", {"a.icc"}, {"link_to_a.icc"}, {"a.icc"}, {ids::kAlreadyInList}},
    {"OverflowWarnsOnce", {"a.icc"}, {"p1.icc", "p2.icc", "p3.icc", "p4.icc", "p5.icc"},
     {"a.icc", "p1.icc", "p2.icc", "p3.icc"}, {ids::kMaxProfilesReached}},
    {"FailureDoesNotStopTheRest", {}, {"notes.icc", "X.icc"}, {"X.icc"}, {ids::kCannotLoadProfile}},
    {"Directory", {}, {"folder.icc"}, {}, {ids::kCannotLoadProfile}},
    {"Missing", {}, {"gone.icc"}, {}, {ids::kCannotLoadProfile}},
    {"Unreadable", {}, {"locked.icc"}, {}, {ids::kCannotLoadProfile}, true},
    {"TwoGigabytes", {}, {"huge.icc"}, {}, {ids::kCannotLoadProfile}},
    {"Fifo", {}, {"pipe.icc"}, {}, {ids::kCannotLoadProfile}},
    {"Text", {}, {"notes.icc"}, {}, {ids::kCannotLoadProfile}},
    {"PathTooLong", {}, {kLong}, {}, {ids::kPathTooLong}},
    {"DeviceLink", {}, {"link.icc"}, {}, {ids::kCannotUseProfile, ids::kCannotBuildShape}},
    {"LabAbstract", {}, {"lab.icc"}, {}, {ids::kCannotUseProfile, ids::kCannotBuildShape}},
    {"NamedColour", {}, {"named.icc"}, {}, {ids::kCannotUseProfile, ids::kCannotBuildShape}},
    {"Grey", {}, {"grey.icc"}, {}, {ids::kUnsupportedColourSpace, ids::kCannotBuildShape}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DropCases, ::testing::ValuesIn(kDropCases),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(DropTest, ListedProfileByItsPathIsADuplicate)
{
    Open();
    Add("a.icc");
    TakeBoxes();
    ASSERT_TRUE(Drop({ProfileFolder().toStdString() + "/a.icc"}));
    EXPECT_EQ(ListColumn(1), (Names{"a.icc"}));
    EXPECT_EQ(TakeBoxes(), (Ids{ids::kAlreadyInList}));
}

TEST_F(DropTest, CatalogueNameAfterItsPathIsADuplicate)
{
    Open();
    ASSERT_TRUE(Drop({ProfileFolder().toStdString() + "/b.icc"}));
    Add("b.icc");
    EXPECT_EQ(ListColumn(1), (Names{"b.icc"}));
    EXPECT_EQ(TakeBoxes(), (Ids{ids::kAlreadyInList}));
}

TEST_F(DropTest, RowsShowTheirFullPathAsTooltip)
{
    Open();
    Add("a.icc");
    ASSERT_TRUE(Drop({"X.icc", "x.icc"}));
    EXPECT_EQ(Tooltips(), (Names{ProfileFolder().toStdString() + "/a.icc", Path("X.icc"), Path("x.icc")}));
    // Rows that move up keep their own path.
    SelectRows({0});
    ClickRemove();
    EXPECT_EQ(Tooltips(), (Names{Path("X.icc"), Path("x.icc")}));
}

// A browsed file takes the same road from the duplicate test on.
TEST_F(DropTest, BrowsedFilesMeetTheSameChecks)
{
    Open();
    Add("a.icc");
    TakeBoxes();
    struct Case {
        std::string path;
        Ids boxes;
    };
    const Case cases[] = {
        {ProfileFolder().toStdString() + "/a.icc", {ids::kAlreadyInList}},
        {Path("link.icc"), {ids::kCannotUseProfile, ids::kCannotBuildShape}},
        {Path("grey.icc"), {ids::kUnsupportedColourSpace, ids::kCannotBuildShape}},
        {Path("huge.icc"), {ids::kCannotLoadProfile}},
        {Path("folder.icc"), {ids::kCannotLoadProfile}},
    };
    for (const Case& c : cases) {
        ProfileRecord record;
        ASSERT_EQ(RecordForProfileFile(c.path, record), file_record_result::Ok) << c.path;
        QueueChoice(record);
        ClickAdd();
        EXPECT_EQ(TakeBoxes(), c.boxes) << c.path;
        EXPECT_EQ(ListColumn(1), (Names{"a.icc"})) << c.path;
    }
    ProfileRecord record;
    ASSERT_EQ(RecordForProfileFile(Path("x.icc"), record), file_record_result::Ok);
    QueueChoice(record);
    ClickAdd();
    EXPECT_EQ(ListColumn(1), (Names{"a.icc", "x.icc"}));
    EXPECT_EQ(Tooltips().back(), Path("x.icc"));
}

TEST_F(DropTest, OnlyProfileFilesAreTaken)
{
    Open();
    EXPECT_FALSE(Drop({"notes.txt"})); // the drag is refused: nothing to add
    QMimeData text;
    text.setText(QStringLiteral("X.icc"));
    EXPECT_TRUE(CViewerDlg::DroppedProfileFiles(&text).empty());
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/X.icc"))});
    EXPECT_TRUE(CViewerDlg::DroppedProfileFiles(&remote).empty());

    // Other files in the same drop are left out, the profile files added.
    ASSERT_TRUE(Drop({"notes.txt", "X.icc"}));
    EXPECT_EQ(ListColumn(1), (Names{"X.icc"}));
    EXPECT_TRUE(TakeBoxes().empty());
}

TEST_F(DropTest, FullListRefusesEveryDroppedFileWithOneWarning)
{
    Open();
    for (const char* name : {"a.icc", "b.icc", "c.icc", "d.icc"})
        Add(name);
    TakeBoxes();
    ASSERT_TRUE(Drop({"X.icc", "x.icc", "Upper.ICM"}));
    EXPECT_EQ(TakeBoxes(), (Ids{ids::kMaxProfilesReached}));
    EXPECT_EQ(ListColumn(1), (Names{"a.icc", "b.icc", "c.icc", "d.icc"}));
}

} // namespace
} // namespace quillon
