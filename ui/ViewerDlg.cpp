#include "ui/ViewerDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/AboutDlg.h"
#include "app/ApplicationFolder.h"
#include "app/DialogTexts.h"
#include "app/MessageBoxes.h"
#include "app/Strings.h"
#include "ui/ColourProbePanel.h"
#include "ui/OpacityTrackBar.h"
#include "ui/ProfileChoice.h"
#include "ui/StringIds.h"
#include "ui/Swatches.h"
#include "view3d/C3DScrollView.h"
#include "ui_ViewerDlg.h"

namespace quillon {

namespace {

constexpr int kOpacityMax = 100;

struct ColumnSpec {
    int titleId; // 0: the fixed title "#"
    int width;
    Qt::Alignment alignment;
};
constexpr ColumnSpec kColumns[] = {
    {0, 30, Qt::AlignCenter},
    {ids::kColumnProfile, 562, Qt::AlignLeft | Qt::AlignVCenter},
    {ids::kColumnClass, 80, Qt::AlignCenter},
    {ids::kColumnColourSpace, 90, Qt::AlignCenter},
};

} // namespace

ViewerEnvironment ViewerEnvironment::Default()
{
    ViewerEnvironment env;
    env.applicationFolder = ApplicationFolderOrWorkingDirectory();
    return env; // the window fills in the real dialogs for seams left empty
}

CViewerDlg::CViewerDlg(QWidget* parent) : CViewerDlg(ViewerEnvironment::Default(), parent) {}

CViewerDlg::CViewerDlg(ViewerEnvironment environment, QWidget* parent)
    : QDialog(parent), m_env(std::move(environment)), m_ui(std::make_unique<Ui::ViewerDlg>()),
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

    InitViewList();
    InitDisplayParameters();
    EnableRows();
    m_probe->Init();

    WriteControls();
    m_probe->ApplyFormatLayout();

    CreateViewport();
    ConnectHandlers();
    SetBoxOwner(this);
}

void CViewerDlg::InitViewList()
{
    QTreeWidget* list = m_ui->viewList;
    list->setColumnCount(0);
    QStringList titles;
    for (const ColumnSpec& column : kColumns) {
        const QString title = column.titleId == 0 ? QStringLiteral("#") : LoadText(column.titleId);
        if (title.isEmpty())
            break;
        titles << title;
    }
    list->setHeaderLabels(titles);
    for (int c = 0; c < titles.size(); ++c) {
        list->header()->resizeSection(c, kColumns[c].width);
        list->headerItem()->setTextAlignment(c, kColumns[c].alignment);
    }
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
}

void CViewerDlg::InitDisplayParameters()
{
    const auto rowWidget = [this](const char* name, int row) {
        return QStringLiteral("%1%2").arg(QLatin1String(name)).arg(row + 1);
    };
    for (int r = 0; r < kRows; ++r) {
        RowControls& c = m_rows[r];
        c.number = findChild<QLabel*>(rowWidget("rowNumber", r));
        c.visible = findChild<QCheckBox*>(rowWidget("visible", r));
        c.naturalSwatch = findChild<QLabel*>(rowWidget("naturalSwatch", r));
        c.solidSwatch = findChild<QLabel*>(rowWidget("solidSwatch", r));
        c.natural = findChild<QRadioButton*>(rowWidget("naturalRadio", r));
        c.solid = findChild<QRadioButton*>(rowWidget("solidRadio", r));
        c.opacity = findChild<COpacityTrackBar*>(rowWidget("opacity", r));
        Q_ASSERT(c.number && c.visible && c.naturalSwatch && c.solidSwatch && c.natural &&
                 c.solid && c.opacity);

        c.naturalSwatch->setPixmap(NaturalColourSwatch());
        c.solidSwatch->setPixmap(SolidColourSwatch(r));

        c.opacity->setRange(0, kOpacityMax);
        m_opacityPositions[r] = kOpacityMax;
    }
}

void CViewerDlg::CreateViewport()
{
    // Owned by the placeholder.
    ColourProbeState& probe = m_probe->State();
    m_viewport = new C3DScrollView(m_ui->viewportFrame, &probe.showPoint, &probe.L, &probe.a, &probe.b);
    m_ui->viewportFrame->layout()->addWidget(m_viewport);
    m_viewport->update();
}

void CViewerDlg::ConnectHandlers()
{
    connect(m_ui->addButton, &QPushButton::clicked, this, &CViewerDlg::OnAdd);
    connect(m_ui->removeButton, &QPushButton::clicked, this, &CViewerDlg::OnRemove);
    connect(m_ui->topViewButton, &QPushButton::clicked, this, &CViewerDlg::OnTopView);
    for (int r = 0; r < kRows; ++r) {
        const RowControls& c = m_rows[r];
        connect(c.visible, &QCheckBox::clicked, this, [this, r] { OnVisibility(r); });
        // Each pair is one group: the clicked radio is on and its partner off, also when the
        // clicked one was on already (and a click on it would otherwise turn it off).
        connect(c.natural, &QRadioButton::clicked, this, [this, r] {
            m_rows[r].natural->setChecked(true);
            m_rows[r].solid->setChecked(false);
            OnColourMode(r);
        });
        connect(c.solid, &QRadioButton::clicked, this, [this, r] {
            m_rows[r].natural->setChecked(false);
            m_rows[r].solid->setChecked(true);
            OnColourMode(r);
        });
        connect(c.opacity, &COpacityTrackBar::mouseReleased, this, [this, r] { OnOpacityReleased(r); });
    }
    m_probe->Connect();
    connect(this, &CViewerDlg::listChanged, this, [this] { m_probe->OnListChanged(m_solids); });
}

void CViewerDlg::ReadControls()
{
    for (int r = 0; r < kRows; ++r)
        m_opacityPositions[r] = m_rows[r].opacity->value();
    m_probe->ReadControls();
}

void CViewerDlg::WriteControls()
{
    for (int r = 0; r < kRows; ++r)
        m_rows[r].opacity->setValue(m_opacityPositions[r]);
    m_probe->WriteControls();
}

void CViewerDlg::EnableRows()
{
    for (int r = 0; r < kRows; ++r) {
        const bool used = r < m_slotCount;
        const RowControls& c = m_rows[r];
        for (QWidget* w : {static_cast<QWidget*>(c.visible), static_cast<QWidget*>(c.naturalSwatch),
                           static_cast<QWidget*>(c.solidSwatch), static_cast<QWidget*>(c.natural),
                           static_cast<QWidget*>(c.solid), static_cast<QWidget*>(c.opacity)})
            w->setEnabled(used);
    }
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

void CViewerDlg::RedrawViewport()
{
    if (m_viewport != nullptr)
        m_viewport->update();
}

} // namespace quillon
