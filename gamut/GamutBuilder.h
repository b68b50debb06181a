#pragma once
#include <cstdint>
#include <functional>

#include "gamut/GamutShape.h"

namespace quillon {

class ColourTransform;

enum class BuildResult : std::int16_t {
    Ok = 0,
    UnsupportedColourSpace, // not RGB, CMYK or six colours
    TranslateFailed,        // a translation reported failure; the shape is not written
    OutOfMemory,            // the working buffers could not be had; the shape is not written
};

// Whether a float-path Lab may stand in for a sample's clamped 16-bit one: finite, a* and
// b* within +-1000, L* within -100 ... 200 (a broken matrix profile gives millions).
bool UsableExactLab(float L, float a, float b);

// 32 for RGB, 24 for CMYK, 16 for anything else.
std::int16_t GridSizeFor(std::uint32_t colourSpace);

// Levels of the outermost channel (the progress range): 101, 37, 20; 0 when unsupported.
int OutermostLevels(std::uint32_t colourSpace);

// Called on the thread that called BuildShape, with 1 ... OutermostLevels, never decreasing.
using BuildProgress = std::function<void(int levelsDone)>;

// Samples the device space through the transform, bins, repairs and fills shape
// (points, poles; gridSize is set first, even when the build then fails). Samples whose
// a*/b* words come back at 0x0000 or 0xFFFF take the transform's float-path Lab instead.
// threads 0 = hardware concurrency; any thread count gives the same shape bit for bit.
BuildResult BuildShape(const ColourTransform& transform, std::uint32_t colourSpace,
                       GamutShape& shape, const BuildProgress& progress = {},
                       unsigned threads = 0);

} // namespace quillon
