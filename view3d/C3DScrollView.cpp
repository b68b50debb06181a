#include "view3d/C3DScrollView.h"

#include <algorithm>
#include <cstdarg>
#include <string>

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <GL/glu.h>

#include "view3d/ContextScope.h"
#include "view3d/GlyphBitmaps.h"
#include "view3d/LabelText.h"
#include "view3d/SceneLists.h"

namespace quillon {
namespace {

struct Label {
    const char* text;
    float r, g, b;
    double x, y, z;
};

// L* 110, L* -10, and +-135 a*/b* at L* 50.
constexpr Label kLabels[] = {
    {"L100", 1.0f, 1.0f, 1.0f, 0.0, 0.72, 0.0},   {"L0", 0.3f, 0.3f, 0.3f, 0.0, -0.72, 0.0},
    {"a+", 1.0f, 0.0f, 0.0f, 1.62, 0.0, 0.0},     {"a-", 0.0f, 1.0f, 0.0f, -1.62, 0.0, 0.0},
    {"b-", 0.0f, 0.0f, 1.0f, 0.0, 0.0, 1.62},     {"b+", 1.0f, 1.0f, 0.0f, 0.0, 0.0, -1.62},
};

constexpr double kProbeMarkerScale = 2.0;

const char* const kDefaultContextError =
    "The 3D view cannot be drawn: no OpenGL context with the legacy (compatibility) "
    "functions could be created on this display.";

// A core-profile context accepts no immediate-mode calls: as good as none for this view.
bool ContextUsable(const QOpenGLContext* context)
{
    if (!context || !context->isValid())
        return false;
    const QSurfaceFormat format = context->format();
    if (format.profile() == QSurfaceFormat::CoreProfile && format.version() >= qMakePair(3, 2))
        return false;
    return glGetString(GL_VERSION) != nullptr;
}

} // namespace

struct C3DScrollView::OwnedLists {
    std::array<DisplayListRange, kShapeCount> shapes;
    DisplayListRange probe;
    DisplayListRange axes;
    DisplayListRange glyphs; // one view, one context: the base is the view's own
};

long C3DScrollView::OwnedDisplayLists()
{
    return DisplayListRange::OwnedCount();
}

C3DScrollView::C3DScrollView(QWidget* parent) : QOpenGLWidget(parent), m_lists(std::make_unique<OwnedLists>())
{
    // The frame covers the whole area: nothing to erase underneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_errorLabel = new QLabel(QString::fromUtf8(kDefaultContextError), this);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setAlignment(Qt::AlignCenter);
    m_errorLabel->setAutoFillBackground(true);
    m_errorLabel->setMargin(8);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_errorLabel);
    m_errorLabel->hide();
    SetUpSaveActions();
}

C3DScrollView::C3DScrollView(QWidget* parent, const std::int32_t* showPoint, const float* probeL,
                             const float* probeA, const float* probeB)
    : C3DScrollView(parent)
{
    SetProbeReferences(showPoint, probeL, probeA, probeB);
}

C3DScrollView::~C3DScrollView()
{
    QObject::disconnect(m_contextGone);
    ReleaseGl();
}

void C3DScrollView::SetProbeReferences(const std::int32_t* showPoint, const float* probeL, const float* probeA,
                                       const float* probeB)
{
    m_pShowPoint = showPoint;
    m_pProbeL = probeL;
    m_pProbeA = probeA;
    m_pProbeB = probeB;
}

ShapeEntry* C3DScrollView::Shape(int shapeIndex)
{
    return shapeIndex >= 0 && shapeIndex < kShapeCount ? &m_shapes[std::size_t(shapeIndex)] : nullptr;
}

const ShapeEntry* C3DScrollView::Shape(int shapeIndex) const
{
    return shapeIndex >= 0 && shapeIndex < kShapeCount ? &m_shapes[std::size_t(shapeIndex)] : nullptr;
}

void C3DScrollView::SetShapeVisible(int shapeIndex, bool visible)
{
    if (ShapeEntry* entry = Shape(shapeIndex)) {
        entry->visible = visible ? 1 : 0;
        update();
    }
}

void C3DScrollView::SetShapeInUse(int shapeIndex, bool inUse)
{
    if (ShapeEntry* entry = Shape(shapeIndex)) {
        entry->inUse = inUse ? 1 : 0;
        update();
    }
}

QString C3DScrollView::ContextErrorText() const { return m_errorLabel->text(); }

void C3DScrollView::SetContextErrorText(const QString& text) { m_errorLabel->setText(text); }

void C3DScrollView::ShowContextError()
{
    m_contextFailed = true;
    m_errorLabel->show();
    m_errorLabel->raise();
}

