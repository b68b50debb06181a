#include "profiles/ProfileHandle.h"

#include <atomic>

#include <lcms2.h>

namespace quillon {
namespace {
std::atomic<long> g_openProfiles{0};
}

ProfileHandle ProfileHandle::Adopt(void* cmsProfile)
{
    ProfileHandle handle;
    if (cmsProfile) {
        handle.m_profile.reset(cmsProfile);
        ++g_openProfiles;
    }
    return handle;
}

void ProfileHandle::Closer::operator()(void* profile) const
{
    cmsCloseProfile(static_cast<cmsHPROFILE>(profile));
    --g_openProfiles;
}

long ProfileHandle::OpenCount() { return g_openProfiles.load(); }

} // namespace quillon
