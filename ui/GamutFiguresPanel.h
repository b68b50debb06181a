#pragma once
#include <QDialog>
#include <QPushButton>
#include <QWidget>

#include "gamut/GamutSolid.h"

class QLabel;
class QTableWidget;
class QTreeWidget;

namespace quillon {

class CViewerDlg;

// The gamut figures of the listed rows: each row's volume in the view list's volume column,
// and the coverage table (share of row i's volume inside row j's gamut) with its explanation.
// Refreshed from the window's solids whenever the list changes, shown or not.
class GamutFiguresPanel : public QWidget {
    Q_OBJECT
public:
    // The view list's column after its four profile columns.
    static constexpr int kVolumeColumn = 4;

    GamutFiguresPanel(const CViewerDlg& window, QTreeWidget& list, QWidget* parent = nullptr);

    // The figures of the listed rows; empty when none could be computed.
    const GamutFigures& Figures() const { return m_figures; }

    // Volumes and table from the window's current solids, in the current language's style.
    void Refresh();

private:
    void ShowVolumes();
    void ShowTable();

    const CViewerDlg& m_window;
    QTreeWidget& m_list;
    QLabel* m_empty = nullptr;
    QTableWidget* m_table = nullptr;
    GamutFigures m_figures;
};

// The button below the colour probe that opens the coverage table in a window of its own:
// there is no room for the table beside the viewport at the main window's smallest size.
// The table's window is modeless and stays up to date while it is open.
class GamutFiguresButton : public QPushButton {
    Q_OBJECT
public:
    GamutFiguresButton(CViewerDlg& window, QTreeWidget& list, QWidget* parent = nullptr);

    QDialog* FiguresWindow() const { return m_figuresWindow; }

    // Shows the table's window (below the button the first time) and brings it to the front.
    void OpenFigures();

private:
    QDialog* m_figuresWindow = nullptr; // child of the main window
    bool m_placed = false;
};

} // namespace quillon
