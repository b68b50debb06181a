// libFuzzer entry point: the input is an ncl2 element. Its colours are counted, then read
// into exactly that room and into a smaller one; every name must come back terminated.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "profiles/NamedColours.h"

namespace {

void CheckNames(const std::vector<quillon::NamedColour>& colours, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i)
        if (!std::memchr(colours[i].name, 0, quillon::ncl2::kNameFieldSize + 1))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillon;
    std::uint32_t count = 0;
    if (ParseNamedColours(data, size, nullptr, count) != NamedColourResult::CountOnly)
        std::abort();
    // Whole entries inside the element only: each takes at least 38 bytes after the 84 of the header.
    if (count > 0 && std::uint64_t(count) * ncl2::kEntryFixedSize + ncl2::kFirstEntryOffset > size)
        std::abort();
    if (count == 0)
        return 0; // an empty array is no array: the count call is all there is
    std::vector<NamedColour> colours(count);
    std::uint32_t room = count;
    if (ParseNamedColours(data, size, colours.data(), room) != NamedColourResult::Ok || room != count)
        std::abort();
    CheckNames(colours, room);
    if (count > 1) {
        room = count / 2;
        if (ParseNamedColours(data, size, colours.data(), room) != NamedColourResult::Ok || room != count / 2)
            std::abort();
        CheckNames(colours, room);
    }
    return 0;
}
