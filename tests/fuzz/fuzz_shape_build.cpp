// libFuzzer entry point: load a profile from memory, make its transform to Lab, sample its
// device space on a coarse plan (five levels a channel), bin, repair. The repaired shape must
// be finite where its samples are and stay within the samples' box; nothing may stay open.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <lcms2.h>

#include "gamut/GamutBuilder.h"
#include "gamut/GamutGrid.h"
#include "gamut/Sampling.h"
#include "profiles/ColourServices.h"
#include "profiles/ColourTransform.h"

namespace {

using namespace quillon;

constexpr int kLevels[] = {0, 25, 50, 75, 100};
constexpr int kLevelCount = 5;

const ProfileHandle& LabProfile()
{
    static const ProfileHandle lab = [] {
        ProfileHandle glp = ProfileHandle::Adopt(cmsOpenProfileFromFile(QUILLON_RUN_DIR "/GLP.icc", "r"));
        return glp ? std::move(glp) : ProfileHandle::Adopt(cmsCreateLab4Profile(nullptr));
    }();
    return lab;
}

// Every combination of the coarse levels, packed as the transform takes them.
std::vector<std::uint8_t> CoarseSamples(const SamplingPlan& plan, std::size_t& count)
{
    count = 1;
    for (int c = 0; c < plan.channels; ++c)
        count *= kLevelCount;
    std::vector<std::uint8_t> device(count * plan.bytesPerColour);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t rest = i;
        for (int c = plan.channels - 1; c >= 0; --c) {
            const int level = kLevels[rest % kLevelCount];
            rest /= kLevelCount;
            std::uint8_t* at = device.data() + i * plan.bytesPerColour;
            if (plan.eightBit) {
                at[c] = LevelToByte(level);
            } else {
                const std::uint16_t word = LevelToWord(level);
                std::memcpy(at + 2 * c, &word, 2);
            }
        }
    }
    return device;
}

bool Inside(float value, float low, float high)
{
    const float t = GamutGrid::kBoxTolerance + 1e-3f;
    return value >= low - t && value <= high + t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ProfileHandle& lab = LabProfile(); // opened once and kept
    const long profiles = ProfileHandle::OpenCount();
    const long transforms = ColourTransform::OpenCount();
    {
        ProfileHandle device = OpenProfileFromMemory(data, size);
        std::uint8_t header[ColourServices::kHeaderSize] = {};
        SamplingPlan plan;
        if (device && device.get() && GetColorProfileHeader(device, header)) {
            std::uint32_t space = 0;
            ReadBigEndian32(header, sizeof header, 16, space);
            const ColourTransform transform = CreateMultiProfileTransform(device.get(), lab.get());
            if (transform.valid() && PlanFor(space, plan)) {
                std::size_t count = 0;
                const std::vector<std::uint8_t> samples = CoarseSamples(plan, count);
                std::vector<std::uint16_t> words(count * 3);
                if (!transform.Translate(samples.data(), count, plan.type, words.data()))
                    std::abort(); // a valid transform of its own type translates
                auto grid = std::make_unique<GamutGrid>();
                grid->Reset(GridSizeFor(space), space);
                Lab low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
                for (std::size_t i = 0; i < count; ++i) {
                    const Lab s = DecodeLab(words[3 * i], words[3 * i + 1], words[3 * i + 2]);
                    grid->AddSample(s.L, s.a, s.b);
                    low = {std::min(low.L, s.L), std::min(low.a, s.a), std::min(low.b, s.b)};
                    high = {std::max(high.L, s.L), std::max(high.a, s.a), std::max(high.b, s.b)};
                }
                grid->Repair();
                const int n = grid->gridSize;
                for (int band = 0; band < n; ++band)
                    for (int sector = 0; sector < n; ++sector) {
                        const GamutCell& cell = grid->cells[band][sector];
                        if (!Inside(cell.L, low.L, high.L) || !Inside(cell.a, low.a, high.a) ||
                            !Inside(cell.b, low.b, high.b))
                            std::abort();
                    }
                for (const float* pole : {grid->topPole, grid->bottomPole})
                    if (!Inside(pole[1], low.L, high.L) || !Inside(pole[0], low.a, high.a) ||
                        !Inside(pole[2], low.b, high.b))
                        std::abort();
            }
        }
    }
    if (ProfileHandle::OpenCount() != profiles || ColourTransform::OpenCount() != transforms)
        std::abort();
    return 0;
}
