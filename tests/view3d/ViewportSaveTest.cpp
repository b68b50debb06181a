#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "tests/view3d/SyntheticShapes.h"
#include "tests/view3d/ViewTestSupport.h"

using namespace quillon;
using namespace quillon::testing_view;
namespace fs = std::filesystem;

namespace {

// A shown view with one visible prism, a chooser that answers at once and message boxes
// recorded instead of shown.
class ViewportSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetCurrentLanguage(Language::English);
        SetBoxHook([this](const BoxRequest& request) {
            boxes.push_back(request.textId);
            return QMessageBox::Ok;
        });
        folder = fs::temp_directory_path() / ("quillon_save_" + std::to_string(QCoreApplication::applicationPid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        view = ShownView();
        ASSERT_TRUE(view);
        slot = testing_shapes::Prism(4, 40, 20, 80);
        std::strcpy(slot->profile.fileName, "/some/where/printer.icc");
        ASSERT_TRUE(view->CompileShape(0, *slot, 2));
        view->Shape(0)->visible = 1;
        view->SetSavePathChooser([this](QWidget*, const QString& caption, const QString& filter, const QString& suffix) {
            asked.push_back(caption + "|" + filter + "|" + suffix);
            return answer;
        });
    }
    void TearDown() override
    {
        view.reset();
        SetBoxHook({});
        fs::remove_all(folder);
    }
    QString Path(const char* name) const { return QString::fromStdString((folder / name).string()); }

    std::unique_ptr<TestView> view;
    std::unique_ptr<ViewSlot> slot;
    fs::path folder;
    QString answer;
    std::vector<QString> asked;
    std::vector<int> boxes;
};

std::string Head(const QString& path, std::size_t n)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::string bytes(n, '\0');
    in.read(bytes.data(), std::streamsize(n));
    return bytes.substr(0, std::size_t(in.gcount()));
}

} // namespace

TEST_F(ViewportSave, PngHoldsTheCurrentFrameAtItsSize)
{
    const QImage frame = view->grabFramebuffer();
    answer = Path("view.png");
    EXPECT_TRUE(view->SaveViewAsPng());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QString("Save view as PNG|PNG pictures (*.png)|png"));
    const QImage saved(answer);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), frame.size());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), frame.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewportSave, GlbHoldsTheVisibleShapesOnly)
{
    auto other = testing_shapes::Ball(8, 30);
    std::strcpy(other->profile.fileName, "hidden.icc");
    ASSERT_TRUE(view->CompileShape(1, *other, 1)); // in use, not visible
    answer = Path("shapes.glb");
    EXPECT_TRUE(view->ExportShapes());
    EXPECT_EQ(Head(answer, 4), "glTF");
    const std::vector<GlbShape> shapes = view->VisibleShapes();
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].name, "printer.icc");
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(WriteShapesGlb(shapes, expected));
    EXPECT_EQ(fs::file_size(answer.toStdString()), expected.size());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewportSave, CancelWritesNothingAndSaysNothing)
{
    answer.clear();
    EXPECT_FALSE(view->SaveViewAsPng());
    EXPECT_FALSE(view->ExportShapes());
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewportSave, UnwritableTargetsGiveAnErrorBoxAndLeaveFilesAsTheyWere)
{
    // Root may write anywhere, so the unwritable targets are ones no one can write.
    std::ofstream(folder / "file") << "keep";
    struct Case {
        QString path;
        bool png;
        int box;
    };
    const Case cases[] = {
        {Path("no_such_folder/view.png"), true, 2047},
        {Path("file/view.png"), true, 2047},
        {QString::fromStdString(folder.string()), true, 2047}, // a folder
        {Path("no_such_folder/shapes.glb"), false, 2048},
        {QString::fromStdString(folder.string()), false, 2048},
    };
    for (const auto& c : cases) {
        boxes.clear();
        answer = c.path;
        EXPECT_FALSE(c.png ? view->SaveViewAsPng() : view->ExportShapes()) << c.path.toStdString();
        EXPECT_EQ(boxes, std::vector<int>{c.box});
    }
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"file"}) << "no temporary or partial file";
    EXPECT_EQ(Head(Path("file"), 10), "keep");
}

TEST_F(ViewportSave, NothingVisibleToExportSaysSoWithoutAsking)
{
    view->Shape(0)->visible = 0;
    answer = Path("shapes.glb");
    EXPECT_FALSE(view->ExportShapes());
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(boxes, std::vector<int>{2049});
    EXPECT_FALSE(fs::exists(answer.toStdString()));
}

TEST_F(ViewportSave, ContextMenuAndShortcutsInBothLanguages)
{
    struct Case {
        Language language;
        const char* save;
        const char* exportText;
        const char* cannotPicture;
        const char* cannotMesh;
    };
    const Case cases[] = {
        {Language::English, "Save view as PNG...", "Export shapes...", "Unable to write the picture file.",
         "Unable to write the mesh file."},
        {Language::French, "Enregistrer la vue en PNG...", "Exporter les formes...",
         "Le fichier image n'a pu être écrit.", "Le fichier de maillage n'a pu être écrit."},
    };
    for (const auto& c : cases) {
        SetCurrentLanguage(c.language);
        C3DScrollView fresh;
        EXPECT_EQ(fresh.contextMenuPolicy(), Qt::ActionsContextMenu);
        ASSERT_EQ(fresh.actions().size(), 2);
        EXPECT_EQ(fresh.actions()[0]->text(), QString::fromUtf8(c.save));
        EXPECT_EQ(fresh.actions()[1]->text(), QString::fromUtf8(c.exportText));
        EXPECT_EQ(LoadText(2047), QString::fromUtf8(c.cannotPicture));
        EXPECT_EQ(LoadText(2048), QString::fromUtf8(c.cannotMesh));
    }
    SetCurrentLanguage(Language::English);

    answer = Path("key.png");
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::keyClick(view.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fs::exists(answer.toStdString()));
    answer = Path("key.glb");
    QTest::keyClick(view.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Head(answer, 4), "glTF");
}
