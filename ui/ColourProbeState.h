#pragma once
#include <cstdint>
#include <vector>

#include <QString>

#include "profiles/NamedColours.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

// Probe formats, in the order of the Format combo (1020).
enum class ProbeFormat : int { Lab = 0, Lch = 1, NcpProfile = 2 };

// The probe's state, held by the main window. The viewport reads showPoint and L, a, b at
// every frame through references, so they stay at fixed addresses.
struct ColourProbeState {
    float L = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
    std::vector<ProfileRecord> ncpList; // sorted by file name, built once
    std::vector<NamedColour> colours;   // of the chosen NCP profile, sorted by name
    int showPoint = 0;
};

// What the probe's controls show, mirrored by the window's data exchange (ReadControls /
// WriteControls); kept apart from the state it is turned into.
struct ProbeControlValues {
    ProbeFormat format = ProbeFormat::Lab;
    QString texts[3];
    QString labels[3];
    int ncpIndex = 0;    // 0 = "None"; i selects ncpList[i - 1]
    int colourIndex = 0; // into colours; -1 for none
};

} // namespace quillon
