#pragma once
#include <functional>
#include <optional>

#include "ui/ColourProbeState.h"

class QWidget;
namespace Ui {
class ViewerDlg;
}

namespace quillon {

struct ViewerEnvironment;
class LoadedProfileSet;

// The main window's colour probe: its state, the values its controls show, and the
// handlers of those controls. The window owns the form and the viewport; the panel asks
// for a redraw through `redraw` and never knows the window's other parts.
class ColourProbePanel {
public:
    ColourProbePanel(QWidget& window, Ui::ViewerDlg& ui, const ViewerEnvironment& env,
                     std::function<void()> redraw);
    ColourProbePanel(const ColourProbePanel&) = delete;
    ColourProbePanel& operator=(const ColourProbePanel&) = delete;

    // The format and named-colour combos; builds the named-colour list under its box.
    void Init();
    // Hooks the probe's controls to the handlers below.
    void Connect();

    // The probe's part of the window's data exchange.
    void ReadControls();
    void WriteControls();
    // Shows the three value fields (Lab or LCH) or the two named-colour combos.
    void ApplyFormatLayout();

    void OnFormatChanged();
    void OnValueEdited();
    void OnShowPoint();
    void OnNcpProfileChosen();
    void OnColourChosen();

    // The viewport reads showPoint and L, a, b through references: the panel stays put.
    ColourProbeState& State() { return m_state; }
    const ColourProbeState& State() const { return m_state; }

private:
    // The colours of the chosen named-colour profile into the state, sorted by name; the
    // message to show once `set` is closed, or none.
    std::optional<int> ReadNcpColours(LoadedProfileSet& set, const ProfileRecord& record);

    QWidget& m_window;
    Ui::ViewerDlg& m_ui;
    const ViewerEnvironment& m_env;
    std::function<void()> m_redraw;
    ColourProbeState m_state;
    ProbeControlValues m_controls;
};

} // namespace quillon
