#include "profiles/ProfileCatalogue.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace quillon {
namespace {

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

bool FillRecord(const ColourServices& services, const std::string& name, ProfileRecord& record)
{
    if (name.size() >= ProfileRecord::kNameSize)
        return false; // a cut name would not open this profile again
    // The header only: listing never reads or parses a whole profile.
    std::uint8_t header[ColourServices::kHeaderSize] = {};
    if (!services.ReadProfileHeader(name, header))
        return false;
    record = ProfileRecord{};
    std::memcpy(record.fileName, name.data(), name.size());
    ReadBigEndian32(header, sizeof header, 12, record.profileClass);
    ReadBigEndian32(header, sizeof header, 16, record.colourSpace);
    return true;
}

} // namespace

int CompareNames(const char* a, const char* b)
{
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        const unsigned char cx = Fold(*x), cy = Fold(*y);
        if (cx != cy)
            return cx < cy ? -1 : 1;
        if (!cx)
            return 0;
    }
}

const char* BareFileName(const char* fileName, const char* separators)
{
    const char* name = fileName;
    for (const char* p = fileName; *p != 0; ++p) {
        if (std::strchr(separators, *p) != nullptr)
            name = p + 1;
    }
    return name;
}

int CompareByFileName(const ProfileRecord& a, const ProfileRecord& b)
{
    return CompareNames(BareFileName(a.fileName), BareFileName(b.fileName));
}

bool IsDeviceProfile(const ProfileRecord& record)
{
    const bool deviceClass = record.profileClass == sig::Display || record.profileClass == sig::Output ||
                             record.profileClass == sig::Input;
    const bool deviceSpace = record.colourSpace == sig::Rgb || record.colourSpace == sig::Cmyk ||
                             record.colourSpace == sig::SixColour;
    return deviceClass && deviceSpace;
}

bool IsNamedColourProfile(const ProfileRecord& record) { return record.profileClass == sig::NamedColourClass; }

ProfileCatalogue::ProfileCatalogue(ColourServices services) : m_services(std::move(services)) {}

EnumerationResult ProfileCatalogue::Enumerate(ProfileRecord* records, std::uint32_t& count) const
{
    const std::uint32_t capacity = count;
    count = 0;
    std::vector<std::string> names;
    if (!m_services.EnumerateProfiles(names))
        return EnumerationResult::Failed;
    const auto found = static_cast<std::uint32_t>(std::min<std::size_t>(names.size(), UINT32_MAX));
    if (!records) {
        count = found;
        return EnumerationResult::MoreThanRoom;
    }
    try {
        // Full-name order first so that equal bare names keep one order on every run.
        std::sort(names.begin(), names.end());
        std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return CompareNames(a.c_str(), b.c_str()) < 0;
        });
    } catch (const std::exception&) {
        return EnumerationResult::Failed;
    }
    std::uint32_t filled = 0;
    std::size_t next = 0;
    for (; next < names.size() && filled < capacity; ++next)
        if (FillRecord(m_services, names[next], records[filled]))
            ++filled;
    if (next < names.size()) {
        count = found;
        return EnumerationResult::MoreThanRoom;
    }
    count = filled;
    return EnumerationResult::Ok;
}

std::vector<ProfileRecord> ProfileCatalogue::BuildList(ProfileListKind kind) const
{
    try {
        std::uint32_t count = 0;
        Enumerate(nullptr, count);
        if (count == 0)
            return {};
        std::vector<ProfileRecord> all(count);
        const EnumerationResult result = Enumerate(all.data(), count);
        if (result == EnumerationResult::Failed)
            return {};
        // On -4 (profiles installed since the count) only the room given is filled.
        all.resize(std::min<std::size_t>(count, all.size()));
        const auto keep = kind == ProfileListKind::Device ? IsDeviceProfile : IsNamedColourProfile;
        std::vector<ProfileRecord> list;
        list.reserve(static_cast<std::size_t>(std::count_if(all.begin(), all.end(), keep)));
        std::copy_if(all.begin(), all.end(), std::back_inserter(list), keep);
        std::stable_sort(list.begin(), list.end(), [](const ProfileRecord& a, const ProfileRecord& b) {
            return CompareByFileName(a, b) < 0;
        });
        return list;
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace quillon
