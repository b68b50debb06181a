#include "profiles/LabProfile.h"

#include <lcms2.h>

namespace quillon {

std::vector<std::uint8_t> MakeLabProfileBytes()
{
    // LittleCMS's v2 Lab identity profile, D50 white: class abst, colour space Lab.
    cmsHPROFILE lab = cmsCreateLab2Profile(nullptr);
    if (!lab)
        return {};
    std::vector<std::uint8_t> bytes;
    cmsUInt32Number size = 0;
    if (cmsSaveProfileToMem(lab, nullptr, &size) && size > 0) {
        bytes.resize(size);
        if (!cmsSaveProfileToMem(lab, bytes.data(), &size) || size != bytes.size())
            bytes.clear();
    }
    cmsCloseProfile(lab);
    return bytes;
}

} // namespace quillon
