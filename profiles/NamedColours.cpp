#include "profiles/NamedColours.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "profiles/LabWords.h"

namespace quillon {

std::uint16_t ScaleLightness(std::uint16_t stored) { return labwords::NamedLightnessFromElement(stored); }

namespace {

// Whole entries an element of `elementSize` bytes holds, from its first bytes `head`: the
// claimed count, stopped at the last entry inside the element. A head too short to state
// the counts holds no colours.
std::uint64_t HeldColours(const std::uint8_t* head, std::size_t headSize, std::uint64_t elementSize)
{
    std::uint32_t claimed = 0, deviceCoordinates = 0;
    if (!ReadBigEndian32(head, headSize, ncl2::kCountOffset, claimed) ||
        !ReadBigEndian32(head, headSize, ncl2::kDeviceCoordinatesOffset, deviceCoordinates))
        return 0;
    const std::uint64_t entrySize = ncl2::kEntryFixedSize + 2 * std::uint64_t(deviceCoordinates);
    const std::uint64_t room = elementSize > ncl2::kFirstEntryOffset ? elementSize - ncl2::kFirstEntryOffset : 0;
    return std::min<std::uint64_t>(claimed, room / entrySize);
}

} // namespace

ElementResult ReadElement(const LoadedProfile& profile, std::uint32_t tag, void* buffer, std::uint32_t& size)
{
    std::uint32_t elementSize = 0;
    if (!GetColorProfileElement(profile.handle, tag, 0, elementSize, nullptr) || elementSize < 1)
        return ElementResult::NoElement;
    const std::uint32_t room = size;
    size = elementSize;
    if (!buffer || room < elementSize)
        return ElementResult::BufferTooSmall;
    std::uint32_t read = elementSize;
    if (!GetColorProfileElement(profile.handle, tag, 0, read, buffer) || read != elementSize)
        return ElementResult::ReadFailed;
    return ElementResult::Ok;
}

NamedColourResult ParseNamedColours(const std::uint8_t* element, std::size_t size, NamedColour* colours,
                               std::uint32_t& count)
{
    std::uint32_t deviceCoordinates = 0;
    ReadBigEndian32(element, size, ncl2::kDeviceCoordinatesOffset, deviceCoordinates);
    const std::uint64_t entrySize = ncl2::kEntryFixedSize + 2 * std::uint64_t(deviceCoordinates);
    const std::uint64_t held = HeldColours(element, size, size);
    if (held > kMaxNamedColours)
        return NamedColourResult::TooManyColours;
    if (!colours) {
        count = static_cast<std::uint32_t>(held);
        return NamedColourResult::CountOnly;
    }
    const auto wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, held));
    std::uint64_t at = ncl2::kFirstEntryOffset;
    for (std::uint32_t i = 0; i < wanted; ++i, at += entrySize) {
        const auto pos = static_cast<std::size_t>(at);
        NamedColour colour;
        // The name field is 32 bytes; a name that fills it is terminated here.
        const void* zero = std::memchr(element + pos, 0, ncl2::kNameFieldSize);
        const std::size_t length = zero ? static_cast<const std::uint8_t*>(zero) - (element + pos) : ncl2::kNameFieldSize;
        std::memcpy(colour.name, element + pos, length);
        colour.name[length] = 0;
        std::uint16_t l = 0;
        ReadBigEndian16(element, size, pos + 32, l);
        ReadBigEndian16(element, size, pos + 34, colour.a16);
        ReadBigEndian16(element, size, pos + 36, colour.b16);
        colour.L16 = ScaleLightness(l);
        colours[i] = colour;
    }
    count = wanted;
    return NamedColourResult::Ok;
}

namespace {

// A failed element query in this family's terms, with the same value. (Ok and
// BufferTooSmall cannot come here: the query asks with no room, the read with exact room.)
NamedColourResult FromElementQuery(ElementResult result)
{
    return result == ElementResult::NoElement ? NamedColourResult::NoElement : NamedColourResult::ReadFailed;
}

} // namespace

NamedColourResult ReadNamedColours(const LoadedProfile& profile, NamedColour* colours, std::uint32_t& count)
{
    if (profile.ProfileClass() != sig::NamedColourClass)
        return NamedColourResult::NotNamedColourProfile;
    std::uint32_t size = 0;
    const ElementResult query = ReadElement(profile, sig::NamedColour2Tag, nullptr, size);
    if (query != ElementResult::BufferTooSmall)
        return FromElementQuery(query);
    // The type and the counts first: an element of another type, or one holding more colours
    // than any real library, is refused before the whole element is copied.
    std::uint8_t head[ncl2::kDeviceCoordinatesOffset + 4] = {};
    std::uint32_t headSize = sizeof head;
    std::uint32_t type = 0;
    if (!GetColorProfileElement(profile.handle, sig::NamedColour2Tag, 0, headSize, head) ||
        !ReadBigEndian32(head, headSize, 0, type) || type != sig::NamedColour2Tag)
        return NamedColourResult::NoElement;
    if (HeldColours(head, headSize, size) > kMaxNamedColours)
        return NamedColourResult::TooManyColours;
    std::vector<std::uint8_t> element;
    try {
        element.resize(size);
    } catch (const std::bad_alloc&) {
        return NamedColourResult::ReadFailed;
    }
    const ElementResult read = ReadElement(profile, sig::NamedColour2Tag, element.data(), size);
    if (read != ElementResult::Ok)
        return FromElementQuery(read);
    return ParseNamedColours(element.data(), element.size(), colours, count);
}

} // namespace quillon
