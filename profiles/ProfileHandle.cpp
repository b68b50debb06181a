#include "profiles/ProfileHandle.h"

#include <atomic>
#include <utility>

#include <lcms2.h>

namespace quillon {
namespace {
std::atomic<long> g_openProfiles{0};
}

ProfileHandle::State::State(void* cmsProfile, std::vector<std::uint8_t> data, bool withBytes)
    : cms(cmsProfile), bytes(std::move(data)), hasBytes(withBytes)
{
    ++g_openProfiles;
}

ProfileHandle::State::~State()
{
    if (cms)
        cmsCloseProfile(static_cast<cmsHPROFILE>(cms));
    --g_openProfiles;
}

ProfileHandle ProfileHandle::Adopt(void* cmsProfile)
{
    ProfileHandle handle;
    if (cmsProfile)
        handle.m_state = std::make_unique<State>(cmsProfile, std::vector<std::uint8_t>{}, false);
    return handle;
}

ProfileHandle ProfileHandle::FromBytes(std::vector<std::uint8_t> bytes, void* cmsProfile)
{
    ProfileHandle handle;
    handle.m_state = std::make_unique<State>(cmsProfile, std::move(bytes), true);
    return handle;
}

long ProfileHandle::OpenCount() { return g_openProfiles.load(); }

} // namespace quillon
