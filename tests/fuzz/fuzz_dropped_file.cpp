// libFuzzer entry point: a file the user dropped or browsed to. The input is written to a
// temporary file; its record is made from the full path (header only), then the file is
// loaded as an Add loads it. The record's class and colour space must be the loaded
// profile's; nothing may stay open afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "gamut/ProfileShape.h"
#include "profiles/LoadedProfile.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileHandle.h"

namespace {

namespace fs = std::filesystem;

// One folder per process, removed at exit.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quillon-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillon;
    static const TempFolder folder;
    if (folder.Path().empty())
        std::abort();
    // A name with a space and a Latin-1 byte, as dropped files often have.
    const std::string path = (folder.Path() / "dropped caf\xE9.icc").string();
    if (!WriteFile(path, data, size))
        std::abort();

    const long open = ProfileHandle::OpenCount();
    ProfileRecord record;
    if (RecordForProfileFile(path, record) != file_record_result::Ok || FileNameOf(record) != path)
        std::abort();
    {
        LoadedProfileSet set;
        LoadedProfile* loaded = nullptr;
        const LoadResult result = LoadProfileFile(set, FileNameOf(record), &loaded);
        if (result == LoadResult::Ok) {
            if (!loaded || loaded->ProfileClass() != record.profileClass ||
                loaded->ColourSpace() != record.colourSpace)
                std::abort();
        } else if (result != LoadResult::CannotOpen) {
            std::abort();
        }
    }
    if (ProfileHandle::OpenCount() != open)
        std::abort();
    return 0;
}
