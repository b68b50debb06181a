// quillon-bench [--repeat N] [--threads N] [profile.icc ...]
// For each profile: the raw LittleCMS 16-bit transform of the builder's samples on one
// core (the reference), the full gamut build on all cores, their ratio, the single-thread
// build, a digest of the shape, its extent in L*, a*, b* and the peak RSS. Times are the best of N runs (by default
// 7 for the builds of a few million samples, which a busy neighbour core disturbs most,
// and 2 for the six-colour one).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <lcms2.h>
#include <sys/resource.h>

#include "gamut/GamutBuilder.h"
#include "gamut/Sampling.h"
#include "profiles/ColourTransform.h"
#include "profiles/ProfileHandle.h"

using namespace quillon;

namespace {

constexpr std::size_t kRawBatch = 65536;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

long PeakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::uint64_t Digest(const GamutShape& shape)
{
    // FNV-1a over the fields, so padding never matters.
    std::uint64_t hash = 1469598103934665603ull;
    auto add = [&](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
    };
    add(shape.topPole, sizeof shape.topPole);
    add(shape.bottomPole, sizeof shape.bottomPole);
    add(&shape.gridSize, sizeof shape.gridSize);
    add(shape.points, sizeof shape.points);
    return hash;
}

cmsUInt32Number InputFormat(DeviceColourType type)
{
    switch (type) {
    case DeviceColourType::Rgb16: return TYPE_RGB_16;
    case DeviceColourType::Cmyk16: return TYPE_CMYK_16;
    case DeviceColourType::SixChannel8: return TYPE_CMYK6_8;
    }
    return 0;
}

// The raw transform of every sample in large batches, timing only cmsDoTransform.
double RawTransformSeconds(cmsHPROFILE device, cmsHPROFILE lab, const SamplingPlan& plan)
{
    cmsHPROFILE profiles[2] = {device, lab};
    cmsUInt32Number intents[2] = {INTENT_RELATIVE_COLORIMETRIC, INTENT_RELATIVE_COLORIMETRIC};
    cmsBool bpc[2] = {FALSE, FALSE};
    cmsFloat64Number adaptation[2] = {0, 0};
    cmsHTRANSFORM transform = cmsCreateExtendedTransform(
        nullptr, 2, profiles, bpc, intents, adaptation, nullptr, 0, InputFormat(plan.type),
        TYPE_Lab_16, cmsFLAGS_HIGHRESPRECALC | cmsFLAGS_NOCACHE);
    if (!transform)
        return -1.0;
    std::vector<unsigned char> in(kRawBatch * plan.bytesPerColour);
    std::vector<std::uint16_t> out(kRawBatch * 3);
    int digits[kMaxSampleChannels] = {};
    double spent = 0.0;
    for (std::uint64_t done = 0; done < plan.total;) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kRawBatch, plan.total - done));
        unsigned char* bytes = in.data();
        for (std::size_t i = 0; i < count; ++i) {
            for (int c = 0; c < plan.channels; ++c) {
                const std::uint16_t value = plan.value[c][digits[c]];
                if (plan.eightBit) {
                    *bytes++ = static_cast<unsigned char>(value);
                } else {
                    std::memcpy(bytes, &value, 2);
                    bytes += 2;
                }
            }
            for (int c = plan.channels - 1; c >= 0; --c) {
                if (++digits[c] < plan.levelCount[c])
                    break;
                digits[c] = 0;
            }
        }
        const auto start = Clock::now();
        cmsDoTransform(transform, in.data(), out.data(), static_cast<cmsUInt32Number>(count));
        spent += Seconds(start);
        done += count;
    }
    cmsDeleteTransform(transform);
    return spent;
}

struct BuildRun {
    double seconds = -1.0;
    std::uint64_t digest = 0;
    bool ok = false;
    GamutShape shape{};
};

// "extent L min max a min max b min max" over the shape's points and poles.
void PrintExtent(const GamutShape& shape)
{
    float low[3] = {shape.topPole[0], shape.topPole[1], shape.topPole[2]}; // a*, L*, b*
    float high[3] = {low[0], low[1], low[2]};
    auto add = [&](const float* p) {
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], p[i]);
            high[i] = std::max(high[i], p[i]);
        }
    };
    add(shape.bottomPole);
    for (int band = 0; band < shape.gridSize; ++band)
        for (int sector = 0; sector < shape.gridSize; ++sector)
            add(shape.points[band][sector]);
    std::printf("  extent L %.2f %.2f a %.2f %.2f b %.2f %.2f\n", low[1], high[1], low[0], high[0], low[2],
                high[2]);
}

