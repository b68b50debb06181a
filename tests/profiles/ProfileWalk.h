#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "profiles/LoadedProfile.h"
#include "profiles/NamedColours.h"

namespace quillon::testing {

// Everything a caller may do with a profile from outside: load, walk the tags, read every
// element, read named colours. Returns the load result; used by the mutation test and the fuzzers.
inline LoadResult WalkProfile(const std::uint8_t* data, std::size_t size)
{
    LoadedProfileSet set{ColourServices(std::vector<std::filesystem::path>{})};
    LoadedProfile* profile = nullptr;
    const LoadResult result = set.LoadFromMemory(data, size, &profile);
    if (result != LoadResult::Ok)
        return result;
    std::vector<std::uint8_t> buffer;
    for (std::uint32_t i = 0; i < profile->tagCount; ++i) {
        std::uint32_t elementSize = 0;
        if (ReadElement(*profile, profile->tags[i], nullptr, elementSize) != ElementResult::BufferTooSmall)
            continue;
        buffer.resize(elementSize);
        ReadElement(*profile, profile->tags[i], buffer.data(), elementSize);
    }
    std::uint32_t count = 0;
    if (ReadNamedColours(*profile, nullptr, count) == NamedColourResult::CountOnly) {
        std::vector<NamedColour> colours(count);
        ReadNamedColours(*profile, colours.data(), count);
    }
    return result;
}

} // namespace quillon::testing
