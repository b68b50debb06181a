#include "profiles/NamedColourLab.h"

#include "profiles/LabWords.h"
#include "profiles/NamedColours.h"

namespace quillon {

NamedLab NamedColourLab(std::uint16_t L16, std::uint16_t a16, std::uint16_t b16)
{
    NamedLab lab;
    lab.L = labwords::NamedLightness(L16);
    lab.a = labwords::NamedOpponent(a16);
    lab.b = labwords::NamedOpponent(b16);
    return lab;
}

NamedLab NamedColourLab(const NamedColour& colour) { return NamedColourLab(colour.L16, colour.a16, colour.b16); }

} // namespace quillon
