#include "gamut/GamutBuilder.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "gamut/BlockBinner.h"
#include "gamut/GamutGrid.h"
#include "gamut/Sampling.h"
#include "profiles/ColourTransform.h"
#include "profiles/ProfileRecord.h"

namespace quillon {
namespace {

// Samples translated per call. Only the order of samples into the grid matters for the
// result, so the block may be larger than the 101/37/225 batches the sampling is made of.
constexpr std::size_t kBlock = BlockBinner::kCapacity;
// More chunks than this gain nothing on any machine we target and cost grid merges.
constexpr unsigned kMaxThreads = 64;

// A contiguous run of the sample sequence, binned into its own grid.
struct Chunk {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    std::atomic<std::uint64_t> done{0}; // samples binned so far
    GamutGrid grid{};
    std::vector<std::uint16_t> device;
    std::vector<std::uint16_t> lab;
    std::unique_ptr<BlockBinner> binner;
    // Samples of the block whose a* or b* word sits at an end of the encoding.
    std::vector<std::uint32_t> edgeIndex;
    std::vector<std::uint16_t> edgeDevice;
    std::vector<float> edgeLab;
};

struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t generation = 0; // bumped on every block and every finish
    unsigned finished = 0;
    std::atomic<bool> failed{false};
};

// Writes the device colours of samples [first, first + count) into out.
void FillDevice(const SamplingPlan& plan, int* digits, std::size_t count, std::uint16_t* out)
{
    const int last = plan.channels - 1;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    for (std::size_t i = 0; i < count; ++i) {
        if (plan.eightBit) {
            for (int c = 0; c <= last; ++c)
                *bytes++ = static_cast<unsigned char>(plan.value[c][digits[c]]);
        } else {
            for (int c = 0; c <= last; ++c)
                *out++ = plan.value[c][digits[c]];
        }
        // Odometer: the last channel varies fastest.
        for (int c = last; c >= 0; --c) {
            if (++digits[c] < plan.levelCount[c])
                break;
            digits[c] = 0;
        }
    }
}

// The 16-bit words stop at a*/b* -128 and +127.996: a word at 0x0000 or 0xFFFF may hold a
// clamped colour. Those samples alone go again through the float transform, in block order,
// and take its Lab where it is plausible; every other sample keeps its words bit for bit.
void RetranslateEdges(const SamplingPlan& plan, const ColourTransform& transform, Chunk& chunk,
                      std::size_t count)
{
    if (!transform.hasFloatPath())
        return;
    const std::uint16_t* lab = chunk.lab.data();
    std::size_t edges = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t a = lab[3 * i + 1], b = lab[3 * i + 2];
        if (a == 0 || a == 0xFFFF || b == 0 || b == 0xFFFF)
            chunk.edgeIndex[edges++] = static_cast<std::uint32_t>(i);
    }
    if (edges == 0)
        return;
    const std::size_t stride = plan.bytesPerColour;
    const auto* from = reinterpret_cast<const unsigned char*>(chunk.device.data());
    auto* to = reinterpret_cast<unsigned char*>(chunk.edgeDevice.data());
    for (std::size_t k = 0; k < edges; ++k)
        std::memcpy(to + k * stride, from + chunk.edgeIndex[k] * stride, stride);
    // No float transform result: the clamped words stand, as they always have.
    if (!transform.TranslateFloat(to, edges, plan.type, chunk.edgeLab.data()))
        return;
    for (std::size_t k = 0; k < edges; ++k) {
        const float* exact = &chunk.edgeLab[3 * k];
        if (UsableExactLab(exact[0], exact[1], exact[2]))
            chunk.binner->Replace(chunk.edgeIndex[k], {exact[0], exact[1], exact[2]});
    }
}

template <typename OnBlock>
void RunChunk(const SamplingPlan& plan, const ColourTransform& transform, Chunk& chunk,
              std::atomic<bool>& failed, OnBlock onBlock)
{
    int digits[kMaxSampleChannels] = {};
    std::uint64_t rest = chunk.begin;
    for (int c = plan.channels - 1; c >= 0; --c) {
        digits[c] = static_cast<int>(rest % static_cast<std::uint64_t>(plan.levelCount[c]));
        rest /= static_cast<std::uint64_t>(plan.levelCount[c]);
    }
    GamutGrid& grid = chunk.grid;
    for (std::uint64_t position = chunk.begin; position < chunk.end;) {
        if (failed.load(std::memory_order_relaxed))
            return;
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, chunk.end - position));
        FillDevice(plan, digits, count, chunk.device.data());
        if (!transform.Translate(chunk.device.data(), count, plan.type, chunk.lab.data())) {
            failed.store(true);
            return;
        }
        BlockBinner& binner = *chunk.binner;
        binner.Decode(chunk.lab.data(), count);
        RetranslateEdges(plan, transform, chunk, count);
        binner.Classify(grid);
        binner.Bin(grid);
        position += count;
        chunk.done.store(position - chunk.begin, std::memory_order_release);
        onBlock();
    }
}

// Levels of the outermost channel whose every sample has been binned.
int LevelsDone(const SamplingPlan& plan, const std::vector<Chunk>& chunks)
{
    int complete = 0;
    for (int level = 0; level < plan.levelCount[0]; ++level) {
        const std::uint64_t first = static_cast<std::uint64_t>(level) * plan.perOutermostLevel;
        const std::uint64_t last = first + plan.perOutermostLevel;
        bool done = true;
        for (const Chunk& chunk : chunks) {
            const std::uint64_t from = std::max(first, chunk.begin);
            const std::uint64_t to = std::min(last, chunk.end);
            if (from < to && chunk.begin + chunk.done.load(std::memory_order_acquire) < to) {
                done = false;
                break;
            }
        }
        complete += done ? 1 : 0;
    }
    return complete;
}

} // namespace

