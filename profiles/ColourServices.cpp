#include "profiles/ColourServices.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <lcms2.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace fs = std::filesystem;
namespace {

constexpr std::uint32_t kProfileMagic = 0x61637370; // 'acsp' at header byte 36
constexpr std::size_t kMagicOffset = 36;
constexpr std::size_t kTagCountOffset = ColourServices::kHeaderSize;
constexpr std::size_t kTagTableOffset = kTagCountOffset + 4;
constexpr std::size_t kTagEntrySize = 12;

// The part of the stored bytes the profile claims: its declared size when that is plausible,
// otherwise what the file holds.
struct Bytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

Bytes ViewOf(const std::vector<std::uint8_t>& stored)
{
    Bytes view{stored.data(), stored.size()};
    std::uint32_t declared = 0;
    if (ReadBigEndian32(view.data, view.size, 0, declared) && declared >= kTagTableOffset &&
        declared < view.size)
        view.size = declared;
    return view;
}

bool LooksLikeProfile(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t magic = 0, count = 0;
    return ReadBigEndian32(data, size, kMagicOffset, magic) && magic == kProfileMagic &&
           ReadBigEndian32(data, size, kTagCountOffset, count);
}

ProfileHandle OpenBytes(std::vector<std::uint8_t> bytes)
{
    if (!LooksLikeProfile(bytes.data(), bytes.size()))
        return {};
    // LittleCMS copies the block; a refusal (e.g. over 100 tags) still leaves the tags readable.
    void* cms = cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
    return ProfileHandle::FromBytes(std::move(bytes), cms);
}

struct TagEntry {
    std::uint32_t signature = 0;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// Entry `index` (from 1), only when both the entry and the element it points to are inside.
bool ReadTagEntry(const Bytes& view, std::uint32_t index, TagEntry& entry)
{
    if (index < 1)
        return false;
    const std::uint64_t at = kTagTableOffset + std::uint64_t(index - 1) * kTagEntrySize;
    if (at + kTagEntrySize > view.size)
        return false;
    const auto pos = static_cast<std::size_t>(at);
    if (!ReadBigEndian32(view.data, view.size, pos, entry.signature) ||
        !ReadBigEndian32(view.data, view.size, pos + 4, entry.offset) ||
        !ReadBigEndian32(view.data, view.size, pos + 8, entry.size))
        return false;
    return std::uint64_t(entry.offset) + entry.size <= view.size;
}

bool HasIccExtension(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".icc" || ext == ".icm";
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

void ListFolder(const fs::path& folder, std::set<std::string>& seen, std::vector<std::string>& names)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return;
    const std::size_t limit = std::min(ColourServices::kMaxListedProfiles, names.size() + ColourServices::kMaxListedPerFolder);
    std::size_t visited = 0;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    // Directory links are not followed, so a link cycle cannot trap the walk.
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (names.size() >= limit || ++visited > ColourServices::kMaxVisitedPerFolder)
            return;
        if (it.depth() >= ColourServices::kMaxFolderDepth)
            it.disable_recursion_pending();
        std::error_code fileError;
        if (!it->is_regular_file(fileError) || !HasIccExtension(it->path()))
            continue; // dangling links land here too
        std::string name = it->path().lexically_relative(folder).generic_string();
        if (!name.empty() && seen.insert(name).second)
            names.push_back(std::move(name));
    }
}

// An open descriptor, closed once.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Opens first and checks what was opened, so a file swapped between a look and the open
// cannot make the read block or grow: non-blocking (a FIFO or device returns at once), then
// the descriptor must be a regular file within the size limit. A listed name whose file was
// no link when it was resolved must not have become one by the open (O_NOFOLLOW); a link the
// folder holds, or a path given whole, is followed.
Descriptor OpenRegularFile(const fs::path& path, bool followLink, std::uint64_t& size)
{
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (!followLink)
        flags |= O_NOFOLLOW;
    Descriptor fd(::open(path.c_str(), flags));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        std::uint64_t(info.st_size) > ColourServices::kMaxProfileBytes)
        return Descriptor();
    size = std::uint64_t(info.st_size);
    return fd;
}

