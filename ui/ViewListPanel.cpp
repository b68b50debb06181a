// The view list's set-up, its part of the data exchange and the enabling of its rows; Add and
// Remove are in ViewList.cpp, the build in ViewListBuild.cpp, the row handlers in
// DisplayParameters.cpp.
#include "ui/ViewListPanel.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/Strings.h"
#include "ui/OpacityTrackBar.h"
#include "ui/FiguresText.h"
#include "ui/StringIds.h"
#include "ui/Swatches.h"
#include "ui/ViewerDlg.h"
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
    {figures_ids::kColumnVolume, 110, Qt::AlignRight | Qt::AlignVCenter}, // GamutFiguresPanel fills it
};

} // namespace

ViewListPanel::ViewListPanel(QWidget& window, Ui::ViewerDlg& ui, const ViewerEnvironment& env,
                             std::function<void()> readAllControls)
    : m_window(window), m_ui(ui), m_env(env), m_readAllControls(std::move(readAllControls))
{
}

ViewListPanel::~ViewListPanel() = default;

void ViewListPanel::Init()
{
    InitViewList();
    InitDisplayParameters();
}

void ViewListPanel::InitViewList()
{
    QTreeWidget* list = m_ui.viewList;
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

void ViewListPanel::InitDisplayParameters()
{
    const auto rowWidget = [](const char* name, int row) {
        return QStringLiteral("%1%2").arg(QLatin1String(name)).arg(row + 1);
    };
    for (int r = 0; r < kRows; ++r) {
        RowControls& c = m_rows[r];
        c.number = m_window.findChild<QLabel*>(rowWidget("rowNumber", r));
        c.visible = m_window.findChild<QCheckBox*>(rowWidget("visible", r));
        c.naturalSwatch = m_window.findChild<QLabel*>(rowWidget("naturalSwatch", r));
        c.solidSwatch = m_window.findChild<QLabel*>(rowWidget("solidSwatch", r));
        c.natural = m_window.findChild<QRadioButton*>(rowWidget("naturalRadio", r));
        c.solid = m_window.findChild<QRadioButton*>(rowWidget("solidRadio", r));
        c.opacity = m_window.findChild<COpacityTrackBar*>(rowWidget("opacity", r));
        Q_ASSERT(c.number && c.visible && c.naturalSwatch && c.solidSwatch && c.natural &&
                 c.solid && c.opacity);

        c.naturalSwatch->setPixmap(NaturalColourSwatch());
        c.solidSwatch->setPixmap(SolidColourSwatch(r));

        c.opacity->setRange(0, kOpacityMax);
        m_opacityPositions[r] = kOpacityMax;
    }
}

void ViewListPanel::Connect()
{
    connect(m_ui.addButton, &QPushButton::clicked, this, &ViewListPanel::OnAdd);
    connect(m_ui.removeButton, &QPushButton::clicked, this, &ViewListPanel::OnRemove);
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
}

void ViewListPanel::ReadControls()
{
    for (int r = 0; r < kRows; ++r)
        m_opacityPositions[r] = m_rows[r].opacity->value();
}

void ViewListPanel::WriteControls()
{
    for (int r = 0; r < kRows; ++r)
        m_rows[r].opacity->setValue(m_opacityPositions[r]);
}

void ViewListPanel::EnableRows()
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

void ViewListPanel::RedrawViewport()
{
    if (m_viewport != nullptr)
        m_viewport->update();
}

} // namespace quillon
