#include "app/Preferences.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace quillon {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

std::int16_t ParsePreferences(const unsigned char* data, std::size_t size)
{
    if (data == nullptr || size < kPrefsMagicSize ||
        std::memcmp(data, kPrefsMagic.data(), kPrefsMagicSize) != 0)
        return 0;
    std::uint16_t value = 0;
    if (size > kPrefsMagicSize)
        value = data[kPrefsMagicSize];
    if (size > kPrefsMagicSize + 1)
        value = static_cast<std::uint16_t>(value | (data[kPrefsMagicSize + 1] << 8));
    return static_cast<std::int16_t>(value);
}

std::array<unsigned char, kPrefsFileSize> EncodePreferences(std::int16_t language)
{
    std::array<unsigned char, kPrefsFileSize> bytes{};
    std::memcpy(bytes.data(), kPrefsMagic.data(), kPrefsMagicSize);
    const auto value = static_cast<std::uint16_t>(language);
    bytes[kPrefsMagicSize] = static_cast<unsigned char>(value & 0xFF);
    bytes[kPrefsMagicSize + 1] = static_cast<unsigned char>(value >> 8);
    return bytes;
}

std::int16_t ReadPreferences(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return 0;
    std::array<unsigned char, kPrefsFileSize> bytes{};
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    return ParsePreferences(bytes.data(), got);
}

bool WritePreferences(const std::string& path, std::int16_t language)
{
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const auto bytes = EncodePreferences(language);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    return std::fclose(file.release()) == 0 && written;
}

} // namespace quillon
