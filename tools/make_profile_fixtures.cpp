// Writes the small profiles the profile tests read: device profiles of each class, wide-gamut
// RGB displays, a grey monitor, a device link, named-colour profiles, a profile with more
// tags than a set holds, and broken files. Usage: make_profile_fixtures <output folder>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <lcms2.h>

#include "profiles/LabWords.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

fs::path g_out;

bool Write(const std::string& name, const Bytes& bytes)
{
    const fs::path path = g_out / name;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

Bytes Serialise(cmsHPROFILE profile)
{
    Bytes bytes;
    cmsUInt32Number size = 0;
    if (profile && cmsSaveProfileToMem(profile, nullptr, &size) && size) {
        bytes.resize(size);
        if (!cmsSaveProfileToMem(profile, bytes.data(), &size))
            bytes.clear();
    }
    if (profile)
        cmsCloseProfile(profile);
    return bytes;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v >> 24);
    b[at + 1] = std::uint8_t(v >> 16);
    b[at + 2] = std::uint8_t(v >> 8);
    b[at + 3] = std::uint8_t(v);
}

std::uint32_t Get32(const Bytes& b, std::size_t at)
{
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// Offset of a tag's element in serialised bytes (0 when absent).
std::uint32_t TagOffset(const Bytes& b, std::uint32_t signature)
{
    const std::uint32_t count = Get32(b, 128);
    for (std::uint32_t i = 0; i < count; ++i)
        if (Get32(b, 132 + 12 * i) == signature)
            return Get32(b, 132 + 12 * i + 4);
    return 0;
}

cmsHPROFILE RgbProfile(cmsProfileClassSignature profileClass)
{
    cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(cmsD50_xyY(), &primaries, curves);
    cmsFreeToneCurve(gamma);
    if (profile)
        cmsSetDeviceClass(profile, profileClass);
    return profile;
}

// Device -> Lab through a coarse CLUT: ink darkens and tints, so the gamut is a real solid.
int InkSampler(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo)
{
    const int channels = *static_cast<int*>(cargo);
    double ink = 0, a = 0, b = 0;
    for (int c = 0; c < channels; ++c) {
        const double v = in[c] / 65535.0;
        ink += v;
        const double angle = 2 * M_PI * c / channels;
        a += 60 * v * std::cos(angle);
        b += 60 * v * std::sin(angle);
    }
    cmsCIELab lab = {std::fmax(0, 95 - 30 * ink), a, b};
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

cmsHPROFILE InkProfile(cmsProfileClassSignature profileClass, cmsColorSpaceSignature space, int channels,
                       cmsUInt32Number gridPoints)
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, profileClass);
    cmsSetColorSpace(profile, space);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, channels, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, gridPoints, channels, 3, nullptr);
    cmsStageSampleCLut16bit(clut, InkSampler, &channels, 0);
    // lutAtoBType stores A curves, CLUT, B curves: identity curves around the CLUT.
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, channels, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    return profile;
}

// Matrix/TRC display profiles from published primaries and white; LittleCMS adapts them to
// D50 (Bradford) and stores the chromatic adaptation. Their gamuts reach past a*/b* +-128.
struct WideGamut {
    const char* file;
    const char* description;
    cmsCIExyY white;
    cmsCIExyYTRIPLE primaries;
    double gamma; // 0: the Rec. 709 / 2020 transfer function
};

const WideGamut kWideGamuts[] = {
    {"rec2020.icc", "Quillon test Rec. 2020", {0.3127, 0.3290, 1},
     {{0.708, 0.292, 1}, {0.170, 0.797, 1}, {0.131, 0.046, 1}}, 0},
    {"prophoto.icc", "Quillon test ProPhoto RGB (ROMM)", {0.3457, 0.3585, 1},
     {{0.7347, 0.2653, 1}, {0.1596, 0.8404, 1}, {0.0366, 0.0001, 1}}, 1.8},
    {"adobe_rgb.icc", "Quillon test Adobe RGB (1998)", {0.3127, 0.3290, 1},
     {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}, 563.0 / 256.0},
    {"wide_gamut_rgb.icc", "Quillon test Wide Gamut RGB", {0.3457, 0.3585, 1},
     {{0.7347, 0.2653, 1}, {0.1152, 0.8264, 1}, {0.1566, 0.0177, 1}}, 563.0 / 256.0},
};

