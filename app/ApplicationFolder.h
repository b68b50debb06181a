#pragma once
#include <cstddef>
#include <string>

namespace quillon {

// The folder is kept within the classic 260-byte path buffer, terminator included; longer
// working directories run without preferences.
constexpr std::size_t kMaxFolderBytes = 260;

struct FolderInfo {
    std::string path; // always ends with '/' (empty when the working directory is unknown)
    bool fits = false; // path plus terminator within kMaxFolderBytes: prefs.dat may be used
};

// The application folder for a working directory: a trailing '/' is appended when missing.
FolderInfo FolderFromWorkingDirectory(const std::string& workingDirectory);

// The current working directory as an application folder.
FolderInfo CurrentFolder();

// The application folder captured at start-up (where prefs.dat and GLP.icc live); empty
// before start-up.
const std::string& ApplicationFolder();
bool ApplicationFolderFits();
void SetApplicationFolder(const FolderInfo& folder);

} // namespace quillon
