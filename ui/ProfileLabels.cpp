#include "ui/ProfileLabels.h"

#include "profiles/ProfileRecord.h"
#include "ui/StringIds.h"

namespace quillon {

int ClassLabel(std::uint32_t profileClass)
{
    switch (profileClass) {
    case sig::Display: return ids::kClassDisplay;
    case sig::Input: return ids::kClassInput;
    case sig::Output: return ids::kClassOutput;
    default: return ids::kUnsupported;
    }
}

int ColourSpaceLabel(std::uint32_t colourSpace)
{
    switch (colourSpace) {
    case sig::Rgb: return ids::kSpaceRgb;
    case sig::Cmyk: return ids::kSpaceCmyk;
    case sig::SixColour: return ids::kSpaceSixColour;
    default: return ids::kUnsupported;
    }
}

} // namespace quillon
