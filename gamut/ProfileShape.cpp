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
    if (labBytes.empty() || set.LoadFromMemory(labBytes.data(), labBytes.size(), &lab) != load_result::Ok ||
        lab == nullptr)
        return ProfileShapeResult::CannotLoadLabProfile;

    const std::uint32_t colourSpace = device.ColourSpace();
    shape.gridSize = GridSizeFor(colourSpace);
    const ColourTransform transform = CreateMultiProfileTransform(device.handle.get(), lab->handle.get());
    switch (BuildShape(transform, colourSpace, shape, progress, threads)) {
    case BuildResult::Ok: return ProfileShapeResult::Ok;
    case BuildResult::UnsupportedColourSpace: return ProfileShapeResult::UnsupportedColourSpace;
    case BuildResult::TranslateFailed: break;
    }
    return ProfileShapeResult::CannotUseProfile;
}

ProfileShapeResult BuildShapeFromProfileFile(const std::string& path, GamutShape& shape,
                                             const BuildProgress& progress, unsigned threads)
{
    if (path.empty())
        return ProfileShapeResult::CannotLoadProfile;
    // Only an absolute path opens directly; a bare name would be looked up among the
    // installed profiles instead of the file the user named.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return ProfileShapeResult::CannotLoadProfile;

    LoadedProfileSet set;
    LoadedProfile* device = nullptr;
    if (set.Load(absolute.string(), &device) != load_result::Ok || device == nullptr)
        return ProfileShapeResult::CannotLoadProfile;
    const ProfileShapeResult result = BuildShapeFromLoadedProfile(set, *device, shape, progress, threads);
    set.ReleaseAll();
    return result;
}

} // namespace quillon