BuildRun TimeBuild(const ColourTransform& transform, std::uint32_t space, unsigned threads, int repeat)
{
    BuildRun run;
    for (int i = 0; i < repeat; ++i) {
        GamutShape shape{};
        const auto start = Clock::now();
        const BuildResult result = BuildShape(transform, space, shape, {}, threads);
        const double seconds = Seconds(start);
        run.ok = result == BuildResult::Ok;
        if (!run.ok)
            return run;
        const std::uint64_t digest = Digest(shape);
        if (i > 0 && digest != run.digest)
            std::printf("  WARNING: digest changed between runs\n");
        run.digest = digest;
        run.shape = shape;
        run.seconds = run.seconds < 0 ? seconds : std::min(run.seconds, seconds);
    }
    return run;
}

constexpr std::uint64_t kLargeBuild = 10000000;

int BenchProfile(const std::string& path, cmsHPROFILE lab, int repeatAsked, unsigned threads)
{
    std::printf("%s\n", path.c_str());
    auto device = ProfileHandle::Adopt(cmsOpenProfileFromFile(path.c_str(), "r"));
    if (!device) {
        std::printf("  cannot open\n");
        return 1;
    }
    const auto space = static_cast<std::uint32_t>(cmsGetColorSpace(static_cast<cmsHPROFILE>(device.get())));
    SamplingPlan plan;
    if (!PlanFor(space, plan)) {
        std::printf("  unsupported colour space\n");
        return 1;
    }
    const int repeat = repeatAsked > 0 ? repeatAsked : (plan.total > kLargeBuild ? 2 : 7);
    const ColourTransform transform = CreateMultiProfileTransform(device.get(), lab);
    if (!transform.valid()) {
        std::printf("  no transform\n");
        return 1;
    }
    double raw = -1.0;
    for (int i = 0; i < repeat; ++i) {
        const double seconds = RawTransformSeconds(static_cast<cmsHPROFILE>(device.get()), static_cast<cmsHPROFILE>(lab), plan);
        raw = raw < 0 ? seconds : std::min(raw, seconds);
    }
    const unsigned all = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    const BuildRun parallel = TimeBuild(transform, space, all, repeat);
    const long rssParallel = PeakRssKiB();
    const BuildRun single = TimeBuild(transform, space, 1, repeat);
    const long rssSingle = PeakRssKiB();
    if (!parallel.ok || !single.ok) {
        std::printf("  build failed\n");
        return 1;
    }
    std::printf("  samples %llu (best of %d)\n", static_cast<unsigned long long>(plan.total), repeat);
    std::printf("  raw transform, 1 core      %.4f s\n", raw);
    std::printf("  build, %u threads           %.4f s  (peak RSS %ld KiB)\n", all, parallel.seconds, rssParallel);
    std::printf("  ratio %.3f\n", parallel.seconds / raw);
    std::printf("  build, 1 thread            %.4f s  (peak RSS %ld KiB)\n", single.seconds, rssSingle);
    std::printf("  speed-up %.2fx\n", single.seconds / parallel.seconds);
    std::printf("  digest %016llx (%u threads)  %016llx (1 thread)%s\n",
                static_cast<unsigned long long>(parallel.digest), all,
                static_cast<unsigned long long>(single.digest),
                parallel.digest == single.digest ? "" : "  MISMATCH");
    PrintExtent(parallel.shape);
    return parallel.digest == single.digest ? 0 : 1;
}

bool Exists(const char* path)
{
    if (FILE* file = std::fopen(path, "rb")) {
        std::fclose(file);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 0; // by size
    unsigned threads = 0;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--repeat" && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--threads" && i + 1 < argc)
            threads = static_cast<unsigned>(std::max(0, std::atoi(argv[++i])));
        else
            paths.push_back(arg);
    }
    if (paths.empty()) {
        for (const char* name : {"rgb_display.icc", "cmyk_output.icc", "six_colour.icc", "rec2020.icc",
                                 "prophoto.icc", "adobe_rgb.icc", "wide_gamut_rgb.icc"})
            paths.push_back(std::string(QUILLON_FIXTURE_DIR "/") + name);
        for (const char* installed : {"/usr/share/color/icc/sRGB.icc", "/usr/share/color/icc/colord/sRGB.icc"})
            if (Exists(installed)) {
                paths.push_back(installed);
                break;
            }
    }
    auto lab = ProfileHandle::Adopt(cmsOpenProfileFromFile(QUILLON_RUN_DIR "/GLP.icc", "r"));
    if (!lab) {
        std::fprintf(stderr, "cannot open %s\n", QUILLON_RUN_DIR "/GLP.icc");
        return 1;
    }
    std::printf("hardware threads %u\n", std::thread::hardware_concurrency());
    int failures = 0;
    for (const std::string& path : paths)
        failures += BenchProfile(path, static_cast<cmsHPROFILE>(lab.get()), repeat, threads);
    return failures ? 1 : 0;
}
