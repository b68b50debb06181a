#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "gamut/GamutSolid.h"
#include "ui/ColourProbeState.h"

class QWidget;
namespace Ui {
class ViewerDlg;
}

namespace quillon {

struct ViewerEnvironment;
class LoadedProfileSet;
class NamedColourListModel;
class ProbeVerdictView;

// The main window's colour probe: its state, the values its controls show, and the
// handlers of those controls, and under them, for each listed row, whether the probe
// colour lies inside its shape (and how many colours of the chosen library do). The
// window owns the form and the viewport; the panel asks for a redraw through `redraw`,
// learns the listed shapes through OnListChanged and never knows the window's other parts.
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
    // The listed rows changed: their solids, in row order (copies share the data).
    void OnListChanged(const std::vector<GamutSolid>& solids);

    // Tests: runs once a library's colours are read, before the combo shows them, with
    // their number; may throw std::bad_alloc to stand for memory running out there.
    static void SetColourFillHook(std::function<void(std::size_t)> hook);

    // The viewport reads showPoint and L, a, b through references: the panel stays put.
    ColourProbeState& State() { return m_state; }
    const ColourProbeState& State() const { return m_state; }

private:
    // The colours of the chosen named-colour profile into the state, sorted by name; the
    // message to show once `set` is closed, or none.
    std::optional<int> ReadNcpColours(LoadedProfileSet& set, const ProfileRecord& record,
                                      std::vector<NamedColour>& colours);
    void ChooseNcpProfile();
    // Empties the colour list, the combo that shows it and the library's counts.
    void DropColourList();
    // Verdicts for the probe colour, and the library's counts while one is chosen.
    void UpdateVerdicts();
    // The probe colour from a value or a named colour: verdicts follow, the marker redraws.
    void SetProbeColour(float L, float a, float b);
    void CountNamedInside();
    // Runs a handler's body; memory running out anywhere in it empties the colour list and
    // shows "Out of memory." instead of leaving the handler by an exception.
    template <typename Body> void Guarded(Body&& body);

    QWidget& m_window;
    Ui::ViewerDlg& m_ui;
    const ViewerEnvironment& m_env;
    std::function<void()> m_redraw;
    ColourProbeState m_state;
    ProbeControlValues m_controls;
    NamedColourListModel* m_colourModel = nullptr; // owned by the colour combo
    ProbeVerdictView* m_verdictView = nullptr;     // owned by the probe group
    std::vector<GamutSolid> m_solids;
    std::vector<LabValue> m_namedLab; // the colour list's Lab values, in its order
    std::vector<NamedCount> m_namedCounts;
    bool m_libraryRead = false; // a named-colour library's colours are in the list
};

} // namespace quillon
