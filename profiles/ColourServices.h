#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "profiles/ProfileHandle.h"

namespace quillon {

// The colour-management services every profile operation goes through: enumeration of the
// installed profiles, opening, header and tag access, element reads. Header, tag table and
// elements are read from the profile's own bytes, bounds-checked here; LittleCMS parses the
// same bytes for transforms.
class ColourServices {
public:
    static constexpr std::size_t kHeaderSize = 128;
    // Larger files are not taken as profiles (real ones stay far below).
    static constexpr std::uintmax_t kMaxProfileBytes = 64u << 20;
    // Bounds on a folder walk, so a hostile tree cannot make enumeration run away.
    static constexpr int kMaxFolderDepth = 16;
    static constexpr std::size_t kMaxListedProfiles = 100000;
    // Each folder's share, so one flooded folder cannot hide the folders after it: at most
    // this many names listed, and this many entries of any kind visited, per folder.
    static constexpr std::size_t kMaxListedPerFolder = 10000;
    static constexpr std::size_t kMaxVisitedPerFolder = 100000;

    // Searched in order; an earlier folder hides the same listed name in a later one.
    explicit ColourServices(std::vector<std::filesystem::path> folders = DefaultFolders());

    // $XDG_DATA_HOME/icc (~/.local/share/icc), ~/.color/icc, then <dir>/color/icc for each
    // $XDG_DATA_DIRS entry (/usr/local/share:/usr/share).
    static std::vector<std::filesystem::path> DefaultFolders();

    const std::vector<std::filesystem::path>& Folders() const { return m_folders; }

    // Every .icc/.icm file (any case) under the folders, recursively, named by its path relative
    // to its folder with '/' separators. Unreadable folders and dangling links are skipped.
    // Within the bounds above: each folder's walk ends at its share, the whole list at
    // kMaxListedProfiles.
    // False only when the list could not be built (out of memory).
    bool EnumerateProfiles(std::vector<std::string>& names) const;

    // A listed name resolves through the folders in order; an absolute path opens directly.
    // An empty handle when the file is missing, unreadable or not a profile.
    ProfileHandle OpenProfile(const std::string& nameOrPath) const;
    // The whole file OpenProfile would parse, read through the same checked descriptor;
    // false when it cannot be read (or memory runs out).
    bool ReadProfileFile(const std::string& nameOrPath, std::vector<std::uint8_t>& bytes) const;

    // The 128 header bytes of the file the name would open, reading nothing else: false
    // unless OpenProfile would give a handle (a regular file within the size limit, with the
    // profile signature and room for its tag count), LittleCMS's parse aside.
    bool ReadProfileHeader(const std::string& nameOrPath, std::uint8_t header[kHeaderSize]) const;

    // The file the name would open, or an empty path.
    std::filesystem::path Resolve(const std::string& nameOrPath) const;

private:
    // Also tells whether the file may be reached through a final link: a listed name only
    // when the folder holds a link there now, a path given whole always.
    std::filesystem::path Resolve(const std::string& nameOrPath, bool& followLink) const;

    std::vector<std::filesystem::path> m_folders;
};

// Same checks as a file open, on bytes already in memory (copied).
ProfileHandle OpenProfileFromMemory(const void* data, std::size_t size);

// The 128 header bytes as stored. False when the handle holds no stored bytes.
bool GetColorProfileHeader(const ProfileHandle& profile, std::uint8_t header[ColourServices::kHeaderSize]);

// The tag count as the tag table states it (not checked against the file: the walk is).
std::uint32_t GetCountColorProfileElements(const ProfileHandle& profile);

// Signature of tag `index` (from 1). False past the table, or when the entry or the element it
// points to lies outside the profile: that ends a tag walk.
bool GetColorProfileElementTag(const ProfileHandle& profile, std::uint32_t index, std::uint32_t& tag);

// Element of `tag` exactly as stored. Without a buffer, size becomes the element's size from
// `offset` on. With one, at most `size` bytes are copied and size becomes the number copied.
// False when there is no such tag or the offset lies past the element.
bool GetColorProfileElement(const ProfileHandle& profile, std::uint32_t tag, std::uint32_t offset,
                            std::uint32_t& size, void* buffer);

void CloseColorProfile(ProfileHandle& profile);

// Big-endian reads used by every parser in this folder; false when out of range.
bool ReadBigEndian32(const std::uint8_t* data, std::size_t size, std::size_t offset, std::uint32_t& value);
bool ReadBigEndian16(const std::uint8_t* data, std::size_t size, std::size_t offset, std::uint16_t& value);

} // namespace quillon