// Reads up to `size` bytes from the start; the number read, short only at the end of the file.
std::size_t ReadAt(int fd, std::uint8_t* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, size - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

} // namespace

bool ReadBigEndian32(const std::uint8_t* data, std::size_t size, std::size_t offset, std::uint32_t& value)
{
    if (!data || offset > size || size - offset < 4)
        return false;
    value = (std::uint32_t(data[offset]) << 24) | (std::uint32_t(data[offset + 1]) << 16) |
            (std::uint32_t(data[offset + 2]) << 8) | std::uint32_t(data[offset + 3]);
    return true;
}

bool ReadBigEndian16(const std::uint8_t* data, std::size_t size, std::size_t offset, std::uint16_t& value)
{
    if (!data || offset > size || size - offset < 2)
        return false;
    value = static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
    return true;
}

ColourServices::ColourServices(std::vector<fs::path> folders) : m_folders(std::move(folders)) {}

std::vector<fs::path> ColourServices::DefaultFolders()
{
    std::vector<fs::path> folders;
    const std::string home = Environment("HOME");
    const std::string dataHome = Environment("XDG_DATA_HOME");
    // Relative XDG entries are invalid by the freedesktop rules and ignored.
    if (!dataHome.empty() && dataHome.front() == '/')
        folders.push_back(fs::path(dataHome) / "icc");
    else if (!home.empty())
        folders.push_back(fs::path(home) / ".local/share/icc");
    if (!home.empty())
        folders.push_back(fs::path(home) / ".color/icc");
    std::string dataDirs = Environment("XDG_DATA_DIRS");
    if (dataDirs.empty())
        dataDirs = "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= dataDirs.size()) {
        std::size_t end = dataDirs.find(':', start);
        if (end == std::string::npos)
            end = dataDirs.size();
        const std::string dir = dataDirs.substr(start, end - start);
        if (!dir.empty() && dir.front() == '/')
            folders.push_back(fs::path(dir) / "color/icc");
        start = end + 1;
    }
    return folders;
}

bool ColourServices::EnumerateProfiles(std::vector<std::string>& names) const
{
    names.clear();
    try {
        std::set<std::string> seen;
        for (const auto& folder : m_folders)
            ListFolder(folder, seen, names);
    } catch (const std::exception&) {
        names.clear();
        return false;
    }
    return true;
}

fs::path ColourServices::Resolve(const std::string& nameOrPath) const
{
    bool walked = false;
    return Resolve(nameOrPath, walked);
}

fs::path ColourServices::Resolve(const std::string& nameOrPath, bool& followLink) const
{
    followLink = true;
    if (nameOrPath.empty())
        return {};
    const fs::path path(nameOrPath);
    if (path.is_absolute())
        return path;
    // A listed name stays inside its folder.
    for (const auto& part : path)
        if (part == "..")
            return {};
    for (const auto& folder : m_folders) {
        std::error_code ec;
        fs::path candidate = folder / path;
        if (fs::is_regular_file(candidate, ec)) {
            followLink = fs::is_symlink(candidate, ec);
            return candidate;
        }
    }
    return {};
}

bool ColourServices::ReadProfileFile(const std::string& nameOrPath, std::vector<std::uint8_t>& bytes) const
{
    try {
        bool followLink = true;
        const fs::path path = Resolve(nameOrPath, followLink);
        std::uint64_t size = 0;
        const Descriptor fd = path.empty() ? Descriptor() : OpenRegularFile(path, followLink, size);
        if (fd.get() < 0)
            return false;
        bytes.assign(static_cast<std::size_t>(size), 0);
        return ReadAt(fd.get(), bytes.data(), bytes.size()) == bytes.size();
    } catch (const std::exception&) {
        return false;
    }
}

ProfileHandle ColourServices::OpenProfile(const std::string& nameOrPath) const
{
    std::vector<std::uint8_t> bytes;
    if (!ReadProfileFile(nameOrPath, bytes))
        return {};
    return OpenBytes(std::move(bytes));
}