cmsHPROFILE WideGamutProfile(const WideGamut& w)
{
    // Y = ((V + 0.099) / 1.099)^(1/0.45) above V = 0.081, V / 4.5 below (ICC type 4).
    const double rec709[5] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
    cmsToneCurve* curve = w.gamma > 0 ? cmsBuildGamma(nullptr, w.gamma) : cmsBuildParametricToneCurve(nullptr, 4, rec709);
    if (!curve)
        return nullptr;
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&w.white, &w.primaries, curves);
    cmsFreeToneCurve(curve);
    if (!profile)
        return nullptr;
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    if (mlu) {
        cmsMLUsetASCII(mlu, "en", "US", w.description);
        cmsWriteTag(profile, cmsSigProfileDescriptionTag, mlu);
        cmsMLUfree(mlu);
    }
    return profile;
}

// Every colour near one corner of Lab (L* 0.02 ... 0.17, a* about -127, b* about -126): the
// samples span almost no volume.
int CornerSampler(const cmsUInt16Number in[], cmsUInt16Number out[], void*)
{
    cmsCIELab lab = {0.02 + 0.15 * in[0] / 65535.0, -127.0 + 0.5 * in[1] / 65535.0, -126.0 + 0.5 * in[2] / 65535.0};
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

cmsHPROFILE CornerPrinter()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 5, 3, 3, nullptr);
    cmsStageSampleCLut16bit(clut, CornerSampler, nullptr, 0);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    return profile;
}

cmsHPROFILE GreyMonitor()
{
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), gamma);
    cmsFreeToneCurve(gamma);
    return profile;
}

cmsHPROFILE DeviceLink()
{
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 1.8);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateLinearizationDeviceLink(cmsSigRgbData, curves);
    cmsFreeToneCurve(gamma);
    return profile;
}

struct Colour {
    const char* name;
    cmsUInt16Number pcs[3];
};

// Mixed-case names; the first two L words are the ones the rescaling is known for.
const Colour kColours[] = {
    {"Paper White", {0xFF00, 0x8080, 0x8080}}, {"mid grey", {0x8000, 0x8080, 0x8080}},
    {"Brick", {0x6000, 0xA000, 0x9000}},       {"aqua", {0xC000, 0x6000, 0x7000}},
    {"_Underline", {0x4000, 0x8000, 0x8000}},  {"ZINC", {0x9000, 0x8100, 0x7F00}},
    {"Ochre", {0xA000, 0x8800, 0xB000}},       {"night", {0x1000, 0x8200, 0x6000}},
};

cmsHPROFILE NamedColourProfile(cmsColorSpaceSignature space, cmsUInt32Number deviceCoordinates, int colours)
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.4);
    cmsSetDeviceClass(profile, cmsSigNamedColorClass);
    cmsSetColorSpace(profile, space);
    cmsSetPCS(profile, cmsSigLabData);
    cmsNAMEDCOLORLIST* list = cmsAllocNamedColorList(nullptr, colours, deviceCoordinates, "Pre ", " Suf");
    for (int i = 0; i < colours; ++i) {
        cmsUInt16Number device[cmsMAXCHANNELS] = {};
        for (cmsUInt32Number c = 0; c < deviceCoordinates; ++c)
            device[c] = cmsUInt16Number(0x1111 * (c + 1) + i);
        cmsAppendNamedColor(list, kColours[i].name, const_cast<cmsUInt16Number*>(kColours[i].pcs), device);
    }
    cmsWriteTag(profile, cmsSigNamedColor2Tag, list);
    cmsFreeNamedColorList(list);
    return profile;
}

