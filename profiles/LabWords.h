#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

// Lab as 16-bit words. Two encodings meet in this program and each is written here only:
//
// Transform words: what ColourTransform::Translate returns and the shape builder decodes,
//   LittleCMS's v2 16-bit Lab. L* 100 is 0xFF00; a* and b* are w * 255 / 65535 - 128, so
//   0x8080 is a hair below 0. LittleCMS's v4 words (L* 100 at 0xFFFF) are rescaled to these.
//
// Named-colour words: the values a NamedColour holds and the probe shows. L16 over
//   0 ... 65535 is L* 0 ... 100; a16 and b16 are w * 256 / 65535 - 128. The ncl2 element
//   stores L* 100 at 0xFF00 and is widened to 65535 as it is read.
//
// The arithmetic (operand order, float or double constants) is what every stored digest and
// figure was computed with; changing any of it changes results in the last bit.
namespace quillon::labwords {

// ---- Transform words ------------------------------------------------------------------
constexpr std::uint16_t kTransformWhiteL = 0xFF00; // L* 100
constexpr std::uint16_t kNeutralOpponent = 0x8080; // a* or b* of about 0

// A v4 lightness word (L* 100 at 0xFFFF) to the transform's, rounded to nearest.
constexpr std::uint16_t TransformLightnessFromV4(std::uint16_t v4)
{
    return static_cast<std::uint16_t>((std::uint32_t(v4) * 65280u + 32767u) / 65535u);
}

// 1/65280 and 1/65535 are float constants; the products are taken in double and stored as
// float, which makes 0x8080 decode to -2^-25 (all-float arithmetic would give +2^-17).
constexpr float TransformLightness(std::uint16_t Lw)
{
    constexpr float kLightnessFactor = 1.0f / 65280.0f;
    return static_cast<float>(static_cast<double>(Lw) * kLightnessFactor * 100.0);
}
constexpr float TransformOpponent(std::uint16_t w)
{
    constexpr float kOpponentFactor = 1.0f / 65535.0f;
    return static_cast<float>(static_cast<double>(w) * kOpponentFactor * 255.0 - 128.0);
}

// ---- Named-colour words ---------------------------------------------------------------
// The ncl2 element's lightness (0xFF00 = L* 100) widened so that 65535 is L* 100: times
// 257/256 truncated, 0xFF00 -> 0xFFFF. Words above 0xFF00 are not valid L* and saturate.
constexpr std::uint16_t NamedLightnessFromElement(std::uint16_t stored)
{
    const std::uint32_t scaled = (std::uint32_t(stored) * 257u) >> 8;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(scaled, 0xFFFF));
}

constexpr float NamedLightness(std::uint16_t L16)
{
    return static_cast<float>(double(L16) * 100.0 / 65535.0);
}
constexpr float NamedOpponent(std::uint16_t w)
{
    return static_cast<float>(double(w) * 256.0 / 65535.0 - 128.0);
}

// The element's words for a Lab value, rounded to nearest, as fixtures write them. Values
// outside L* 0 ... 100.4, a*/b* -128 ... 128 do not fit a word; callers keep within them.
inline std::uint16_t ElementLightnessWord(double L)
{
    return static_cast<std::uint16_t>(std::lround(L * 65280.0 / 100.0));
}
inline std::uint16_t ElementOpponentWord(double ab)
{
    return static_cast<std::uint16_t>(std::lround((ab + 128.0) * 65535.0 / 256.0));
}

} // namespace quillon::labwords
