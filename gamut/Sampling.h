#pragma once
#include <cstddef>
#include <cstdint>

#include "gamut/GamutGrid.h"
#include "profiles/ColourTransform.h"
#include "profiles/LabWords.h"

namespace quillon {

constexpr int kMaxSampleChannels = 6;
constexpr int kMaxLevelsPerChannel = 101;

// Percent level to channel word, truncated toward zero: 1 -> 655, 100 -> 65535.
std::uint16_t LevelToWord(int percent);
// Percent level to 8-bit channel: 2 -> 5, 50 -> 127, 100 -> 255.
std::uint8_t LevelToByte(int percent);

// Returned Lab words (transform words, see profiles/LabWords.h) to floats.
inline Lab DecodeLab(std::uint16_t Lw, std::uint16_t aw, std::uint16_t bw)
{
    Lab lab;
    lab.L = labwords::TransformLightness(Lw);
    lab.a = labwords::TransformOpponent(aw);
    lab.b = labwords::TransformOpponent(bw);
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
