#include "ui/ViewerDlg.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "app/AboutDlg.h"
#include "app/ApplicationFolder.h"
#include "app/DialogTexts.h"
#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "ui/ColourProbePanel.h"
#include "ui/GamutFiguresPanel.h"
#include "ui/ProfileChoice.h"
#include "ui/StringIds.h"
#include "ui/ViewListPanel.h"
#include "view3d/C3DScrollView.h"
#include "ui_ViewerDlg.h"

namespace quillon {

ViewerEnvironment ViewerEnvironment::Default()
{
    ViewerEnvironment env;
    env.applicationFolder = ApplicationFolderOrWorkingDirectory();
    return env; // the window fills in the real dialogs for seams left empty
}

CViewerDlg::CViewerDlg(QWidget* parent) : CViewerDlg(ViewerEnvironment::Default(), parent) {}

CViewerDlg::CViewerDlg(ViewerEnvironment environment, QWidget* parent)
    : QDialog(parent), m_env(std::move(environment)), m_ui(std::make_unique<Ui::ViewerDlg>()),
      m_list(std::make_unique<ViewListPanel>(*this, *m_ui, m_env, [this] { ReadControls(); })),
      m_probe(std::make_unique<ColourProbePanel>(*this, *m_ui, m_env, [this] { RedrawViewport(); }))
{
    if (!m_env.chooseProfile)
        m_env.chooseProfile = RunAddProfileDialog;
    if (!m_env.buildNcpList)
        m_env.buildNcpList = BuildNcpListUnderProgressBox;
    if (!m_env.applicationFolder.empty() && m_env.applicationFolder.back() != '/')
        m_env.applicationFolder += '/';
    InitDialog();
}

CViewerDlg::~CViewerDlg()
{
    SetBoxOwner(nullptr);
}

void CViewerDlg::InitDialog()
{
    m_ui->setupUi(this);
    ApplyDialogTexts(this);
    // A dialog without minimise or maximise box, but one that may be resized.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    // No system menu here: the about item is a context-menu entry and a small button.
    const QString aboutText = LoadText(ids::kAboutMenuItem);
    if (!aboutText.isEmpty()) {
        m_aboutAction = new QAction(aboutText, this);
        m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
        addAction(m_aboutAction);
        setContextMenuPolicy(Qt::ActionsContextMenu);
        m_ui->aboutButton->setDefaultAction(m_aboutAction);
        connect(m_aboutAction, &QAction::triggered, this, &CViewerDlg::OnAbout);
    } else {
        m_ui->aboutButton->hide();
    }

    m_list->Init();
    EnableRows();
    setAcceptDrops(true);
    m_probe->Init();

    WriteControls();
    m_probe->ApplyFormatLayout();

    CreateViewport();
    ConnectHandlers();
    // Volumes in the view list; the coverage table opens from a button below the probe.
    m_ui->rightColumn->insertWidget(m_ui->rightColumn->count() - 1,
                                    new GamutFiguresButton(*this, *m_ui->viewList, this), 0, Qt::AlignHCenter);
    SetBoxOwner(this);
}

void CViewerDlg::CreateViewport()
{
    // Owned by the placeholder.
    ColourProbeState& probe = m_probe->State();
    m_viewport = new C3DScrollView(m_ui->viewportFrame, &probe.showPoint, &probe.L, &probe.a, &probe.b);
    m_ui->viewportFrame->layout()->addWidget(m_viewport);
    m_list->SetViewport(m_viewport);
    m_viewport->update();
}

void CViewerDlg::ConnectHandlers()
{
    connect(m_ui->topViewButton, &QPushButton::clicked, this, &CViewerDlg::OnTopView);
    connect(m_list.get(), &ViewListPanel::listChanged, this, &CViewerDlg::listChanged);
    m_list->Connect();
    m_probe->Connect();
    connect(this, &CViewerDlg::listChanged, this, [this] { m_probe->OnListChanged(Solids()); });
}

void CViewerDlg::ReadControls()
{
    m_list->ReadControls();
    m_probe->ReadControls();
}

void CViewerDlg::WriteControls()
{
    m_list->WriteControls();
    m_probe->WriteControls();
}

void CViewerDlg::OnTopView()
{
    m_viewport->TopView();
}

void CViewerDlg::OnAbout()
{
    CAboutDlg about(this);
    about.showLanguageSelector = false;
    about.languageIndex = CurrentLanguage() == Language::French ? 1 : 0;
    about.exec();
}

void CViewerDlg::accept() {}

void CViewerDlg::reject()
{
    if (QuestionBox(ids::kConfirmClose, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        QDialog::reject();
}

void CViewerDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::vector<std::string> CViewerDlg::DroppedProfileFiles(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString file = url.toLocalFile();
        const QString suffix = QFileInfo(file).suffix();
        if (suffix.compare(QLatin1String("icc"), Qt::CaseInsensitive) != 0 &&
            suffix.compare(QLatin1String("icm"), Qt::CaseInsensitive) != 0)
            continue;
        // The bytes the file system knows the file by, not a re-encoding of them.
        paths.push_back(QFile::encodeName(QDir::cleanPath(QFileInfo(file).absoluteFilePath())).toStdString());
    }
    return paths;
}

void CViewerDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedProfileFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void CViewerDlg::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedProfileFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void CViewerDlg::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths = DroppedProfileFiles(event->mimeData());
    if (paths.empty())
        return;
    event->acceptProposedAction();
    // Added once the drop has ended: the source is not kept waiting through builds and boxes.
    QMetaObject::invokeMethod(
        this, [this, paths = std::move(paths)] { m_list->AddFiles(paths); }, Qt::QueuedConnection);
}

const ColourProbeState& CViewerDlg::Probe() const
{
    return m_probe->State();
}

// The probe's handlers are the panel's; these names stay for the window's callers.
void CViewerDlg::OnFormatChanged() { m_probe->OnFormatChanged(); }
void CViewerDlg::OnValueEdited() { m_probe->OnValueEdited(); }
void CViewerDlg::OnShowPoint() { m_probe->OnShowPoint(); }
void CViewerDlg::OnNcpProfileChosen() { m_probe->OnNcpProfileChosen(); }
void CViewerDlg::OnColourChosen() { m_probe->OnColourChosen(); }

// The view list's handlers and state are the panel's; these names stay for the window's callers.
void CViewerDlg::OnAdd() { m_list->OnAdd(); }
void CViewerDlg::OnRemove() { m_list->OnRemove(); }
void CViewerDlg::EnableRows() { m_list->EnableRows(); }
void CViewerDlg::OnVisibility(int row) { m_list->OnVisibility(row); }
void CViewerDlg::OnColourMode(int row) { m_list->OnColourMode(row); }
void CViewerDlg::OnOpacityReleased(int row) { m_list->OnOpacityReleased(row); }
std::int16_t CViewerDlg::SlotCount() const { return m_list->SlotCount(); }
const ViewSlot& CViewerDlg::Slot(int row) const { return m_list->Slot(row); }
const std::vector<GamutSolid>& CViewerDlg::Solids() const { return m_list->Solids(); }

std::optional<int> CViewerDlg::BuildGamutShape(LoadedProfileSet& set, int row, std::int16_t shapeIndex,
                                               const LoadedProfile& profile)
{
    return m_list->BuildGamutShape(set, row, shapeIndex, profile);
}

void CViewerDlg::RedrawViewport()
{
    if (m_viewport != nullptr)
        m_viewport->update();
}

} // namespace quillon
