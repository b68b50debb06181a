#pragma once
#include <cstddef>
#include <cstdint>

#include "profiles/LoadedProfile.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

// Results of ReadElement.
enum class ElementResult : std::int16_t {
    Ok = 0,
    ReadFailed = -1,
    NoElement = -9, // no such element, or it is empty
    BufferTooSmall = -23,
};

// Results of ReadNamedColours and ParseNamedColours; the element query's failures keep
// their values.
enum class NamedColourResult : std::int16_t {
    Ok = 0,
    ReadFailed = -1,
    CountOnly = -4,
    NotNamedColourProfile = -6,
    TooManyColours = -8, // more than kMaxNamedColours
    NoElement = -9,
};

// The most colours one profile may hold. The largest real libraries hold a few tens of
// thousands; more is refused before anything is allocated for them.
constexpr std::uint32_t kMaxNamedColours = 100000;

// A colour of a named-colour profile.
struct NamedColour {
    static constexpr std::size_t kNameSize = 96;
    char name[kNameSize] = {};
    std::uint16_t L16 = 0; // 65535 is L* 100
    std::uint16_t a16 = 0;
    std::uint16_t b16 = 0;
};

// Layout of the ICC ncl2 element.
namespace ncl2 {
constexpr std::size_t kCountOffset = 12;
constexpr std::size_t kDeviceCoordinatesOffset = 16;
constexpr std::size_t kFirstEntryOffset = 84;
constexpr std::size_t kNameFieldSize = 32;
constexpr std::size_t kEntryFixedSize = 38; // name and three PCS words, then 2n bytes
} // namespace ncl2

// Size in: room in `buffer`. Size out: the element's size (also with BufferTooSmall).
ElementResult ReadElement(const LoadedProfile& profile, std::uint32_t tag, void* buffer, std::uint32_t& size);

// Without `colours`: count = the colours the element holds, CountOnly. With them: up to
// `count` colours delivered, Ok, and count lowered to the number delivered when the element
// holds fewer. NotNamedColourProfile for a profile whose class is not nmcl; otherwise the
// element query's failure (NoElement, ReadFailed). An element that is not of type 'ncl2' is
// NoElement. A colour count larger than the element stops at the last whole entry inside
// it; more than kMaxNamedColours whole entries is TooManyColours.
NamedColourResult ReadNamedColours(const LoadedProfile& profile, NamedColour* colours, std::uint32_t& count);

// Parses an ncl2 element already in memory; the same rules as above (its type signature is
// the caller's to check).
NamedColourResult ParseNamedColours(const std::uint8_t* element, std::size_t size, NamedColour* colours,
                                    std::uint32_t& count);

// The element's 16-bit L (0xFF00 = L* 100) rescaled so that 65535 is L* 100.
std::uint16_t ScaleLightness(std::uint16_t stored);

} // namespace quillon
