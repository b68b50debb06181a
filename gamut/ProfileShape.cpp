#include "gamut/ProfileShape.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "profiles/ColourTransform.h"
#include "profiles/LabProfile.h"
#include "profiles/LoadedProfile.h"

namespace quillon {

ProfileShapeResult BuildShapeFromLoadedProfile(LoadedProfileSet& set, const LoadedProfile& device,
                                               GamutShape& shape, const BuildProgress& progress,
                                               unsigned threads)
{
    const std::vector<std::uint8_t> labBytes = MakeLabProfileBytes();
    LoadedProfile* lab = nullptr;
    if (labBytes.empty() || set.LoadFromMemory(labBytes.data(), labBytes.size(), &lab) != LoadResult::Ok ||
        lab == nullptr)
        return ProfileShapeResult::CannotLoadLabProfile;

    const std::uint32_t colourSpace = device.ColourSpace();
    shape.gridSize = GridSizeFor(colourSpace);
    const ColourTransform transform = CreateMultiProfileTransform(device.handle.get(), lab->handle.get());
    switch (BuildShape(transform, colourSpace, shape, progress, threads)) {
    case BuildResult::Ok: return ProfileShapeResult::Ok;
    case BuildResult::UnsupportedColourSpace: return ProfileShapeResult::UnsupportedColourSpace;
    case BuildResult::OutOfMemory: return ProfileShapeResult::OutOfMemory;
    case BuildResult::TranslateFailed: break;
    }
    return ProfileShapeResult::CannotUseProfile;
}

LoadResult LoadProfileFile(LoadedProfileSet& set, const std::string& path, LoadedProfile** loaded)
{
    if (path.empty())
        return LoadResult::CannotOpen;
    // Only an absolute path opens directly; a bare name would be looked up among the
    // installed profiles instead of the file the user named.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return LoadResult::CannotOpen;
    const std::string name = absolute.string();
    if (name.size() < LoadedProfile::kNameSize)
        return set.Load(name, loaded);

    // Deep folders: the bytes through the loader's own checked open (a regular file within
    // the size limit, never blocking), then the same checks on them.
    std::vector<std::uint8_t> bytes;
    if (!ColourServices().ReadProfileFile(name, bytes) || bytes.empty())
        return LoadResult::CannotOpen;
    return set.LoadFromMemory(bytes.data(), bytes.size(), loaded);
}

ProfileShapeResult BuildShapeFromProfileFile(const std::string& path, GamutShape& shape,
                                             const BuildProgress& progress, unsigned threads)
{
    LoadedProfileSet set;
    LoadedProfile* device = nullptr;
    if (LoadProfileFile(set, path, &device) != LoadResult::Ok || device == nullptr)
        return ProfileShapeResult::CannotLoadProfile;
    const ProfileShapeResult result = BuildShapeFromLoadedProfile(set, *device, shape, progress, threads);
    set.ReleaseAll();
    return result;
}

} // namespace quillon
