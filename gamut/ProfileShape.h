#pragma once
#include <cstdint>
#include <string>

#include "gamut/GamutBuilder.h"
#include "gamut/GamutShape.h"
#include "profiles/LoadedProfile.h"

namespace quillon {

// Why a shape could not be built from a profile file; the window shows one message for
// each (see the string table): 1014, then 1024, 1027, 1026, each followed by 1016; 1004.
enum class ProfileShapeResult {
    Ok = 0,
    CannotLoadProfile,      // the file is missing, unreadable or not a profile
    CannotLoadLabProfile,   // the Lab profile could not be made or opened
    UnsupportedColourSpace, // not RGB, CMYK or six colours
    CannotUseProfile,       // no transform to Lab, or a translation failed
    OutOfMemory,            // the build could not allocate its grids
};

// Loads a profile file named by path into set. A relative path is
// taken from the current folder, never looked up among the installed profiles; a path too
// long for a LoadedProfile's name is read into memory and loaded from there.
LoadResult LoadProfileFile(LoadedProfileSet& set, const std::string& path, LoadedProfile** loaded);

// Builds the gamut shape of a device profile exactly as the window does, with the Lab
// profile made in memory by the generator of GLP.icc: no working folder needed. The file is
// loaded by LoadProfileFile.
// threads 0 = hardware concurrency; progress as for BuildShape.
ProfileShapeResult BuildShapeFromProfileFile(const std::string& path, GamutShape& shape,
                                             const BuildProgress& progress = {}, unsigned threads = 0);

// The same for a device profile already loaded into set; the Lab profile is loaded into
// the same set, which the caller releases.
ProfileShapeResult BuildShapeFromLoadedProfile(LoadedProfileSet& set, const LoadedProfile& device,
                                               GamutShape& shape, const BuildProgress& progress = {},
                                               unsigned threads = 0);

} // namespace quillon
