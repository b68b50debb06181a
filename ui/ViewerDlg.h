#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QString>

#include "profiles/ColourServices.h"
#include "profiles/ProfileRecord.h"
#include "ui/ColourProbeState.h"
#include "gamut/GamutSolid.h"
#include "view3d/ViewSlot.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace Ui {
class ViewerDlg;
}

namespace quillon {

class C3DScrollView;
class ColourProbePanel;
struct LoadedProfile;
class LoadedProfileSet;
class ViewListPanel;

// What the main window takes from outside; tests replace parts of it.
struct ViewerEnvironment {
    // Folder of GLP.icc, ending in '/'; bytes, as the file system names it.
    std::string applicationFolder;
    // Folders the catalogue lists and loads profiles from.
    ColourServices services;
    // Runs the add-profile dialog; the chosen record, or nothing when it was cancelled.
    std::function<std::optional<ProfileRecord>(QWidget* parent, const ColourServices& services)>
        chooseProfile;
    // Builds the named-colour profile list under its progress box.
    std::function<std::vector<ProfileRecord>(QWidget* parent, const ColourServices& services)>
        buildNcpList;
    // Worker threads of a gamut build; 0 = all cores.
    unsigned buildThreads = 0;

    // The application folder of the running application and the installed profiles; the
    // window uses the real dialogs for any seam left empty.
    static ViewerEnvironment Default();
};

// The main window (template 102): the view list of up to four profiles, the viewport, the
// display parameters of each row and the colour probe.
class CViewerDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = kShapeCount; // one row per viewport shape

    explicit CViewerDlg(QWidget* parent = nullptr);
    explicit CViewerDlg(ViewerEnvironment environment, QWidget* parent = nullptr);
    ~CViewerDlg() override;

    // Handlers, also reachable for tests through the widgets themselves.
    void OnAdd();
    void OnRemove();
    void OnTopView();
    void OnAbout();
    void EnableRows();

    void OnVisibility(int row);
    void OnColourMode(int row);
    void OnOpacityReleased(int row);

    void OnFormatChanged();
    void OnValueEdited();
    void OnShowPoint();
    void OnNcpProfileChosen();
    void OnColourChosen();

    // Builds the shape of slot `row` with the device profile already in `set`, under the
    // progress box and the wait cursor, both gone on return. kBuilt when it was built and
    // compiled; otherwise the id of the message to show first, or nullopt for none.
    static constexpr int kBuilt = 0;
    std::optional<int> BuildGamutShape(LoadedProfileSet& set, int row, std::int16_t shapeIndex,
                                       const LoadedProfile& profile);

    // State, for tests and the viewport.
    std::int16_t SlotCount() const;
    const ViewSlot& Slot(int row) const;
    const ColourProbeState& Probe() const;
    C3DScrollView* Viewport() const { return m_viewport; }
    QAction* AboutAction() const { return m_aboutAction; }
    // The solid of each listed row, in row order: volumes, coverage and colour verdicts.
    // Rebuilt after every Add and Remove, before listChanged.
    const std::vector<GamutSolid>& Solids() const;

signals:
    // The listed profiles changed (a row added or removed); Solids() is already current.
    void listChanged();

public:

    void accept() override; // Enter does not close the window
    void reject() override; // Escape and the close box ask first

    // The .icc / .icm files (any case) among dropped URLs, as full paths in file-system bytes.
    static std::vector<std::string> DroppedProfileFiles(const QMimeData* data);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Profile files dropped on the window are added in order, as Add adds a chosen one.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void InitDialog();
    void CreateViewport();
    void ConnectHandlers();

    // Whole-window data exchange.
    void ReadControls();
    void WriteControls();

    void RedrawViewport();

    ViewerEnvironment m_env;
    std::unique_ptr<Ui::ViewerDlg> m_ui;
    C3DScrollView* m_viewport = nullptr; // child of the placeholder, owned through it
    std::unique_ptr<ViewListPanel> m_list;
    std::unique_ptr<ColourProbePanel> m_probe;
    QAction* m_aboutAction = nullptr;
};

} // namespace quillon
