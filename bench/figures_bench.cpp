// quillon-figures-bench: what the figures and the colour verdicts cost for four shapes.
//   all figures for four shapes (solids from built shapes, volumes, every coverage): goal 50 ms
//   10,000 colours against four shapes: goal 100 ms
// Usage: quillon-figures-bench [PROFILE...] (default: four profiles Debian installs)
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "gamut/GamutSolid.h"
#include "gamut/ProfileShape.h"

using namespace quillon;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Wall time, and the processor time of all threads: on a machine shared with other work
// the wall time grows while the processor time stays what the work itself costs.
template <typename Work>
void Time(const char* what, int repeats, Work work)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        work();
        cpu.push_back(1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        wall.push_back(Milliseconds(start, Clock::now()));
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-62s wall median %7.2f best %7.2f ms, cpu median %7.2f ms\n", what, wall[wall.size() / 2],
                wall.front(), cpu[cpu.size() / 2]);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> paths(argv + 1, argv + argc);
    if (paths.empty())
        for (const char* p : {"/usr/share/color/icc/sRGB.icc", "/usr/share/color/icc/ghostscript/a98.icc",
                              "/usr/share/color/icc/ghostscript/default_cmyk.icc",
                              "/usr/share/color/icc/ghostscript/ps_cmyk.icc"})
            if (std::filesystem::exists(p))
                paths.push_back(p);
    std::vector<GamutShape> shapes;
    for (const std::string& path : paths) {
        GamutShape shape{};
        if (BuildShapeFromProfileFile(path, shape) != ProfileShapeResult::Ok) {
            std::fprintf(stderr, "%s: cannot build\n", path.c_str());
            continue;
        }
        shapes.push_back(shape);
        std::printf("shape %zu: %s (n = %d)\n", shapes.size(), path.c_str(), shape.gridSize);
    }
    if (shapes.empty())
        return 1;
    std::vector<const GamutShape*> list;
    for (const GamutShape& shape : shapes)
        list.push_back(&shape);
    std::printf("rays per solid: %d\n", kRayBands * kRaySectors);

    MakeSolids(list); // first use fills the ray table
    for (unsigned threads : {1u, 0u}) {
        char label[96];
        std::snprintf(label, sizeof label, "figures for %zu shapes, %s", shapes.size(),
                      threads == 1 ? "1 thread" : "all cores");
        Time(label, 15, [&] {
            const std::vector<GamutSolid> solids = MakeSolids(list, threads);
            const GamutFigures figures = ComputeFigures(solids, threads);
            if (figures.count != shapes.size())
                std::abort();
        });
    }

    const std::vector<GamutSolid> solids = MakeSolids(list);
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> lightness(0.0, 100.0), chroma(-128.0, 128.0);
    std::vector<LabValue> colours(10000);
    for (LabValue& c : colours)
        c = {lightness(random), chroma(random), chroma(random)};
    std::size_t inside = 0;
    char label[96];
    std::snprintf(label, sizeof label, "10,000 colours x %zu shapes, inside counts", solids.size());
    Time(label, 15, [&] {
        inside = 0;
        for (const GamutSolid& solid : solids)
            inside += solid.CountInside(colours).inside;
    });
    for (unsigned threads : {1u, 0u}) {
        std::snprintf(label, sizeof label, "10,000 colours x %zu shapes, verdicts and distances, %s", solids.size(),
                      threads == 1 ? "1 thread" : "all cores");
        Time(label, 15, [&] {
            for (const GamutSolid& solid : solids)
                if (solid.TestAll(colours, threads).size() != colours.size())
                    std::abort();
        });
    }
    std::printf("(%zu of %zu verdicts inside)\n", inside, colours.size() * solids.size());
    return 0;
}
