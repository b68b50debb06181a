// libFuzzer entry point over the prefs.dat parser and its writer/reader round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/Preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::int16_t language = quillon::ParsePreferences(data, size);
    // A file written for that language must read back as the same language.
    const auto encoded = quillon::EncodePreferences(language);
    if (quillon::ParsePreferences(encoded.data(), encoded.size()) != language)
        std::abort();
    return 0;
}
