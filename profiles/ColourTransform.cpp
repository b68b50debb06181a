#include "profiles/ColourTransform.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include <lcms2.h>

namespace quillon {
namespace {

std::atomic<long> g_openTransforms{0};

constexpr std::size_t kChunk = 1024;

// On the raw 32-bit signature: a header may hold any value, most of which are not valid
// values of LittleCMS's enumeration.
bool InputFormat(std::uint32_t space, DeviceColourType& type, cmsUInt32Number& format)
{
    switch (space) {
    case std::uint32_t{cmsSigRgbData}: type = DeviceColourType::Rgb16; format = TYPE_RGB_16; return true;
    case std::uint32_t{cmsSigCmykData}: type = DeviceColourType::Cmyk16; format = TYPE_CMYK_16; return true;
    case std::uint32_t{cmsSig6colorData}: type = DeviceColourType::SixChannel8; format = TYPE_CMYK6_8; return true;
    default: return false;
    }
}

// LittleCMS's v4 16-bit Lab has L* 100 at 0xFFFF; callers decode L* 100 at 0xFF00.
// Its a*/b* words (0x8080 neutral) already match. Table of the 65536 rescaled values.
struct LightnessTable {
    std::uint16_t value[65536];
    LightnessTable()
    {
        for (std::uint32_t i = 0; i < 65536; ++i)
            value[i] = static_cast<std::uint16_t>((i * 65280u + 32767u) / 65535u);
    }
};
const LightnessTable& Lightness()
{
    static const LightnessTable table;
    return table;
}

} // namespace

std::size_t BytesPerColour(DeviceColourType type)
{
    switch (type) {
    case DeviceColourType::Rgb16: return 6;
    case DeviceColourType::Cmyk16: return 8;
    case DeviceColourType::SixChannel8: return 6;
    }
    return 0;
}

void ColourTransform::Deleter::operator()(void* transform) const
{
    cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform));
    --g_openTransforms;
}

long ColourTransform::OpenCount() { return g_openTransforms.load(); }

ColourTransform CreateMultiProfileTransform(void* deviceProfile, void* labProfile)
{
    ColourTransform result;
    if (!deviceProfile || !labProfile)
        return result;
    DeviceColourType type;
    cmsUInt32Number format;
    if (!InputFormat(static_cast<std::uint32_t>(cmsGetColorSpace(static_cast<cmsHPROFILE>(deviceProfile))), type, format))
        return result;
    cmsHPROFILE profiles[2] = {static_cast<cmsHPROFILE>(deviceProfile),
                               static_cast<cmsHPROFILE>(labProfile)};
    cmsUInt32Number intents[2] = {INTENT_RELATIVE_COLORIMETRIC, INTENT_RELATIVE_COLORIMETRIC};
    cmsBool bpc[2] = {FALSE, FALSE};
    cmsFloat64Number adaptation[2] = {0, 0};
    // NOCACHE: without the one-colour cache a transform may be shared by threads.
    cmsHTRANSFORM transform = cmsCreateExtendedTransform(
        cmsGetProfileContextID(profiles[0]), 2, profiles, bpc, intents, adaptation, nullptr, 0,
        format, TYPE_Lab_16, cmsFLAGS_HIGHRESPRECALC | cmsFLAGS_NOCACHE);
    if (!transform)
        return result;
    ++g_openTransforms;
    result.m_transform.reset(transform);
    result.m_inputType = type;
    Lightness();
    return result;
}

bool ColourTransform::Translate(const void* device, std::size_t count, DeviceColourType type,
                                std::uint16_t* lab) const
{
    if (!m_transform || type != m_inputType || (count && (!device || !lab)))
        return false;
    const auto* in = static_cast<const unsigned char*>(device);
    const std::size_t stride = BytesPerColour(type);
    const auto& table = Lightness().value;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(kChunk, count - done);
        cmsDoTransform(m_transform.get(), in + done * stride, lab + done * 3,
                       static_cast<cmsUInt32Number>(n));
        for (std::size_t i = 0; i < n; ++i)
            lab[(done + i) * 3] = table[lab[(done + i) * 3]];
        done += n;
    }
    return true;
}

} // namespace quillon
