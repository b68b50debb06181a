// The viewport's two save commands: the frame as a PNG picture, the visible shapes as a
// glTF binary mesh.
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "view3d/C3DScrollView.h"

namespace quillon {
namespace {

constexpr int kSaveViewText = 2043;
constexpr int kExportShapesText = 2044;
constexpr int kPngFilter = 2045;
constexpr int kGlbFilter = 2046;
constexpr int kCannotWritePicture = 2047;
constexpr int kCannotWriteMesh = 2048;
constexpr int kNothingToExport = 2049;

QString AskWithFileDialog(QWidget* parent, const QString& caption, const QString& filter, const QString& suffix)
{
    // From the home folder: the working directory is the program's data folder.
    QFileDialog dialog(parent, caption, QDir::homePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

// Written beside the target and renamed over it only when complete, so a failed write
// leaves whatever was there before.
template <typename WriteFn>
bool WriteWhole(const QString& path, WriteFn write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

void C3DScrollView::SetUpSaveActions()
{
    m_savePathChooser = AskWithFileDialog;
    m_saveViewAction = new QAction(LoadText(kSaveViewText), this);
    m_saveViewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_exportShapesAction = new QAction(LoadText(kExportShapesText), this);
    m_exportShapesAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    for (QAction* action : {m_saveViewAction, m_exportShapesAction}) {
        // Anywhere in the window that holds the view, not only when the view has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(m_saveViewAction, &QAction::triggered, this, [this] { SaveViewAsPng(); });
    connect(m_exportShapesAction, &QAction::triggered, this, [this] { ExportShapes(); });
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

QString C3DScrollView::AskSavePath(int captionId, int filterId, const char* suffix)
{
    if (!m_savePathChooser)
        return {};
    QString caption = LoadText(captionId);
    caption.remove(QStringLiteral("..."));
    return m_savePathChooser(this, caption, LoadText(filterId), QString::fromLatin1(suffix));
}

bool C3DScrollView::SaveViewAsPng()
{
    // Taken before the dialog opens: the frame the user asked for, not one redrawn later.
    const QImage frame = (!m_contextFailed && isValid()) ? grabFramebuffer() : QImage();
    const QString path = AskSavePath(kSaveViewText, kPngFilter, "png");
    if (path.isEmpty())
        return false;
    const bool written = !frame.isNull() && WriteWhole(path, [&frame](QSaveFile& file) {
        QImageWriter writer(&file, "png");
        return writer.write(frame);
    });
    if (!written)
        ErrorBox(kCannotWritePicture);
    return written;
}

std::vector<GlbShape> C3DScrollView::VisibleShapes() const
{
    std::vector<GlbShape> shapes;
    for (const ShapeEntry& entry : m_shapes) {
        if (!entry.inUse || !entry.visible || entry.listIndex < 0 || entry.listIndex >= kShapeCount)
            continue;
        const auto index = std::size_t(entry.listIndex);
        if (m_meshes[index])
            shapes.push_back({m_shapeNames[index], m_meshes[index].get()});
    }
    return shapes;
}

bool C3DScrollView::ExportShapes()
{
    const std::vector<GlbShape> shapes = VisibleShapes();
    if (shapes.empty()) {
        WarningBox(kNothingToExport);
        return false;
    }
    const QString path = AskSavePath(kExportShapesText, kGlbFilter, "glb");
    if (path.isEmpty())
        return false;
    std::vector<std::uint8_t> bytes;
    const bool written = WriteShapesGlb(shapes, bytes) && WriteWhole(path, [&bytes](QSaveFile& file) {
        return file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
    });
    if (!written)
        ErrorBox(kCannotWriteMesh);
    return written;
}

} // namespace quillon
