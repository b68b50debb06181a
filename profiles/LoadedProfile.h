#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "profiles/ColourServices.h"
#include "profiles/ProfileHandle.h"

namespace quillon {

// Results of LoadedProfileSet::Load.
enum class LoadResult : std::int16_t {
    Ok = 0,
    CannotOpen = -2,
    NoMemory = -17,
    SetFull = -18,
};

// One opened profile, held for the duration of one operation.
struct LoadedProfile {
    static constexpr std::size_t kNameSize = 263; // 262 characters and the terminator
    static constexpr std::uint32_t kMaxTags = 200;

    bool valid = false;
    char fileName[kNameSize] = {};
    ProfileHandle handle;
    std::uint8_t header[ColourServices::kHeaderSize] = {};
    std::array<std::uint32_t, kMaxTags> tags = {};
    std::uint32_t tagCount = 0;

    // Header bytes 12-15 and 16-19.
    std::uint32_t ProfileClass() const;
    std::uint32_t ColourSpace() const;

    // Closes the handle and forgets the tags.
    void Release();
};

// Owner of the profiles of one operation; closes them all at once (also when destroyed).
class LoadedProfileSet {
public:
    static constexpr std::int16_t kMaxProfiles = 50;

    // Bare names resolve through these services' folders.
    explicit LoadedProfileSet(ColourServices services = ColourServices());
    ~LoadedProfileSet();
    LoadedProfileSet(const LoadedProfileSet&) = delete;
    LoadedProfileSet& operator=(const LoadedProfileSet&) = delete;

    // Ok, SetFull, NoMemory or CannotOpen. On Ok, `loaded` (when given) points at the new
    // profile, which the set owns until ReleaseAll.
    LoadResult Load(const std::string& fileName, LoadedProfile** loaded = nullptr);
    // The same checks on a profile held in memory (named "(memory)").
    LoadResult LoadFromMemory(const void* data, std::size_t size, LoadedProfile** loaded = nullptr);

    void ReleaseAll();

    std::int16_t Count() const { return m_count; }
    LoadedProfile* At(std::int16_t index) const;

private:
    LoadResult Finish(std::unique_ptr<LoadedProfile> profile, LoadedProfile** loaded);

    ColourServices m_services;
    std::array<std::unique_ptr<LoadedProfile>, kMaxProfiles> m_profiles;
    std::int16_t m_count = 0;
};

} // namespace quillon
