#pragma once
#include <cstddef>
#include <cstdint>

#include "gamut/GamutGrid.h"
#include "profiles/ColourTransform.h"

namespace quillon {

constexpr int kMaxSampleChannels = 6;
constexpr int kMaxLevelsPerChannel = 101;

// Percent level to channel word, truncated toward zero: 1 -> 655, 100 -> 65535.
std::uint16_t LevelToWord(int percent);
// Percent level to 8-bit channel: 2 -> 5, 50 -> 127, 100 -> 255.
std::uint8_t LevelToByte(int percent);

// Returned Lab words (0xFF00 = L* 100, 0x8080 = a*/b* ~0) to floats. 1/65280 and 1/65535
// are float constants; the products are taken in double and stored as float, which makes
// 0x8080 decode to -2^-25 (all-float arithmetic would give +2^-17).
inline Lab DecodeLab(std::uint16_t Lw, std::uint16_t aw, std::uint16_t bw)
{
    constexpr float kLightnessFactor = 1.0f / 65280.0f;
    constexpr float kOpponentFactor = 1.0f / 65535.0f;
    Lab lab;
    lab.L = static_cast<float>(static_cast<double>(Lw) * kLightnessFactor * 100.0);
    lab.a = static_cast<float>(static_cast<double>(aw) * kOpponentFactor * 255.0 - 128.0);
    lab.b = static_cast<float>(static_cast<double>(bw) * kOpponentFactor * 255.0 - 128.0);
    return lab;
}

// How one device space is sampled: every combination of the channel levels, the last
// channel varying fastest; channel 0 is the outermost one that drives progress.
struct SamplingPlan {
    DeviceColourType type = DeviceColourType::Rgb16;
    bool eightBit = false;
    int channels = 0;
    int levelCount[kMaxSampleChannels] = {};
    std::uint16_t value[kMaxSampleChannels][kMaxLevelsPerChannel] = {}; // converted levels
    std::uint64_t total = 0;              // samples
    std::uint64_t perOutermostLevel = 0;  // samples per level of channel 0
    std::size_t bytesPerColour = 0;
};

// False for a colour space other than RGB, CMYK or six colours.
bool PlanFor(std::uint32_t colourSpace, SamplingPlan& plan);

} // namespace quillon
