#include "app/ApplicationFolder.h"

#include <filesystem>
#include <system_error>

namespace quillon {
namespace {

FolderInfo& Folder()
{
    static FolderInfo folder;
    return folder;
}

} // namespace

FolderInfo FolderFromWorkingDirectory(const std::string& workingDirectory)
{
    FolderInfo info;
    if (workingDirectory.empty())
        return info;
    info.path = workingDirectory;
    if (info.path.back() != '/')
        info.path.push_back('/');
    info.fits = info.path.size() + 1 <= kMaxFolderBytes;
    return info;
}

FolderInfo CurrentFolder()
{
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    if (error)
        return {};
    return FolderFromWorkingDirectory(cwd.string());
}

const std::string& ApplicationFolder()
{
    return Folder().path;
}

bool ApplicationFolderFits()
{
    return Folder().fits;
}

void SetApplicationFolder(const FolderInfo& folder)
{
    Folder() = folder;
}

std::string ApplicationFolderOrWorkingDirectory()
{
    const std::string& folder = ApplicationFolder();
    return folder.empty() ? CurrentFolder().path : folder;
}

std::string LabProfilePath(const std::string& folder)
{
    std::string path = folder;
    if (path.empty() || path.front() != '/') {
        const std::string workingDirectory = CurrentFolder().path;
        if (workingDirectory.empty())
            return {}; // nowhere to look: the load fails as for a missing file
        path = workingDirectory + path;
    }
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    return path + kLabProfileFileName;
}

} // namespace quillon
