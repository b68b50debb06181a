#pragma once
#include <cstdint>
#include <string>

#include "profiles/ProfileRecord.h"

namespace quillon {

namespace file_record_result {
constexpr std::int16_t Ok = 0;
// The path does not fit in a record's name field; a cut path could name another file.
constexpr std::int16_t PathTooLong = -1;
// Empty, relative (it would be looked up in the profile folders instead) or holding a NUL.
constexpr std::int16_t BadPath = -2;
} // namespace file_record_result

// A record for a profile file the user picked outside the catalogue: its full path as the
// name, class and colour space from the 128-byte header. Only the header is read, so a huge
// or special file costs nothing here; a file whose header cannot be read (missing,
// unreadable, a folder, too short) gets class and colour space 0 and is refused by the load
// that follows, like any listed profile that cannot be opened.
std::int16_t RecordForProfileFile(const std::string& path, ProfileRecord& out);

} // namespace quillon
