// Writes the device profiles the gamut tests and the build benchmark run on:
//   rgb_display.icc  small matrix/shaper RGB display profile (class mntr)
//   cmyk_output.icc  CMYK output profile (class prtr) with AToB0/BToA0 CLUTs
//   six_colour.icc   six-colour output profile (class prtr, 6CLR) with an AToB0 CLUT
// The LUT profiles follow a simple subtractive ink model, enough for a plausible gamut.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include <lcms2.h>

namespace {

// CLUT grid sizes: small files, smooth enough for a gamut.
constexpr cmsUInt32Number kCmykGrid = 9;
constexpr cmsUInt32Number kLabToCmykGrid = 17;
constexpr cmsUInt32Number kSixGrid = 5;

constexpr int kInks = 6;
// Share of red, green and blue light each ink absorbs at full coverage:
// cyan, magenta, yellow, black, orange, green.
constexpr double kAbsorption[kInks][3] = {
    {0.92, 0.22, 0.06}, {0.10, 0.90, 0.20}, {0.02, 0.10, 0.93},
    {0.94, 0.94, 0.94}, {0.05, 0.55, 0.92}, {0.88, 0.15, 0.70},
};

struct Model {
    cmsHTRANSFORM linearRgbToLab = nullptr;
};

void InksToLab(const Model& model, const double* coverage, int inks, cmsCIELab& lab)
{
    float rgb[3];
    for (int channel = 0; channel < 3; ++channel) {
        double reflect = 1.0;
        for (int ink = 0; ink < inks; ++ink)
            reflect *= 1.0 - coverage[ink] * kAbsorption[ink][channel];
        rgb[channel] = static_cast<float>(std::clamp(reflect, 0.0, 1.0));
    }
    double out[3];
    cmsDoTransform(model.linearRgbToLab, rgb, out, 1);
    lab.L = out[0];
    lab.a = out[1];
    lab.b = out[2];
}

int SampleInks(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo, int inks)
{
    double coverage[kInks];
    for (int i = 0; i < inks; ++i)
        coverage[i] = in[i] / 65535.0;
    cmsCIELab lab;
    InksToLab(*static_cast<const Model*>(cargo), coverage, inks, lab);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

int SampleCmyk(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo)
{
    return SampleInks(in, out, cargo, 4);
}

int SampleSix(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo)
{
    return SampleInks(in, out, cargo, 6);
}

// Lab -> CMYK: lightness and opponent colour to inks with simple grey replacement.
int SampleLabToCmyk(const cmsUInt16Number in[], cmsUInt16Number out[], void*)
{
    cmsCIELab lab;
    cmsLabEncoded2Float(&lab, in);
    const double l = std::clamp(lab.L / 100.0, 0.0, 1.0);
    double c = std::clamp(1.0 - l - lab.a / 256.0, 0.0, 1.0);
    double m = std::clamp(1.0 - l + lab.a / 256.0, 0.0, 1.0);
    double y = std::clamp(1.0 - l + lab.b / 256.0, 0.0, 1.0);
    const double k = std::min({c, m, y}) * 0.8;
    c = (c - k) / (1.0 - k + 1e-9);
    m = (m - k) / (1.0 - k + 1e-9);
    y = (y - k) / (1.0 - k + 1e-9);
    const double inks[4] = {c, m, y, k};
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<cmsUInt16Number>(std::lround(std::clamp(inks[i], 0.0, 1.0) * 65535.0));
    return TRUE;
}

// Curves, CLUT, curves: the shape lutAtoBType / lutBtoAType can store.
cmsPipeline* ClutPipeline(cmsUInt32Number grid, cmsUInt32Number ins, cmsUInt32Number outs,
                          cmsSAMPLER16 sampler, void* cargo)
{
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, ins, outs);
    if (!pipeline)
        return nullptr;
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, grid, ins, outs, nullptr);
    if (!clut || !cmsStageSampleCLut16bit(clut, sampler, cargo, 0) ||
        !cmsPipelineInsertStage(pipeline, cmsAT_END, clut)) {
        if (clut)
            cmsStageFree(clut);
        cmsPipelineFree(pipeline);
        return nullptr;
    }
    // From here the pipeline owns every stage inserted.
    if (!cmsPipelineInsertStage(pipeline, cmsAT_BEGIN, cmsStageAllocToneCurves(nullptr, ins, nullptr)) ||
        !cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, outs, nullptr))) {
        cmsPipelineFree(pipeline);
        return nullptr;
    }
    return pipeline;
}

