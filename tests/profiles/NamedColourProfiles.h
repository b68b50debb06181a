#pragma once
// Named-colour profiles of any size, laid out by hand so that counts far beyond what the
// fixtures hold can be made at test or benchmark time.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "profiles/NamedColours.h"
#include "profiles/ProfileRecord.h"

namespace quillon::test {

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (24 - 8 * i));
}

// `colours` entries named "Colour 0", "Colour 1", ..., each L* about 50, a* and b* neutral,
// without device coordinates.
inline std::vector<std::uint8_t> NamedProfileBytes(std::uint32_t colours)
{
    const std::size_t elementAt = 132 + 12;
    const std::size_t elementSize = ncl2::kFirstEntryOffset + std::size_t(colours) * ncl2::kEntryFixedSize;
    std::vector<std::uint8_t> b(elementAt + elementSize, 0);
    Put32(b, 0, std::uint32_t(b.size()));
    Put32(b, 8, 0x02400000);
    Put32(b, 12, sig::NamedColourClass);
    Put32(b, 16, sig::Rgb);
    Put32(b, 20, sig::Lab);
    Put32(b, 36, 0x61637370); // acsp
    Put32(b, 128, 1);
    Put32(b, 132, sig::NamedColour2Tag);
    Put32(b, 136, std::uint32_t(elementAt));
    Put32(b, 140, std::uint32_t(elementSize));
    Put32(b, elementAt, sig::NamedColour2Tag);
    Put32(b, elementAt + ncl2::kCountOffset, colours);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = elementAt + ncl2::kFirstEntryOffset + std::size_t(i) * ncl2::kEntryFixedSize;
        const std::string name = "Colour " + std::to_string(i);
        std::memcpy(&b[at], name.data(), name.size());
        b[at + 32] = 0x80;
        b[at + 34] = b[at + 36] = 0x80;
    }
    return b;
}

} // namespace quillon::test