bool UsableExactLab(float L, float a, float b)
{
    // Positive tests only, so NaN fails them.
    return L >= -100.0f && L <= 200.0f && a >= -1000.0f && a <= 1000.0f && b >= -1000.0f &&
           b <= 1000.0f;
}

std::int16_t GridSizeFor(std::uint32_t colourSpace)
{
    switch (colourSpace) {
    case sig::Rgb: return 32;
    case sig::Cmyk: return 24;
    default: return 16;
    }
}

int OutermostLevels(std::uint32_t colourSpace)
{
    SamplingPlan plan;
    return PlanFor(colourSpace, plan) ? plan.levelCount[0] : 0;
}

BuildResult BuildShape(const ColourTransform& transform, std::uint32_t colourSpace,
                       GamutShape& shape, const BuildProgress& progress, unsigned threads)
{
    const std::int16_t n = GridSizeFor(colourSpace);
    shape.gridSize = n;
    SamplingPlan plan;
    if (!PlanFor(colourSpace, plan))
        return BuildResult::UnsupportedColourSpace;

    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, kMaxThreads);

    // Everything the sampling needs is allocated here, before any work starts.
    std::vector<Chunk> chunks;
    try {
        chunks = std::vector<Chunk>(threads);
        for (unsigned c = 0; c < threads; ++c) {
            chunks[c].begin = plan.total * c / threads;
            chunks[c].end = plan.total * (c + 1) / threads;
            chunks[c].grid.Reset(n, colourSpace);
            chunks[c].device.resize(kBlock * kMaxSampleChannels);
            chunks[c].lab.resize(kBlock * 3);
            chunks[c].binner = std::make_unique<BlockBinner>();
            chunks[c].edgeIndex.resize(kBlock);
            chunks[c].edgeDevice.resize(kBlock * kMaxSampleChannels);
            chunks[c].edgeLab.resize(kBlock * 3);
        }
    } catch (const std::bad_alloc&) {
        return BuildResult::OutOfMemory;
    }

    Shared shared;
    int reported = 0;
    auto report = [&] {
        const int done = LevelsDone(plan, chunks);
        // One call per level keeps the bar's steps 1 ... N whatever the chunking.
        while (reported < done) {
            ++reported;
            if (progress)
                progress(reported);
        }
    };
    auto notify = [&shared] {
        {
            std::lock_guard<std::mutex> lock(shared.mutex);
            ++shared.generation;
        }
        shared.changed.notify_one();
    };

    std::vector<std::thread> workers;
    // Should the caller's progress callback throw, the workers are stopped and joined
    // before the exception leaves (a joinable thread would end the process).
    struct JoinAll {
        std::vector<std::thread>& workers;
        std::atomic<bool>& stop;
        ~JoinAll()
        {
            for (std::thread& worker : workers)
                if (worker.joinable()) {
                    stop.store(true);
                    worker.join();
                }
        }
    } joinAll{workers, shared.failed};
    std::vector<unsigned> onCaller; // chunks whose thread could not be started
    if (threads == 1) {
        onCaller.push_back(0);
    } else {
        workers.reserve(threads);
        for (unsigned c = 0; c < threads; ++c) {
            try {
                workers.emplace_back([&, c] {
                    RunChunk(plan, transform, chunks[c], shared.failed, notify);
                    {
                        std::lock_guard<std::mutex> lock(shared.mutex);
                        ++shared.finished;
                        ++shared.generation;
                    }
                    shared.changed.notify_one();
                });
            } catch (const std::system_error&) {
                onCaller.push_back(c);
            }
        }
    }

    // The progress callback may paint a Qt window: it runs only on this thread.
    for (unsigned c : onCaller)
        RunChunk(plan, transform, chunks[c], shared.failed, report);
    const unsigned started = static_cast<unsigned>(workers.size());
    std::uint64_t seen = 0;
    while (started > 0) {
        bool allFinished;
        {
            std::unique_lock<std::mutex> lock(shared.mutex);
            shared.changed.wait(lock, [&] { return shared.generation != seen; });
            seen = shared.generation;
            allFinished = shared.finished == started;
        }
        if (!shared.failed.load())
            report();
        if (allFinished)
            break;
    }
    for (std::thread& worker : workers)
        worker.join();
    if (shared.failed.load())
        return BuildResult::TranslateFailed;
    report();

    GamutGrid& grid = chunks[0].grid;
    for (unsigned c = 1; c < threads; ++c)
        grid.MergeFrom(chunks[c].grid);
    grid.SetAnglesFromLab();
    grid.Repair();

    // The whole record, padding included, so equal builds compare equal byte for byte.
    std::memset(static_cast<void*>(&shape), 0, sizeof shape);
    shape.gridSize = n;
    for (int i = 0; i < 3; ++i) {
        shape.topPole[i] = grid.topPole[i];
        shape.bottomPole[i] = grid.bottomPole[i];
    }
    for (int band = 0; band < n; ++band)
        for (int sector = 0; sector < n; ++sector) {
            const GamutCell& cell = grid.cells[band][sector];
            shape.points[band][sector][0] = cell.a;
            shape.points[band][sector][1] = cell.L;
            shape.points[band][sector][2] = cell.b;
        }
    return BuildResult::Ok;
}

} // namespace quillon
