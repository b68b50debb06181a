#include "profiles/ProfileFile.h"

#include <array>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <system_error>

#include "profiles/ColourServices.h"

namespace quillon {
namespace {

void ReadHeaderSignatures(const std::string& path, ProfileRecord& record)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return; // a folder, a device or a FIFO: never opened, so nothing can block
    std::ifstream in(path, std::ios::binary);
    std::array<char, ColourServices::kHeaderSize> header{};
    if (!in || !in.read(header.data(), std::streamsize(header.size())))
        return;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(header.data());
    ReadBigEndian32(bytes, header.size(), 12, record.profileClass);
    ReadBigEndian32(bytes, header.size(), 16, record.colourSpace);
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
