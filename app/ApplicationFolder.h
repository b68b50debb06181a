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

// Paths stay bytes from the working directory to every open: a folder whose name is not
// UTF-8 (Latin-1 "caf\xe9") must not pass through a text conversion.
constexpr const char* kLabProfileFileName = "GLP.icc";

// The folder captured at start-up, or the working directory (ending in '/') when there is none.
std::string ApplicationFolderOrWorkingDirectory();

// GLP.icc in `folder`, byte for byte; an empty or relative folder is taken from the working
// directory, so the result is always an absolute path (a bare name would be looked up in the
// profile folders instead).
std::string LabProfilePath(const std::string& folder);

} // namespace quillon