bool Describe(cmsHPROFILE profile, const char* text)
{
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    if (!mlu)
        return false;
    const bool ok = cmsMLUsetASCII(mlu, "en", "US", text) &&
                    cmsWriteTag(profile, cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    return ok;
}

bool WriteRgbDisplay(const std::string& path)
{
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    if (!gamma)
        return false;
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    if (!profile)
        return false;
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    const bool ok = Describe(profile, "Quillon test RGB display") && cmsSaveProfileToFile(profile, path.c_str());
    cmsCloseProfile(profile);
    return ok;
}

cmsHPROFILE OutputProfile(cmsColorSpaceSignature space, const char* description)
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    if (!profile)
        return nullptr;
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, space);
    cmsSetPCS(profile, cmsSigLabData);
    cmsSetHeaderRenderingIntent(profile, INTENT_RELATIVE_COLORIMETRIC);
    if (!Describe(profile, description) ||
        !cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ())) {
        cmsCloseProfile(profile);
        return nullptr;
    }
    return profile;
}

bool WriteTagPipeline(cmsHPROFILE profile, cmsTagSignature tag, cmsPipeline* pipeline)
{
    if (!pipeline)
        return false;
    const bool ok = cmsWriteTag(profile, tag, pipeline);
    cmsPipelineFree(pipeline);
    return ok;
}

bool WriteCmykOutput(const std::string& path, Model& model)
{
    cmsHPROFILE profile = OutputProfile(cmsSigCmykData, "Quillon test CMYK output");
    if (!profile)
        return false;
    const bool ok =
        WriteTagPipeline(profile, cmsSigAToB0Tag, ClutPipeline(kCmykGrid, 4, 3, SampleCmyk, &model)) &&
        WriteTagPipeline(profile, cmsSigBToA0Tag,
                         ClutPipeline(kLabToCmykGrid, 3, 4, SampleLabToCmyk, nullptr)) &&
        cmsSaveProfileToFile(profile, path.c_str());
    cmsCloseProfile(profile);
    return ok;
}

bool WriteSixColour(const std::string& path, Model& model)
{
    cmsHPROFILE profile = OutputProfile(cmsSig6colorData, "Quillon test six-colour output");
    if (!profile)
        return false;
    const bool ok =
        WriteTagPipeline(profile, cmsSigAToB0Tag, ClutPipeline(kSixGrid, 6, 3, SampleSix, &model)) &&
        cmsSaveProfileToFile(profile, path.c_str());
    cmsCloseProfile(profile);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";

    // Linear sRGB primaries, D65 white: the light the inks leave, measured as D50 Lab.
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
    cmsToneCurve* curves[3] = {linear, linear, linear};
    cmsHPROFILE linearRgb = linear ? cmsCreateRGBProfile(&white, &primaries, curves) : nullptr;
    if (linear)
        cmsFreeToneCurve(linear);
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    Model model;
    if (linearRgb && lab)
        model.linearRgbToLab = cmsCreateTransform(linearRgb, TYPE_RGB_FLT, lab, TYPE_Lab_DBL,
                                                  INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_NOOPTIMIZE);
    if (linearRgb)
        cmsCloseProfile(linearRgb);
    if (lab)
        cmsCloseProfile(lab);
    if (!model.linearRgbToLab) {
        std::fprintf(stderr, "cannot build the ink model transform\n");
        return 1;
    }

    bool ok = true;
    const struct {
        const char* name;
        bool (*write)(const std::string&, Model&);
    } fixtures[] = {
        {"rgb_display.icc", [](const std::string& path, Model&) { return WriteRgbDisplay(path); }},
        {"cmyk_output.icc", WriteCmykOutput},
        {"six_colour.icc", WriteSixColour},
    };
    for (const auto& fixture : fixtures) {
        if (!fixture.write(folder + fixture.name, model)) {
            std::fprintf(stderr, "cannot write %s\n", fixture.name);
            ok = false;
        }
    }
    cmsDeleteTransform(model.linearRgbToLab);
    return ok ? 0 : 1;
}
