// quillon-catalogue-bench [--repeat N]
// Times the profile catalogue (both lists, as the add dialog and the probe build them) over
// generated folders, warm cache, best of N runs; then the named-colour reader on a 50,000
// colour library and on a 1.7 million colour one (refused). Folders:
//  - 400 profiles, 200 of them ~1 MB CMYK printer profiles and 200 small RGB displays;
//  - 50 sparse 64 MiB files that are not profiles;
//  - a first folder flooded with 100,000 empty .icc files before a folder holding one
//    named-colour profile, which must still be listed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <lcms2.h>
#include <unistd.h>

#include "profiles/LoadedProfile.h"
#include "profiles/NamedColours.h"
#include "tests/profiles/NamedColourProfiles.h"
#include "profiles/ProfileCatalogue.h"

using namespace quillon;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

Bytes Serialise(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    Bytes bytes;
    if (cmsSaveProfileToMem(profile, nullptr, &size)) {
        bytes.resize(size);
        cmsSaveProfileToMem(profile, bytes.data(), &size);
    }
    cmsCloseProfile(profile);
    return bytes;
}

int Ink(const cmsUInt16Number in[], cmsUInt16Number out[], void*)
{
    const double ink = (in[0] + in[1] + in[2] + in[3]) / 65535.0;
    cmsCIELab lab = {std::max(0.0, 95 - 25 * ink), 40.0 * (in[1] - in[0]) / 65535.0, 40.0 * (in[2] - in[1]) / 65535.0};
    cmsFloat2LabEncoded(out, &lab);
    return 1;
}

// A CMYK printer profile whose 21-point CLUT makes it about 1.1 MB, like real press profiles.
Bytes PrinterProfile()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 21, 4, 3, nullptr);
    cmsStageSampleCLut16bit(clut, Ink, nullptr, 0);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    return Serialise(profile);
}

Bytes NamedProfile()
{
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetDeviceClass(profile, cmsSigNamedColorClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsNAMEDCOLORLIST* list = cmsAllocNamedColorList(nullptr, 1, 0, "", "");
    cmsUInt16Number pcs[3] = {0x8000, 0x8080, 0x8080}, device[cmsMAXCHANNELS] = {};
    cmsAppendNamedColor(list, "grey", pcs, device);
    cmsWriteTag(profile, cmsSigNamedColor2Tag, list);
    cmsFreeNamedColorList(list);
    return Serialise(profile);
}

void Write(const fs::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Load, count, read: what choosing the profile in the probe does on the data side.
void TimeNamedColours(const fs::path& file, std::uint32_t colours)
{
    const auto start = Clock::now();
    LoadedProfileSet set(ColourServices(std::vector<fs::path>{}));
    LoadedProfile* profile = nullptr;
    std::int16_t result = static_cast<std::int16_t>(set.Load(file.string(), &profile));
    std::uint32_t count = 0;
    std::size_t read = 0;
    if (result == 0 && profile) {
        NamedColourResult named = ReadNamedColours(*profile, nullptr, count);
        if (named == NamedColourResult::CountOnly) {
            std::vector<NamedColour> list(count);
            named = ReadNamedColours(*profile, list.data(), count);
            read = count;
        }
        result = static_cast<std::int16_t>(named);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("named colours, %u in a %.1f MiB profile: %.1f ms, result %d, %zu read\n", colours,
                double(fs::file_size(file)) / (1 << 20), ms, result, read);
}

struct Timing {
    double best = 1e9;
    std::size_t device = 0, named = 0;
};

Timing TimeLists(const ColourServices& services, int repeat)
{
    Timing t;
    const ProfileCatalogue catalogue(services);
    for (int i = 0; i <= repeat; ++i) { // the first run warms the cache and is not counted
        const auto start = Clock::now();
        const auto device = catalogue.BuildList(ProfileListKind::Device);
        const auto named = catalogue.BuildList(ProfileListKind::NamedColour);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (i > 0)
            t.best = std::min(t.best, ms);
        t.device = device.size();
        t.named = named.size();
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 5;
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));

    const fs::path root = fs::temp_directory_path() / ("quillon_catalogue_bench_" + std::to_string(::getpid()));
    fs::remove_all(root);

    const fs::path mixed = root / "mixed";
    fs::create_directories(mixed);
    const Bytes printer = PrinterProfile();
    const Bytes display = Serialise(cmsCreate_sRGBProfile());
    for (int i = 0; i < 200; ++i) {
        Write(mixed / ("printer_" + std::to_string(i) + ".icc"), printer);
        Write(mixed / ("display_" + std::to_string(i) + ".icc"), display);
    }
    const Timing mixedTime = TimeLists(ColourServices({mixed}), repeat);
    std::printf("400 profiles (200 x %.0f KiB printer, 200 x %.1f KiB display): %.1f ms for both lists "
                "(%zu device, %zu named)\n",
                printer.size() / 1024.0, display.size() / 1024.0, mixedTime.best, mixedTime.device, mixedTime.named);

    const fs::path sparse = root / "sparse";
    fs::create_directories(sparse);
    for (int i = 0; i < 50; ++i) {
        const fs::path file = sparse / ("sparse_" + std::to_string(i) + ".icc");
        std::ofstream{file};
        fs::resize_file(file, ColourServices::kMaxProfileBytes);
    }
    const Timing sparseTime = TimeLists(ColourServices({sparse}), repeat);
    std::printf("50 sparse 64 MiB files: %.1f ms for both lists (%zu listed)\n", sparseTime.best,
                sparseTime.device + sparseTime.named);
    fs::remove_all(sparse);

    const fs::path flooded = root / "flooded", later = root / "later";
    fs::create_directories(flooded);
    fs::create_directories(later);
    for (int i = 0; i < 100000; ++i)
        std::ofstream{flooded / ("empty_" + std::to_string(i) + ".icc")};
    Write(later / "named.icc", NamedProfile());
    const Timing floodTime = TimeLists(ColourServices({flooded, later}), std::min(repeat, 2));
    std::printf("100,000 empty .icc files before a named-colour folder: %.1f ms for both lists, "
                "later folder's named profile %s\n",
                floodTime.best, floodTime.named == 1 ? "listed" : "HIDDEN");

    const fs::path named = root / "named";
    fs::create_directories(named);
    for (std::uint32_t colours : {50000u, 1700000u}) {
        const fs::path file = named / ("named_" + std::to_string(colours) + ".icc");
        Write(file, test::NamedProfileBytes(colours));
        TimeNamedColours(file, colours);
    }

    fs::remove_all(root);
    return 0;
}
