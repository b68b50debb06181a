#pragma once
#include <cstddef>
#include <cstdint>

#include "profiles/LoadedProfile.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

namespace element_result {
constexpr std::int16_t Ok = 0;
constexpr std::int16_t NoElement = -9;    // no such element, or it is empty
constexpr std::int16_t BufferTooSmall = -23;
constexpr std::int16_t ReadFailed = -1;
} // namespace element_result

namespace named_result {
constexpr std::int16_t Ok = 0;
constexpr std::int16_t CountOnly = -4;
constexpr std::int16_t NotNamedColourProfile = -6;
constexpr std::int16_t TooManyColours = -8; // more than kMaxNamedColours
} // namespace named_result

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

// Size in: room in `buffer`. Size out: the element's size (also with -23).
std::int16_t ReadElement(const LoadedProfile& profile, std::uint32_t tag, void* buffer, std::uint32_t& size);

// Without `colours`: count = the colours the element holds, -4. With them: up to `count`
// colours delivered, 0, and count lowered to the number delivered when the element holds fewer.
// -6 for a profile whose class is not nmcl; otherwise the element query's result (-9, -1).
// An element that is not of type 'ncl2' is -9. A colour count larger than the element stops
// at the last whole entry inside it; more than kMaxNamedColours whole entries is -8.
std::int16_t ReadNamedColours(const LoadedProfile& profile, NamedColour* colours, std::uint32_t& count);

// Parses an ncl2 element already in memory; the same rules as above (its type signature is
// the caller's to check).
std::int16_t ParseNamedColours(const std::uint8_t* element, std::size_t size, NamedColour* colours,
                               std::uint32_t& count);

// The element's 16-bit L (0xFF00 = L* 100) rescaled so that 65535 is L* 100.
std::uint16_t ScaleLightness(std::uint16_t stored);

} // namespace quillon
