#pragma once
#include <cstdint>
#include <vector>

#include "profiles/ColourServices.h"
#include "profiles/ProfileRecord.h"

namespace quillon {

// Results of ProfileCatalogue::Enumerate.
enum class EnumerationResult : std::int16_t {
    Ok = 0,
    Failed = -1,
    MoreThanRoom = -4, // only counted, or more profiles than room
};

enum class ProfileListKind { Device, NamedColour };

// The installed profiles with the class and colour space of each header.
class ProfileCatalogue {
public:
    explicit ProfileCatalogue(ColourServices services = ColourServices());

    const ColourServices& Services() const { return m_services; }

    // Count in: capacity of `records`; set to 0 first. Without records: count = profiles
    // listed, -4. With records: sorted by full name, each file's header read; a profile
    // that cannot be opened is dropped and the next one takes its place. 0 with count = the
    // records filled, or -4 (count = profiles listed) when more are left than there was room
    // for: then exactly `capacity` records are filled. -1 when enumeration failed.
    EnumerationResult Enumerate(ProfileRecord* records, std::uint32_t& count) const;

    // Count, allocate, fill, filter and sort: the steps of building either list.
    // Any failure gives an empty list.
    std::vector<ProfileRecord> BuildList(ProfileListKind kind) const;

private:
    ColourServices m_services;
};

// Folds A-Z to a-z, then compares bytes: '_' (0x5F) sorts below every letter.
int CompareNames(const char* a, const char* b);
// The same on the parts after the last '/' of the two file names.
int CompareByFileName(const ProfileRecord& a, const ProfileRecord& b);
// The part after the last of `separators` ('/' for the catalogue's own names); the whole
// name when it holds none.
const char* BareFileName(const char* fileName, const char* separators = "/");

// Display, output or input class, and RGB, CMYK or six-colour data.
bool IsDeviceProfile(const ProfileRecord& record);
// Named-colour class, any colour space.
bool IsNamedColourProfile(const ProfileRecord& record);

} // namespace quillon
