#pragma once
#include <cstdint>
#include <cstring>
#include <string>

namespace quillon {

// Signatures read as big-endian 32-bit numbers: 'mntr' == 0x6D6E7472.
constexpr std::uint32_t MakeSignature(char a, char b, char c, char d)
{
    return (std::uint32_t(std::uint8_t(a)) << 24) | (std::uint32_t(std::uint8_t(b)) << 16) |
           (std::uint32_t(std::uint8_t(c)) << 8) | std::uint32_t(std::uint8_t(d));
}

namespace sig {
constexpr std::uint32_t Display = MakeSignature('m', 'n', 't', 'r');
constexpr std::uint32_t Input = MakeSignature('s', 'c', 'n', 'r');
constexpr std::uint32_t Output = MakeSignature('p', 'r', 't', 'r');
constexpr std::uint32_t Link = MakeSignature('l', 'i', 'n', 'k');
constexpr std::uint32_t Abstract = MakeSignature('a', 'b', 's', 't');
constexpr std::uint32_t ColourSpaceClass = MakeSignature('s', 'p', 'a', 'c');
constexpr std::uint32_t NamedColourClass = MakeSignature('n', 'm', 'c', 'l');
constexpr std::uint32_t Rgb = MakeSignature('R', 'G', 'B', ' ');
constexpr std::uint32_t Cmyk = MakeSignature('C', 'M', 'Y', 'K');
constexpr std::uint32_t SixColour = MakeSignature('6', 'C', 'L', 'R');
constexpr std::uint32_t Gray = MakeSignature('G', 'R', 'A', 'Y');
constexpr std::uint32_t Lab = MakeSignature('L', 'a', 'b', ' ');
constexpr std::uint32_t NamedColour2Tag = MakeSignature('n', 'c', 'l', '2');
} // namespace sig

// An installed profile as the catalogue lists it; copied whole by value.
struct ProfileRecord {
    static constexpr int kNameSize = 260;
    char fileName[kNameSize] = {};
    std::uint32_t profileClass = 0;
    std::uint32_t colourSpace = 0;
};

// The stored name up to its terminator, never read past the field.
inline std::string FileNameOf(const ProfileRecord& record)
{
    return std::string(record.fileName, strnlen(record.fileName, ProfileRecord::kNameSize));
}

} // namespace quillon