// A named-colour library for the gamut tests: the first six colours lie well inside an
// sRGB-like display gamut, the last four more than 10 dE*ab outside it.
struct LabColour {
    const char* name;
    double L, a, b;
};
const LabColour kProbeColours[] = {
    {"Grey 50", 50, 0, 0},     {"Grey 20", 20, 0, 0},        {"Grey 90", 90, 0, 0},
    {"Muted red", 50, 20, 20}, {"Leaf", 60, -20, 30},        {"Slate", 40, 10, -30},
    {"Laser red", 50, 100, 0}, {"Deep blue", 50, 0, -120},   {"Pale cyan", 95, -90, 0},
    {"Dark orange", 10, 60, 60},
};

cmsHPROFILE NamedLabProfile()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.4);
    cmsSetDeviceClass(profile, cmsSigNamedColorClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    const auto count = cmsUInt32Number(sizeof kProbeColours / sizeof kProbeColours[0]);
    cmsNAMEDCOLORLIST* list = cmsAllocNamedColorList(nullptr, count, 3, "", "");
    for (const LabColour& colour : kProbeColours) {
        // The element's encoding as the reader takes it.
        using namespace quillon::labwords;
        cmsUInt16Number pcs[3] = {ElementLightnessWord(colour.L), ElementOpponentWord(colour.a),
                                  ElementOpponentWord(colour.b)};
        cmsUInt16Number device[cmsMAXCHANNELS] = {};
        cmsAppendNamedColor(list, colour.name, pcs, device);
    }
    cmsWriteTag(profile, cmsSigNamedColor2Tag, list);
    cmsFreeNamedColorList(list);
    return profile;
}

