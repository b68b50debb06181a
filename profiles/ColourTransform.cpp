#include "profiles/ColourTransform.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include <lcms2.h>

#include "profiles/LabWords.h"

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

// Float input of the same colours: LittleCMS reads RGB as 0 ... 1 and ink spaces (CMYK,
// six colours) as 0 ... 100 percent.
cmsUInt32Number FloatInputFormat(DeviceColourType type, float& scale)
{
    switch (type) {
    case DeviceColourType::Rgb16: scale = 1.0f / 65535.0f; return TYPE_RGB_FLT;
    case DeviceColourType::Cmyk16: scale = 100.0f / 65535.0f; return TYPE_CMYK_FLT;
    case DeviceColourType::SixChannel8:
        scale = 100.0f / 255.0f;
        return FLOAT_SH(1) | COLORSPACE_SH(PT_MCH6) | CHANNELS_SH(6) | BYTES_SH(4);
    }
    return 0;
}

// CIE Lab of a D50 PCS XYZ (white Y = 1), the formulas of cmsXYZ2Lab with cbrt for pow.
inline float LabF(double t)
{
    constexpr double kLimit = (24.0 / 116.0) * (24.0 / 116.0) * (24.0 / 116.0);
    return static_cast<float>(t <= kLimit ? (841.0 / 108.0) * t + 16.0 / 116.0 : std::cbrt(t));
}

void XyzToLab(const float* xyz, float* lab)
{
    const float fx = LabF(xyz[0] / cmsD50X), fy = LabF(xyz[1] / cmsD50Y), fz = LabF(xyz[2] / cmsD50Z);
    lab[0] = 116.0f * fy - 16.0f;
    lab[1] = 500.0f * (fx - fy);
    lab[2] = 200.0f * (fy - fz);
}

// LittleCMS's v4 16-bit Lab has L* 100 at 0xFFFF; callers decode L* 100 at 0xFF00.
// Its a*/b* words (0x8080 neutral) already match. Table of the 65536 rescaled values.
struct LightnessTable {
    std::uint16_t value[65536];
    LightnessTable()
    {
        for (std::uint32_t i = 0; i < 65536; ++i)
            value[i] = labwords::TransformLightnessFromV4(static_cast<std::uint16_t>(i));
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

void ColourTransform::FloatDeleter::operator()(void* transform) const
{
    cmsDeleteTransform(static_cast<cmsHTRANSFORM>(transform));
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
    // The Lab profile's v2 tables clip a*/b* to the 16-bit range even in float, so the
    // float path ends in the D50 PCS XYZ, unclipped, and TranslateFloat takes Lab from it.
    // (LittleCMS's own XYZ -> Lab stage would double the cost of the float path.)
    cmsContext context = cmsGetProfileContextID(profiles[0]);
    if (cmsHPROFILE pcs = cmsCreateXYZProfileTHR(context)) {
        cmsHPROFILE floatProfiles[2] = {profiles[0], pcs};
        float scale = 0.0f;
        result.m_floatTransform.reset(cmsCreateExtendedTransform(
            context, 2, floatProfiles, bpc, intents, adaptation, nullptr, 0,
            FloatInputFormat(type, scale), TYPE_XYZ_FLT, cmsFLAGS_NOCACHE));
        cmsCloseProfile(pcs);
    }
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

bool ColourTransform::TranslateFloat(const void* device, std::size_t count, DeviceColourType type,
                                     float* lab) const
{
    if (!m_floatTransform || type != m_inputType || (count && (!device || !lab)))
        return false;
    float scale = 0.0f;
    FloatInputFormat(type, scale);
    const std::size_t channels = type == DeviceColourType::Cmyk16 ? 4 : (type == DeviceColourType::Rgb16 ? 3 : 6);
    const bool eightBit = type == DeviceColourType::SixChannel8;
    const auto* bytes = static_cast<const unsigned char*>(device);
    float in[kChunk * 6];
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min(kChunk, count - done);
        for (std::size_t i = 0; i < n * channels; ++i) {
            const std::size_t at = done * channels + i;
            std::uint16_t word;
            if (eightBit) {
                word = bytes[at];
            } else {
                std::memcpy(&word, bytes + 2 * at, 2);
            }
            in[i] = static_cast<float>(word) * scale;
        }
        float* out = lab + done * 3;
        cmsDoTransform(m_floatTransform.get(), in, out, static_cast<cmsUInt32Number>(n));
        for (std::size_t i = 0; i < n; ++i)
            XyzToLab(out + 3 * i, out + 3 * i);
        done += n;
    }
    return true;
}

} // namespace quillon
