#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QMetaObject>
#include <QOpenGLWidget>
#include <QString>

#include "view3d/GlbExport.h"
#include "view3d/ShapeEntry.h"
#include "view3d/ShapeMesh.h"
#include "view3d/SceneGeometry.h"
#include "view3d/ViewCamera.h"
#include "view3d/ViewSlot.h"

class QAction;
class QLabel;

namespace quillon {

// The 3D viewport: half-axes at L* 0 and 100, six labels, the probe marker and up to
// four gamut shapes, redrawn whole on every paint. Needs a compatibility-profile
// default QSurfaceFormat (depth 24, double buffer) set before QApplication exists.
//
// Host use (the main window):
//   auto* view = new C3DScrollView(placeholder, &showPoint, &probeL, &probeA, &probeB);
//   view->CompileShape(slot.shapeIndex, slot, row);   // after a build or a parameter change
//   view->SetShapeVisible(i, true);                   // visibility, redraws
//   view->SetShapeInUse(i, false); view->DeleteShapeList(i); // Remove, redraws
//   view->TopView();                                  // Top view button
// The view only reads through the four probe pointers, at every frame; a null pointer
// or a zero flag hides the marker. Probe changes need only Invalidate().
// If no usable OpenGL context can be had, the view shows ContextErrorText() instead.
class C3DScrollView : public QOpenGLWidget {
public:
    explicit C3DScrollView(QWidget* parent = nullptr);
    C3DScrollView(QWidget* parent, const std::int32_t* showPoint, const float* probeL, const float* probeA,
                  const float* probeB);
    ~C3DScrollView() override;

    void SetProbeReferences(const std::int32_t* showPoint, const float* probeL, const float* probeA,
                            const float* probeB);

    // Compiles the slot's shape into list shapeIndex + 1 in the solid colour of `row`
    // (when not in natural colours) and marks entry shapeIndex in use with a fresh
    // sortKey (0 raised to the largest b*). Replaces what the list held and invalidates.
    // Before the context exists the list is kept and compiled as soon as it does.
    // False, changing nothing, for a shapeIndex or row outside 0..3 or a grid size
    // outside 0..32.
    bool CompileShape(std::int16_t shapeIndex, const ViewSlot& slot, std::int16_t row);

    // Empties list shapeIndex + 1 (its number stays the view's); the entry's inUse and
    // visible are the host's to clear.
    void DeleteShapeList(std::int16_t shapeIndex);

    // Display lists that exist in the view's context, counted by glIsList over 1 to
    // kListScanLimit or past the glyph range if that ends higher; -1 when there is no
    // usable context. For leak checks.
    int LiveDisplayLists();

    // Entry shapeIndex (0..3), for the host to read and to write inUse / visible;
    // null outside 0..3. Invalidate() after writing.
    ShapeEntry* Shape(int shapeIndex);
    const ShapeEntry* Shape(int shapeIndex) const;

    // The host's two fields of entry shapeIndex (0..3; others ignored); each redraws.
    void SetShapeVisible(int shapeIndex, bool visible);
    void SetShapeInUse(int shapeIndex, bool inUse);

    // How often this view was asked to compile and to empty a shape list, so that a
    // recompile can be told from a redraw.
    long ShapeCompiles() const { return m_shapeCompiles; }
    long ShapeDeletes() const { return m_shapeDeletes; }

    // Display lists held by owners in this process (all views); lets tests prove nothing
    // is kept past its use.
    static long OwnedDisplayLists();

    void Invalidate() { update(); }

    // Looks down the L* axis from L* 100 (+a* right, +b* up); keeps the zoom; redraws.
    void TopView();

    const ViewCamera& Camera() const { return m_camera; }

    // True once the context was found missing or unable to run OpenGL 1.1 calls.
    bool ContextFailed() const { return m_contextFailed; }
    QString ContextErrorText() const;
    void SetContextErrorText(const QString& text);

    // "Save view as PNG..." (Ctrl+S) and "Export shapes..." (Ctrl+Shift+S), in the view's
    // context menu. The chooser asks where to write (a save-file dialog by default; tests
    // set one that answers at once) and returns an empty string when the user cancels.
    // The chosen file is the only one written; a file that cannot be written is reported
    // in an error box and left as it was.
    using SavePathChooser = std::function<QString(QWidget* parent, const QString& caption,
                                                  const QString& filter, const QString& suffix)>;
    void SetSavePathChooser(SavePathChooser chooser) { m_savePathChooser = std::move(chooser); }
    // True when a file was written.
    bool SaveViewAsPng();
    bool ExportShapes();
    QAction* SaveViewAction() const { return m_saveViewAction; }
    QAction* ExportShapesAction() const { return m_exportShapesAction; }
    // The shapes drawn now (in use and visible), named by their profiles' file names.
    std::vector<GlbShape> VisibleShapes() const;

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // Probe marker (list 17), half-axes (list 20) and the 96 glyph lists; once per context.
    void BuildSceneLists();
    // The whole frame; the context must be current.
    void RenderScene();
    // printf-style text at the current raster position, in the current raster colour.
    void DrawLabel(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void SetProjection(int width, int height);

private:
    void UploadPendingShapes();
    void ReleaseGl();
    void ShowContextError();
    void CheckContextAfterShow();
    void SetUpSaveActions();
    QString AskSavePath(int captionId, int filterId, const char* suffix);

    std::int32_t m_bListsBuilt = 0;
    ViewCamera m_camera; // m_nRotX, m_nRotY, m_dZoom, m_ptLastMouse
    const std::int32_t* m_pShowPoint = nullptr;
    const float* m_pProbeL = nullptr;
    const float* m_pProbeA = nullptr;
    const float* m_pProbeB = nullptr;
    std::array<ShapeEntry, kShapeCount> m_shapes{};

    // What each shape list holds, kept so that it can be compiled into a context that
    // does not exist yet or that Qt has re-created (the widget moved to another window).
    std::array<std::unique_ptr<ShapeMesh>, kShapeCount> m_meshes;
    std::array<bool, kShapeCount> m_meshInList{};
    struct OwnedLists; // the display-list owners, kept with the GL code
    std::unique_ptr<OwnedLists> m_lists;
    long m_shapeCompiles = 0;
    long m_shapeDeletes = 0;

    // Dropped in the destructor: QOpenGLWidget destroys the context after this class's
    // part of the object is gone, and the handler must not run on what is left.
    QMetaObject::Connection m_contextGone;
    bool m_contextFailed = false;
    QLabel* m_errorLabel = nullptr; // child, owned by Qt

    std::array<std::string, kShapeCount> m_shapeNames; // bare profile file names, for export
    SavePathChooser m_savePathChooser;
    QAction* m_saveViewAction = nullptr;     // child, owned by Qt
    QAction* m_exportShapesAction = nullptr; // child, owned by Qt
};

} // namespace quillon
