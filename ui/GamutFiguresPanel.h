#pragma once
#include <QGroupBox>

#include "gamut/GamutSolid.h"

class QLabel;
class QTableWidget;
class QTreeWidget;

namespace quillon {

class CViewerDlg;

// The gamut figures of the listed rows: each row's volume in the view list's volume column,
// and the coverage table (share of row i's volume inside row j's gamut) in a group of its own.
// Refreshed from the window's solids whenever the list changes.
class GamutFiguresPanel : public QGroupBox {
    Q_OBJECT
public:
    // The view list's column after its four profile columns.
    static constexpr int kVolumeColumn = 4;

    GamutFiguresPanel(const CViewerDlg& window, QTreeWidget& list, QWidget* parent = nullptr);

    // The figures shown: empty when fewer than two rows are listed or none could be computed.
    const GamutFigures& Figures() const { return m_figures; }
    QTableWidget* Table() const { return m_table; }

    // Volumes and table from the window's current solids, in the current language's style.
    void Refresh();

private:
    void ShowVolumes();
    void ShowTable();

    const CViewerDlg& m_window;
    QTreeWidget& m_list;
    QLabel* m_explanation = nullptr;
    QLabel* m_empty = nullptr;
    QTableWidget* m_table = nullptr;
    GamutFigures m_figures;
};

} // namespace quillon
