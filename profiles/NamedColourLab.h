#pragma once
#include <cstdint>

namespace quillon {

struct NamedColour;

struct NamedLab {
    float L = 0.0f;
    float a = 0.0f;
    float b = 0.0f;
};

// The Lab value a named colour stands for, as the colour probe shows it (named-colour
// words, see profiles/LabWords.h).
NamedLab NamedColourLab(std::uint16_t L16, std::uint16_t a16, std::uint16_t b16);
NamedLab NamedColourLab(const NamedColour& colour);

} // namespace quillon
