#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>

#include "gamut/GamutSolid.h"
#include "profiles/ProfileRecord.h"
#include "view3d/ViewSlot.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QWidget;
namespace Ui {
class ViewerDlg;
}

namespace quillon {

class C3DScrollView;
class COpacityTrackBar;
struct LoadedProfile;
class LoadedProfileSet;
struct ViewerEnvironment;

// The main window's view list and display parameters: the slots behind the rows, the list
// rows, Add and Remove, building a row's shape under the progress box, enabling the rows,
// and the visibility, colour-mode and opacity controls of each row. The window owns the form
// and the viewport and hands the panel the viewport once it exists; the panel never knows
// the window's other parts.
class ViewListPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = kShapeCount; // one row per viewport shape

    // `readAllControls` is the window's whole data exchange from its controls.
    ViewListPanel(QWidget& window, Ui::ViewerDlg& ui, const ViewerEnvironment& env,
                  std::function<void()> readAllControls);
    ViewListPanel(const ViewListPanel&) = delete;
    ViewListPanel& operator=(const ViewListPanel&) = delete;
    ~ViewListPanel() override;

    // The list's columns and the rows' swatches and track bars.
    void Init();
    void SetViewport(C3DScrollView* viewport) { m_viewport = viewport; }
    // Hooks the rows' controls and the Add and Remove buttons to the handlers below.
    void Connect();

    // The panel's part of the window's data exchange.
    void ReadControls();
    void WriteControls();

    void OnAdd();
    // Profile files by full path (bytes, as the file system names them), in order, each
    // through Add's steps after the dialog; 1012 once when they do not all fit.
    void AddFiles(const std::vector<std::string>& paths);
    void OnRemove();
    void EnableRows();

    void OnVisibility(int row);
    void OnColourMode(int row);
    void OnOpacityReleased(int row);

    // See CViewerDlg::BuildGamutShape.
    std::optional<int> BuildGamutShape(LoadedProfileSet& set, int row, std::int16_t shapeIndex,
                                       const LoadedProfile& profile);

    std::int16_t SlotCount() const { return m_slotCount; }
    const ViewSlot& Slot(int row) const { return m_slots.at(row); }
    const std::vector<GamutSolid>& Solids() const { return m_solids; }

signals:
    // The listed profiles changed (a row added or removed); Solids() is already current.
    void listChanged();

private:
    struct RowControls {
        QLabel* number = nullptr;
        QCheckBox* visible = nullptr;
        QLabel* naturalSwatch = nullptr;
        QLabel* solidSwatch = nullptr;
        QRadioButton* natural = nullptr;
        QRadioButton* solid = nullptr;
        COpacityTrackBar* opacity = nullptr;
    };

    void InitViewList();
    void InitDisplayParameters();

    void SetRowControls(int row, const ViewSlot& slot);
    void InsertListRow(int row, const ViewSlot& slot);
    int LowestFreeShapeEntry() const;
    // Add's steps from the duplicate test on; true when the row was added.
    bool AddRecord(const ProfileRecord& chosen);
    // Add's work with `set` open: the message to show once it is closed, none on success.
    std::optional<int> AddChosen(LoadedProfileSet& set, const ProfileRecord& chosen);
    void RecompileShape(int row);
    void RedrawViewport();
    // Solids of the listed rows, then listChanged.
    void ListChanged();

    QWidget& m_window;
    Ui::ViewerDlg& m_ui;
    const ViewerEnvironment& m_env;
    std::function<void()> m_readAllControls;
    C3DScrollView* m_viewport = nullptr; // the window's, set once it exists
    std::int16_t m_slotCount = 0;
    std::array<ViewSlot, kRows> m_slots{};
    std::array<RowControls, kRows> m_rows{};
    std::array<int, kRows> m_opacityPositions{};
    std::vector<GamutSolid> m_solids;
};

} // namespace quillon
