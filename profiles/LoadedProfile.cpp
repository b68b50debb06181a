#include "profiles/LoadedProfile.h"

#include <cstring>
#include <new>
#include <utility>

namespace quillon {
namespace {

constexpr std::size_t kClassOffset = 12;
constexpr std::size_t kColourSpaceOffset = 16;

std::uint32_t HeaderWord(const std::uint8_t* header, std::size_t offset)
{
    std::uint32_t value = 0;
    ReadBigEndian32(header, ColourServices::kHeaderSize, offset, value);
    return value;
}

// Null when there is no memory: reported as -17, never thrown.
std::unique_ptr<LoadedProfile> NewProfile()
{
    try {
        return std::make_unique<LoadedProfile>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

std::uint32_t LoadedProfile::ProfileClass() const { return HeaderWord(header, kClassOffset); }
std::uint32_t LoadedProfile::ColourSpace() const { return HeaderWord(header, kColourSpaceOffset); }

void LoadedProfile::Release()
{
    CloseColorProfile(handle);
    tags.fill(0);
    tagCount = 0;
}

LoadedProfileSet::LoadedProfileSet(ColourServices services) : m_services(std::move(services)) {}

LoadedProfileSet::~LoadedProfileSet() { ReleaseAll(); }

LoadedProfile* LoadedProfileSet::At(std::int16_t index) const
{
    return index >= 0 && index < m_count ? m_profiles[static_cast<std::size_t>(index)].get() : nullptr;
}

LoadResult LoadedProfileSet::Load(const std::string& fileName, LoadedProfile** loaded)
{
    if (m_count >= kMaxProfiles)
        return LoadResult::SetFull;
    auto profile = NewProfile();
    if (!profile)
        return LoadResult::NoMemory;
    // A longer name would be cut and could open another file.
    if (fileName.size() >= LoadedProfile::kNameSize)
        return LoadResult::CannotOpen;
    std::memcpy(profile->fileName, fileName.data(), fileName.size());
    profile->handle = m_services.OpenProfile(fileName);
    return Finish(std::move(profile), loaded);
}

LoadResult LoadedProfileSet::LoadFromMemory(const void* data, std::size_t size, LoadedProfile** loaded)
{
    if (m_count >= kMaxProfiles)
        return LoadResult::SetFull;
    auto profile = NewProfile();
    if (!profile)
        return LoadResult::NoMemory;
    static constexpr char kName[] = "(memory)";
    std::memcpy(profile->fileName, kName, sizeof kName);
    profile->handle = OpenProfileFromMemory(data, size);
    return Finish(std::move(profile), loaded);
}

LoadResult LoadedProfileSet::Finish(std::unique_ptr<LoadedProfile> profile, LoadedProfile** loaded)
{
    if (!profile->handle || !GetColorProfileHeader(profile->handle, profile->header)) {
        profile->Release();
        return LoadResult::CannotOpen;
    }
    std::uint32_t count = GetCountColorProfileElements(profile->handle);
    if (count > LoadedProfile::kMaxTags)
        count = LoadedProfile::kMaxTags;
    std::uint32_t read = 0;
    while (read < count && GetColorProfileElementTag(profile->handle, read + 1, profile->tags[read]))
        ++read;
    profile->tagCount = read;
    if (read < count) {
        profile->Release();
        return LoadResult::CannotOpen;
    }
    profile->valid = true;
    if (loaded)
        *loaded = profile.get();
    m_profiles[static_cast<std::size_t>(m_count++)] = std::move(profile);
    return LoadResult::Ok;
}

void LoadedProfileSet::ReleaseAll()
{
    for (std::int16_t i = 0; i < m_count; ++i) {
        m_profiles[static_cast<std::size_t>(i)]->Release();
        m_profiles[static_cast<std::size_t>(i)].reset();
    }
    m_count = 0;
}

} // namespace quillon