// LittleCMS refuses to write more than 100 tags, so this one is laid out by hand: 250 tags
// sharing one 'XYZ ' element.
Bytes ManyTags(std::uint32_t tagCount)
{
    const std::size_t table = 132 + 12 * std::size_t(tagCount);
    const std::size_t elementSize = 20;
    Bytes b(table + elementSize, 0);
    Put32(b, 0, std::uint32_t(b.size()));
    Put32(b, 8, 0x02400000);
    Put32(b, 12, 0x6D6E7472); // mntr
    Put32(b, 16, 0x52474220); // RGB
    Put32(b, 20, 0x58595A20); // XYZ
    Put32(b, 36, 0x61637370); // acsp
    Put32(b, 128, tagCount);
    for (std::uint32_t i = 0; i < tagCount; ++i) {
        const std::uint32_t signature = 0x54000000u | (i / 100 + '0') << 16 | ((i / 10) % 10 + '0') << 8 | (i % 10 + '0');
        Put32(b, 132 + 12 * i, signature); // 'T000', 'T001', ...
        Put32(b, 132 + 12 * i + 4, std::uint32_t(table));
        Put32(b, 132 + 12 * i + 8, std::uint32_t(elementSize));
    }
    Put32(b, table, 0x58595A20);
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    g_out = argv[1];
    bool ok = true;
    auto save = [&](const std::string& name, const Bytes& bytes) {
        if (bytes.empty() || !Write(name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            ok = false;
        }
    };

    const Bytes printer = Serialise(RgbProfile(cmsSigOutputClass));
    save("rgb_printer.icc", printer);
    save("cmyk_scanner.icc", Serialise(InkProfile(cmsSigInputClass, cmsSigCmykData, 4, 5)));
    save("six_printer.icc", Serialise(InkProfile(cmsSigOutputClass, cmsSig6colorData, 6, 2)));
    save("grey_monitor.icc", Serialise(GreyMonitor()));
    save("degenerate_corner.icc", Serialise(CornerPrinter()));
    save("device_link.icc", Serialise(DeviceLink()));
    save("lab_abstract.icc", Serialise(cmsCreateLab4Profile(nullptr)));
    save("nested/Upper_Case.ICM", Serialise(RgbProfile(cmsSigDisplayClass)));
    for (const WideGamut& w : kWideGamuts)
        save(w.file, Serialise(WideGamutProfile(w)));

    // Named colours: element offsets are checked with n = 3; the rest vary space and count.
    const Bytes named3 = Serialise(NamedColourProfile(cmsSigRgbData, 3, 8));
    save("named_rgb_n3.icc", named3);
    save("named_cmyk_n0.icc", Serialise(NamedColourProfile(cmsSigCmykData, 0, 8)));
    {
        cmsHPROFILE noElement = cmsCreateProfilePlaceholder(nullptr);
        cmsSetDeviceClass(noElement, cmsSigNamedColorClass);
        cmsSetColorSpace(noElement, cmsSigRgbData);
        cmsSetPCS(noElement, cmsSigLabData);
        cmsWriteTag(noElement, cmsSigMediaWhitePointTag, cmsD50_XYZ());
        save("named_no_element.icc", Serialise(noElement));
    }
    save("named_lab_empty.icc", Serialise(NamedColourProfile(cmsSigLabData, 0, 0)));

    // Hostile named colours: a count past the element, a name filling its 32 bytes.
    Bytes over = named3;
    Put32(over, TagOffset(over, 0x6E636C32) + 12, 1000000);
    save("named_overcount.icc", over);
    Bytes longName = named3;
    std::memset(longName.data() + TagOffset(longName, 0x6E636C32) + 84, 'X', 32);
    save("named_longname.icc", longName);
    // The ncl2 tag points at an element of another type.
    Bytes curvElement = named3;
    Put32(curvElement, TagOffset(curvElement, 0x6E636C32), 0x63757276); // 'curv'
    save("named_curv_element.icc", curvElement);

    // Bare elements: the named-colour fuzzer's corpus.
    auto element = [](const Bytes& profile) {
        const std::uint32_t count = Get32(profile, 128);
        for (std::uint32_t i = 0; i < count; ++i)
            if (Get32(profile, 132 + 12 * i) == 0x6E636C32) {
                const std::uint32_t at = Get32(profile, 136 + 12 * i), size = Get32(profile, 140 + 12 * i);
                return Bytes(profile.begin() + at, profile.begin() + at + size);
            }
        return Bytes{};
    };
    save("ncl2/rgb_n3.ncl2", element(named3));
    save("ncl2/overcount.ncl2", element(over));
    save("ncl2/longname.ncl2", element(longName));

    save("many_tags.icc", ManyTags(250));

    // A colour space that is no signature LittleCMS knows (nor a value of its enumeration).
    Bytes unknownSpace = printer;
    Put32(unknownSpace, 16, 0xBF4771A0);
    save("unknown_colour_space.icc", unknownSpace);

    // Broken files.
    save("broken_truncated_header.icc", Bytes(printer.begin(), printer.begin() + 60));
    Bytes pastEnd = printer;
    Put32(pastEnd, 132 + 4, std::uint32_t(pastEnd.size() + 4096)); // first tag's element past the end
    save("broken_tag_past_end.icc", pastEnd);
    Bytes tableTooLong = printer;
    Put32(tableTooLong, 128, 0x00FFFFFF); // a table far longer than the file
    save("broken_table_past_end.icc", tableTooLong);
    Bytes randomBytes(3000);
    std::mt19937 random(20240501);
    for (auto& byte : randomBytes)
        byte = std::uint8_t(random());
    save("broken_random.icc", randomBytes);
    {
        std::ofstream zero(g_out / "broken_zero_length.icc", std::ios::binary | std::ios::trunc);
        ok = ok && bool(zero);
    }
    save("not_a_profile.txt", Bytes{'n', 'o', 't', '\n'});

    // Two folders listing the same name: the first one hides the second.
    save("shadow/first/same.icc", printer);
    save("shadow/second/same.icc", Serialise(GreyMonitor()));
    save("shadow/second/only_second.icc", printer);

    // Six of these ten colours lie inside rgb_display.icc's gamut.
    save("named_lab_probe.icc", Serialise(NamedLabProfile()));
    return ok ? 0 : 1;
}
