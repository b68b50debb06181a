#pragma once
#include <cstdint>
#include <vector>

#include <QString>

#include "profiles/NamedColours.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

// The probe's state, held by the main window. The viewport reads showPoint and L, a, b at
// every frame through references, so they stay at fixed addresses.
struct ColourProbeState {
    float L = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
    std::vector<ProfileRecord> ncpList; // sorted by file name, built once
    std::vector<NamedColour> colours;   // of the chosen NCP profile, sorted by name
    int showPoint = 0;
    int format = 0; // ProbeFormat
    QString texts[3];
    QString labels[3];
    int ncpIndex = 0;    // 0 = "None"; i selects ncpList[i - 1]
    int colourIndex = 0; // into colours; -1 for none
};

} // namespace quillon
