#pragma once
#include <cstdint>

namespace quillon {

// String ids of the view list's Class and Colour space columns, from the profile's
// signatures: Display, Input, Output; RGB, CMYK, 6 colours; "Unsupported" for the rest.
int ClassLabel(std::uint32_t profileClass);
int ColourSpaceLabel(std::uint32_t colourSpace);

} // namespace quillon
