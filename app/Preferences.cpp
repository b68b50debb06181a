#include "app/Preferences.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace {

// Closes a descriptor once; release() hands it back for a checked close.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

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
    // Non-blocking, so a FIFO or a terminal in its place cannot hold the start-up; only a
    // regular file (a link to one included) is read, from the descriptor that was checked.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    std::array<unsigned char, kPrefsFileSize> bytes{};
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return ParsePreferences(bytes.data(), got);
}

bool WritePreferences(const std::string& path, std::int16_t language)
{
    // A new file beside prefs.dat renamed over it: a link named prefs.dat is replaced, never
    // written through, and a crash mid-write leaves the old file whole.
    static std::atomic<unsigned> serial{0};
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(serial++);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const auto bytes = EncodePreferences(language);
    bool written = true;
    {
        Descriptor file(fd);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                written = false;
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        written = written && ::fsync(fd) == 0;
        written = ::close(file.release()) == 0 && written;
    }
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace quillon