bool C3DScrollView::CompileShape(std::int16_t shapeIndex, const ViewSlot& slot, std::int16_t row)
{
    ++m_shapeCompiles;
    ShapeEntry* entry = Shape(shapeIndex);
    if (!entry)
        return false;
    auto mesh = std::make_unique<ShapeMesh>();
    if (!BuildShapeMesh(slot, row, *mesh))
        return false;

    const auto index = std::size_t(shapeIndex);
    entry->sortKey = mesh->sortKey;
    m_meshes[index] = std::move(mesh);
    const std::string name = FileNameOf(slot.profile);
    m_shapeNames[index] = name.substr(name.find_last_of('/') + 1); // npos + 1 == 0: the whole name
    m_meshInList[index] = false;
    {
        ContextScope scope(*this);
        if (scope && !m_contextFailed)
            UploadPendingShapes();
    }
    entry->listIndex = shapeIndex;
    entry->inUse = 1;
    update();
    return true;
}

void C3DScrollView::DeleteShapeList(std::int16_t shapeIndex)
{
    ++m_shapeDeletes;
    if (shapeIndex < 0 || shapeIndex >= kShapeCount)
        return;
    const auto index = std::size_t(shapeIndex);
    m_meshes[index].reset();
    m_meshInList[index] = false;
    ContextScope scope(*this);
    // Emptied rather than deleted: a freed number could be handed out by glGenLists in
    // this context (or one sharing its lists) and then overwritten by the next compile.
    if (scope && !m_contextFailed && !m_lists->shapes[index].empty()) {
        glNewList(m_lists->shapes[index].first(), GL_COMPILE);
        glEndList();
    }
}

int C3DScrollView::LiveDisplayLists()
{
    ContextScope scope(*this);
    if (!scope || m_contextFailed)
        return -1;
    // The glyph base is glGenLists's choice: the scan reaches past it whatever it is.
    const GLuint last = std::max<GLuint>(kListScanLimit, m_lists->glyphs.first() + GLuint(kGlyphCount));
    int live = 0;
    for (GLuint list = 1; list <= last; ++list)
        live += glIsList(list) ? 1 : 0;
    return live;
}

void C3DScrollView::TopView()
{
    if (m_camera.TopView())
        update();
}

void C3DScrollView::UploadPendingShapes()
{
    for (std::size_t i = 0; i < m_meshes.size(); ++i) {
        if (!m_meshes[i] || m_meshInList[i])
            continue;
        const GLuint list = kFirstShapeList + GLuint(i);
        CompileShapeMesh(list, *m_meshes[i]);
        if (m_lists->shapes[i].empty())
            m_lists->shapes[i] = DisplayListRange(list, 1);
        m_meshInList[i] = true;
    }
}

void C3DScrollView::ReleaseGl()
{
    ContextScope scope(*this);
    // Without a current context the lists die with the context itself.
    for (auto& lists : m_lists->shapes)
        lists.Reset();
    m_lists->probe.Reset();
    m_lists->axes.Reset();
    m_lists->glyphs.Reset();
    m_meshInList.fill(false);
    m_bListsBuilt = 0;
}

void C3DScrollView::initializeGL()
{
    QOpenGLContext* ctx = context();
    if (!ContextUsable(ctx)) {
        ShowContextError();
        return;
    }
    // Qt re-creates the context when the widget changes windows; everything in the old
    // one must be let go while it is still current.
    QObject::disconnect(m_contextGone);
    m_contextGone =
        connect(ctx, &QOpenGLContext::aboutToBeDestroyed, this, [this] { ReleaseGl(); }, Qt::DirectConnection);
    BuildSceneLists();
    UploadPendingShapes();
    // Qt calls resizeGL only when the size changes, not after re-creating the context
    // for a new window: the fresh context needs its projection now.
    SetProjection(width(), height());
}

void C3DScrollView::BuildSceneLists()
{
    m_bListsBuilt = 1;
    ContextScope scope(*this);
    if (!scope || m_contextFailed)
        return;
    // Lists 1..4 are taken before glGenLists runs, so that the glyph range it hands out
    // can never cover a shape list compiled later.
    for (int i = 0; i < kShapeCount; ++i) {
        const GLuint list = kFirstShapeList + GLuint(i);
        if (m_lists->shapes[std::size_t(i)].empty()) {
            if (!glIsList(list)) {
                glNewList(list, GL_COMPILE);
                glEndList();
            }
            m_lists->shapes[std::size_t(i)] = DisplayListRange(list, 1);
        }
    }
    CompileProbeMarker(kProbeMarkerList);
    m_lists->probe = DisplayListRange(kProbeMarkerList, 1);
    CompileHalfAxes(kHalfAxesList);
    m_lists->axes = DisplayListRange(kHalfAxesList, 1);
    m_lists->glyphs = CompileGlyphs(RasteriseGlyphs(LabelFont(), kFirstGlyph, kGlyphCount));
}

