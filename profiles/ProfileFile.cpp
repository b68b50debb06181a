#include "profiles/ProfileFile.h"

#include <array>
#include <cstring>

#include "profiles/ColourServices.h"

namespace quillon {
namespace {

void ReadHeaderSignatures(const std::string& path, ProfileRecord& record)
{
    // The catalogue's header read: opened without blocking and checked on the descriptor, so
    // a folder, a FIFO or a file swapped for one costs nothing and never hangs.
    std::array<std::uint8_t, ColourServices::kHeaderSize> header{};
    if (!ColourServices().ReadProfileHeader(path, header.data()))
        return;
    ReadBigEndian32(header.data(), header.size(), 12, record.profileClass);
    ReadBigEndian32(header.data(), header.size(), 16, record.colourSpace);
}

} // namespace

std::int16_t RecordForProfileFile(const std::string& path, ProfileRecord& out)
{
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos)
        return file_record_result::BadPath;
    if (path.size() >= std::size_t(ProfileRecord::kNameSize))
        return file_record_result::PathTooLong;
    ProfileRecord record;
    std::memcpy(record.fileName, path.data(), path.size());
    try {
        ReadHeaderSignatures(path, record);
    } catch (const std::exception&) {
        record.profileClass = 0;
        record.colourSpace = 0;
    }
    out = record;
    return file_record_result::Ok;
}

} // namespace quillon
