#include "profiles/NamedColourLab.h"

#include "profiles/NamedColours.h"

namespace quillon {

NamedLab NamedColourLab(std::uint16_t L16, std::uint16_t a16, std::uint16_t b16)
{
    NamedLab lab;
    lab.L = static_cast<float>(double(L16) * 100.0 / 65535.0);
    lab.a = static_cast<float>(double(a16) * 256.0 / 65535.0 - 128.0);
    lab.b = static_cast<float>(double(b16) * 256.0 / 65535.0 - 128.0);
    return lab;
}

NamedLab NamedColourLab(const NamedColour& colour) { return NamedColourLab(colour.L16, colour.a16, colour.b16); }

} // namespace quillon