bool ColourServices::ReadProfileHeader(const std::string& nameOrPath, std::uint8_t header[kHeaderSize]) const
{
    try {
        bool followLink = true;
        const fs::path path = Resolve(nameOrPath, followLink);
        std::uint64_t size = 0;
        const Descriptor fd = path.empty() ? Descriptor() : OpenRegularFile(path, followLink, size);
        if (fd.get() < 0 || !header)
            return false;
        // The header and the tag count: what the whole-file open checks before LittleCMS.
        std::uint8_t head[kTagTableOffset] = {};
        if (ReadAt(fd.get(), head, sizeof head) != sizeof head || !LooksLikeProfile(head, sizeof head))
            return false;
        std::memcpy(header, head, kHeaderSize);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

ProfileHandle OpenProfileFromMemory(const void* data, std::size_t size)
{
    if (!data || size > ColourServices::kMaxProfileBytes)
        return {};
    try {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        return OpenBytes(std::vector<std::uint8_t>(begin, begin + size));
    } catch (const std::exception&) {
        return {};
    }
}

bool GetColorProfileHeader(const ProfileHandle& profile, std::uint8_t header[ColourServices::kHeaderSize])
{
    const auto* stored = profile.bytes();
    if (!header || !stored || stored->size() < ColourServices::kHeaderSize)
        return false;
    std::memcpy(header, stored->data(), ColourServices::kHeaderSize);
    return true;
}

std::uint32_t GetCountColorProfileElements(const ProfileHandle& profile)
{
    if (const auto* stored = profile.bytes()) {
        std::uint32_t count = 0;
        ReadBigEndian32(stored->data(), stored->size(), kTagCountOffset, count);
        return count;
    }
    if (profile.get()) {
        const cmsInt32Number count = cmsGetTagCount(static_cast<cmsHPROFILE>(profile.get()));
        return count > 0 ? static_cast<std::uint32_t>(count) : 0;
    }
    return 0;
}

bool GetColorProfileElementTag(const ProfileHandle& profile, std::uint32_t index, std::uint32_t& tag)
{
    if (const auto* stored = profile.bytes()) {
        TagEntry entry;
        if (index > GetCountColorProfileElements(profile) || !ReadTagEntry(ViewOf(*stored), index, entry))
            return false;
        tag = entry.signature;
        return true;
    }
    if (!profile.get() || index < 1 || index > GetCountColorProfileElements(profile))
        return false;
    tag = cmsGetTagSignature(static_cast<cmsHPROFILE>(profile.get()), index - 1);
    return true;
}

bool GetColorProfileElement(const ProfileHandle& profile, std::uint32_t tag, std::uint32_t offset,
                            std::uint32_t& size, void* buffer)
{
    const std::uint8_t* element = nullptr;
    std::uint32_t elementSize = 0;
    std::vector<std::uint8_t> fromLcms;
    if (const auto* stored = profile.bytes()) {
        const Bytes view = ViewOf(*stored);
        const std::uint32_t count = GetCountColorProfileElements(profile);
        TagEntry entry;
        bool found = false;
        // The walk stops at the first entry outside the file: no hostile count makes it long.
        for (std::uint32_t i = 1; i <= count && ReadTagEntry(view, i, entry); ++i)
            if (entry.signature == tag) {
                found = true;
                break;
            }
        if (!found)
            return false;
        element = view.data + entry.offset;
        elementSize = entry.size;
    } else if (profile.get()) {
        auto* cms = static_cast<cmsHPROFILE>(profile.get());
        const auto signature = static_cast<cmsTagSignature>(tag);
        if (!cmsIsTag(cms, signature))
            return false;
        const cmsUInt32Number rawSize = cmsReadRawTag(cms, signature, nullptr, 0);
        try {
            fromLcms.resize(rawSize);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (rawSize && cmsReadRawTag(cms, signature, fromLcms.data(), rawSize) != rawSize)
            return false;
        element = fromLcms.data();
        elementSize = rawSize;
    } else {
        return false;
    }
    if (offset > elementSize)
        return false;
    const std::uint32_t available = elementSize - offset;
    if (!buffer) {
        size = available;
        return true;
    }
    const std::uint32_t copied = std::min(size, available);
    if (copied)
        std::memcpy(buffer, element + offset, copied);
    size = copied;
    return true;
}

void CloseColorProfile(ProfileHandle& profile) { profile.reset(); }

} // namespace quillon