void C3DScrollView::SetProjection(int width, int height)
{
    ContextScope scope(*this);
    if (!scope || m_contextFailed)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, ProjectionAspect(width, height), kNearPlane, kFarPlane);
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(qMax(0, width) * ratio), GLsizei(qMax(0, height) * ratio));
    // Left at the projection matrix: RenderScene selects the model-view matrix itself.
}

void C3DScrollView::resizeGL(int width, int height) { SetProjection(width, height); }

void C3DScrollView::paintGL()
{
    if (m_contextFailed) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    if (!m_bListsBuilt)
        BuildSceneLists();
    UploadPendingShapes();
    RenderScene();
}

void C3DScrollView::DrawLabel(const char* format, ...)
{
    if (!format || m_lists->glyphs.empty())
        return;
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatLabelText(format, args);
    va_end(args);
    if (text.empty())
        return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(m_lists->glyphs.first() - GLuint(kFirstGlyph));
    glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopAttrib();
}

void C3DScrollView::RenderScene()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Lighting stays off: every vertex shows its own colour.
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);

    // Turned about X, then about Y, then scaled, then put 7 units in front of the eye.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -kEyeDistance);
    glScaled(m_camera.m_dZoom, m_camera.m_dZoom, m_camera.m_dZoom);
    glRotated(m_camera.m_nRotY, 0.0, 1.0, 0.0);
    glRotated(m_camera.m_nRotX, 1.0, 0.0, 0.0);

    glDisable(GL_CULL_FACE);
    if (m_pShowPoint && m_pProbeL && m_pProbeA && m_pProbeB && *m_pShowPoint != 0) {
        const ScenePoint at = LabToScene(*m_pProbeL, *m_pProbeA, *m_pProbeB);
        glPushMatrix();
        glTranslated(at.x, at.y, at.z);
        glScaled(kProbeMarkerScale, kProbeMarkerScale, kProbeMarkerScale);
        glCallList(kProbeMarkerList);
        glPopMatrix();
    }

    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);

    for (const Label& label : kLabels) {
        glColor4f(label.r, label.g, label.b, 1.0f);
        glRasterPos3d(label.x, label.y, label.z);
        DrawLabel("%s", label.text);
    }

    glCallList(kHalfAxesList);

    // Smallest key first. Insertion sort: four entries, and a NaN key written by a
    // host cannot break it the way it breaks std::sort's ordering contract.
    std::array<const ShapeEntry*, kShapeCount> drawn{};
    int count = 0;
    for (const ShapeEntry& entry : m_shapes) {
        if (entry.inUse && entry.visible && entry.listIndex >= 0 && entry.listIndex < kShapeCount)
            drawn[std::size_t(count++)] = &entry;
    }
    for (int i = 1; i < count; ++i)
        for (int j = i; j > 0 && drawn[std::size_t(j)]->sortKey < drawn[std::size_t(j - 1)]->sortKey; --j)
            std::swap(drawn[std::size_t(j)], drawn[std::size_t(j - 1)]);
    for (int i = 0; i < count; ++i)
        glCallList(kFirstShapeList + GLuint(drawn[std::size_t(i)]->listIndex));

    glFlush();
}

bool C3DScrollView::event(QEvent* event)
{
    const bool handled = QOpenGLWidget::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
        CheckContextAfterShow();
    return handled;
}

void C3DScrollView::CheckContextAfterShow()
{
    // Qt tries to create the context when a visible, non-empty widget is shown or
    // resized; if that left none, say so instead of showing an empty area.
    if (m_contextFailed || !isVisible() || size().isEmpty() || !window()->windowHandle())
        return;
    if (!isValid())
        ShowContextError();
}

void C3DScrollView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_camera.OnLeftButtonDown())
        update();
    QOpenGLWidget::mousePressEvent(event);
}

void C3DScrollView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_camera.OnLeftButtonUp())
        update();
    QOpenGLWidget::mouseReleaseEvent(event);
}

void C3DScrollView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_camera.OnMouseMove(event->buttons().testFlag(Qt::LeftButton),
                             event->modifiers().testFlag(Qt::ControlModifier), at.x(), at.y()))
        update();
    QOpenGLWidget::mouseMoveEvent(event);
}

void C3DScrollView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        QOpenGLWidget::wheelEvent(event);
        return;
    }
    if (m_camera.OnWheel(delta))
        update();
    event->accept();
}

} // namespace quillon
