#include "gamut/Sampling.h"

#include <cmath>

#include "profiles/ProfileRecord.h"

namespace quillon {
namespace {

constexpr int kRgbLevels[] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
    21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41,
    42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62,
    63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83,
    84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99, 100};
constexpr int kCmykLevels[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 14,
                               16, 18, 20, 22, 24, 26, 28, 30, 32, 36, 40, 44, 48,
                               52, 56, 60, 65, 70, 75, 80, 85, 90, 95, 100};
constexpr int kSixLevels14[] = {0,  2,  4,  6,  8,  10, 12, 14, 16, 20,
                                24, 28, 35, 40, 50, 60, 70, 80, 90, 100};
constexpr int kSixLevels56[] = {0, 2, 4, 6, 8, 10, 15, 20, 25, 30, 40, 50, 60, 75, 100};

static_assert(sizeof kRgbLevels / sizeof *kRgbLevels == 101);
static_assert(sizeof kCmykLevels / sizeof *kCmykLevels == 37);
static_assert(sizeof kSixLevels14 / sizeof *kSixLevels14 == 20);
static_assert(sizeof kSixLevels56 / sizeof *kSixLevels56 == 15);

template <std::size_t N>
void SetChannel(SamplingPlan& plan, int channel, const int (&levels)[N])
{
    plan.levelCount[channel] = static_cast<int>(N);
    for (std::size_t i = 0; i < N; ++i)
        plan.value[channel][i] = plan.eightBit ? LevelToByte(levels[i]) : LevelToWord(levels[i]);
}

} // namespace

std::uint16_t LevelToWord(int percent)
{
    // In double: the float product 100 x 655.35f rounds to 65534.996 and would give 65534.
    return static_cast<std::uint16_t>(std::trunc(percent * 655.35));
}

std::uint8_t LevelToByte(int percent)
{
    return static_cast<std::uint8_t>(std::trunc(percent * 255 * 0.01));
}

bool PlanFor(std::uint32_t colourSpace, SamplingPlan& plan)
{
    plan = SamplingPlan{};
    switch (colourSpace) {
    case sig::Rgb:
        plan.type = DeviceColourType::Rgb16;
        plan.channels = 3;
        for (int c = 0; c < 3; ++c)
            SetChannel(plan, c, kRgbLevels);
        break;
    case sig::Cmyk:
        plan.type = DeviceColourType::Cmyk16;
        plan.channels = 4;
        for (int c = 0; c < 4; ++c)
            SetChannel(plan, c, kCmykLevels);
        break;
    case sig::SixColour:
        plan.type = DeviceColourType::SixChannel8;
        plan.eightBit = true;
        plan.channels = 6;
        for (int c = 0; c < 4; ++c)
            SetChannel(plan, c, kSixLevels14);
        for (int c = 4; c < 6; ++c)
            SetChannel(plan, c, kSixLevels56);
        break;
    default:
        return false;
    }
    plan.bytesPerColour = BytesPerColour(plan.type);
    plan.total = 1;
    for (int c = 0; c < plan.channels; ++c)
        plan.total *= static_cast<std::uint64_t>(plan.levelCount[c]);
    plan.perOutermostLevel = plan.total / static_cast<std::uint64_t>(plan.levelCount[0]);
    return true;
}

} // namespace quillon
