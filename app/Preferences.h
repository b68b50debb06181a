#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillon {

// prefs.dat: 10 magic bytes ("Kestra001" and a NUL), then the language as int16 little-endian.
constexpr std::size_t kPrefsMagicSize = 10;
constexpr std::size_t kPrefsFileSize = 12;
constexpr std::array<unsigned char, kPrefsMagicSize> kPrefsMagic = {'K', 'e', 's', 't', 'r',
                                                                    'a', '0', '0', '1', '\0'};
constexpr const char* kPrefsFileName = "prefs.dat";

// The language stored in the first bytes of a preferences file: 0 when the magic is absent or
// wrong; with the magic, the little-endian int16 after it (a missing byte counts as zero).
// Only the first 12 bytes matter; anything beyond is ignored.
std::int16_t ParsePreferences(const unsigned char* data, std::size_t size);

// The 12 bytes written for a language.
std::array<unsigned char, kPrefsFileSize> EncodePreferences(std::int16_t language);

// Reads the file at path; 0 (English) when it cannot be opened or read, or is not a regular
// file (a link to one is read; a FIFO or device never blocks). Never reports.
std::int16_t ReadPreferences(const std::string& path);

// Replaces the file at path: a temporary file in the same folder renamed over it, so a link
// at path is replaced rather than written through. False when it cannot be created or fully
// written (nothing is left behind then). Never reports.
bool WritePreferences(const std::string& path, std::int16_t language);

} // namespace quillon
