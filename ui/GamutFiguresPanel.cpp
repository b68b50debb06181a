#include "ui/GamutFiguresPanel.h"

#include <algorithm>
#include <exception>

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/FiguresText.h"
#include "ui/ViewerDlg.h"

namespace quillon {

namespace {

constexpr int kCellWidth = 54;  // "100.0" and "—" with room to spare in either language
constexpr int kCellPadding = 6; // pixels above and below a line of text
constexpr int kListedNameColumn = 1;

QString RowNumber(int row)
{
    return QString::number(row + 1);
}

} // namespace

GamutFiguresPanel::GamutFiguresPanel(const CViewerDlg& window, QTreeWidget& list, QWidget* parent)
    : QWidget(parent), m_window(window), m_list(list)
{
    setObjectName(QStringLiteral("gamutFigures"));
    auto* layout = new QVBoxLayout(this);

    auto* explanation = new QLabel(LoadText(figures_ids::kCoverageExplanation), this);
    explanation->setObjectName(QStringLiteral("coverageExplanation"));
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("coverageTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setMinimumSectionSize(1);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + kCellPadding);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);

    m_empty = new QLabel(LoadText(figures_ids::kCoverageEmpty), this);
    m_empty->setObjectName(QStringLiteral("coverageEmpty"));
    m_empty->setWordWrap(true);
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setEnabled(false);

    // The table's place is kept for four rows, so that the window keeps its size as
    // profiles come and go.
    auto* place = new QWidget(this);
    auto* placeLayout = new QVBoxLayout(place);
    placeLayout->setContentsMargins(0, 0, 0, 0);
    placeLayout->addWidget(m_empty);
    placeLayout->addWidget(m_table, 0, Qt::AlignHCenter | Qt::AlignTop);
    placeLayout->addStretch(1);
    m_table->setRowCount(CViewerDlg::kRows);
    m_table->setColumnCount(CViewerDlg::kRows);
    place->setFixedSize(m_table->sizeHint());
    layout->addWidget(place, 0, Qt::AlignHCenter);
    explanation->setFixedWidth(place->width());
    explanation->setMinimumHeight(explanation->heightForWidth(place->width())); // a fixed-size window asks no more


    // The whole header, volume included, stays in view without scrolling sideways.
    const int listWidth = m_list.header()->length() + 2 * m_list.frameWidth();
    m_list.setMinimumWidth(std::max(m_list.minimumWidth(), listWidth));

    connect(&window, &CViewerDlg::listChanged, this, &GamutFiguresPanel::Refresh);
    Refresh();
}

void GamutFiguresPanel::Refresh()
{
    const std::vector<GamutSolid>& solids = m_window.Solids();
    m_figures = {};
    if (static_cast<int>(solids.size()) == m_list.topLevelItemCount()) {
        try {
            m_figures = ComputeFigures(solids);
        } catch (const std::exception&) {
            m_figures = {}; // no figures rather than a handler that throws
        }
    }
    ShowVolumes();
    ShowTable();
}

void GamutFiguresPanel::ShowVolumes()
{
    const QLocale locale = LocaleOf(CurrentLanguage());
    const std::vector<GamutSolid>& solids = m_window.Solids();
    for (int r = 0; r < m_list.topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = m_list.topLevelItem(r);
        const bool known = static_cast<std::size_t>(r) < m_figures.count && solids[r].valid();
        item->setText(kVolumeColumn, known ? VolumeText(m_figures.volume[r], locale) : QString());
        item->setTextAlignment(kVolumeColumn, Qt::AlignRight | Qt::AlignVCenter);
    }
}

void GamutFiguresPanel::ShowTable()
{
    const int n = static_cast<int>(m_figures.count);
    // A single shape covers only itself: the table starts with two.
    const bool shown = n >= 2;
    m_table->setVisible(shown);
    m_empty->setVisible(!shown);
    m_table->setRowCount(shown ? n : 0);
    m_table->setColumnCount(shown ? n : 0);
    if (!shown) {
        m_table->updateGeometry();
        return;
    }

    const QLocale locale = LocaleOf(CurrentLanguage());
    const std::vector<GamutSolid>& solids = m_window.Solids();
    const QString tip = LoadText(figures_ids::kCoverageCellTip);
    QStringList numbers;
    for (int r = 0; r < n; ++r)
        numbers << RowNumber(r);
    m_table->setHorizontalHeaderLabels(numbers);
    m_table->setVerticalHeaderLabels(numbers);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const bool known = solids[i].valid() && solids[j].valid();
            QString text;
            if (i == j)
                text = QStringLiteral("\u2014");
            else if (known)
                text = CoverageText(m_figures.Coverage(i, j), locale);
            auto* cell = new QTableWidgetItem(text);
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setFlags(Qt::ItemIsEnabled);
            if (i != j && known) {
                cell->setToolTip(tip.arg(text, m_list.topLevelItem(i)->text(kListedNameColumn),
                                         m_list.topLevelItem(j)->text(kListedNameColumn)));
            }
            m_table->setItem(i, j, cell); // the table owns it from here
        }
    }
    m_table->updateGeometry();
}

GamutFiguresButton::GamutFiguresButton(CViewerDlg& window, QTreeWidget& list, QWidget* parent)
    : QPushButton(LoadText(figures_ids::kCoverageButton), parent)
{
    setObjectName(QStringLiteral("coverageButton"));
    m_figuresWindow = new QDialog(&window);
    m_figuresWindow->setObjectName(QStringLiteral("coverageWindow"));
    m_figuresWindow->setWindowTitle(LoadText(figures_ids::kCoverageTitle));
    m_figuresWindow->setModal(false);
    auto* layout = new QVBoxLayout(m_figuresWindow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new GamutFiguresPanel(window, list, m_figuresWindow));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(this, &QPushButton::clicked, this, &GamutFiguresButton::OpenFigures);
}

void GamutFiguresButton::OpenFigures()
{
    if (!m_placed) {
        // Right below the button, inside the screen.
        m_figuresWindow->adjustSize();
        QPoint at = mapToGlobal(QPoint(0, height()));
        if (const QScreen* screen = this->screen()) {
            const QRect free = screen->availableGeometry();
            const QSize size = m_figuresWindow->frameGeometry().size();
            at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - size.width())));
            at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - size.height())));
        }
        m_figuresWindow->move(at);
        m_placed = true;
    }
    m_figuresWindow->show();
    m_figuresWindow->raise();
    m_figuresWindow->activateWindow();
}

} // namespace quillon
