#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profiles/ColourServices.h"

namespace quillon::testing {

inline std::filesystem::path FixtureDir() { return QUILLON_FIXTURE_DIR; }
inline std::string Fixture(const std::string& name) { return (FixtureDir() / name).string(); }

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Services that list only the generated fixtures.
inline ColourServices FixtureServices() { return ColourServices({FixtureDir()}); }

// First installed sRGB profile, or empty.
inline std::string InstalledSrgb()
{
    for (const char* path : {"/usr/share/color/icc/sRGB.icc", "/usr/share/color/icc/colord/sRGB.icc"})
        if (std::filesystem::is_regular_file(path))
            return path;
    return {};
}

} // namespace quillon::testing
