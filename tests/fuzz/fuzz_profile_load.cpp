// libFuzzer entry point: load a profile from memory, walk its tags, read every element and
// its named colours; nothing may stay open afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "profiles/ProfileHandle.h"
#include "tests/profiles/ProfileWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const long open = quillon::ProfileHandle::OpenCount();
    const quillon::LoadResult result = quillon::testing::WalkProfile(data, size);
    if ((result != quillon::LoadResult::Ok && result != quillon::LoadResult::CannotOpen) || quillon::ProfileHandle::OpenCount() != open)
        std::abort();
    return 0;
}
