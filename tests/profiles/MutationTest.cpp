#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/profiles/Fixtures.h"
#include "tests/profiles/ProfileWalk.h"

using namespace quillon;
using namespace quillon::testing;

namespace {

constexpr int kMutationsPerFile = 300;
constexpr std::uint32_t kSeed = 0x5175696C; // fixed: a failure replays the same corruption

// Flips bytes, writes hostile 32-bit words where the parsers look (header, tag table, ncl2
// counts), or cuts the file; several at once.
std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> bytes, std::mt19937& random)
{
    static const std::uint32_t kWords[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF0, 200, 201, 84, 128};
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const std::size_t limit = (random() % 2) ? std::min<std::size_t>(bytes.size(), 400) : bytes.size();
        const std::size_t at = random() % limit;
        switch (random() % 4) {
        case 0: bytes[at] ^= std::uint8_t(1u << (random() % 8)); break;
        case 1: bytes[at] = std::uint8_t(random()); break;
        case 2:
            if (at + 4 <= bytes.size()) {
                const std::uint32_t w = kWords[random() % std::size(kWords)];
                for (int k = 0; k < 4; ++k)
                    bytes[at + k] = std::uint8_t(w >> (24 - 8 * k));
            }
            break;
        case 3: bytes.resize(at); break;
        }
    }
    return bytes;
}

} // namespace

TEST(ProfileMutations, CorruptedFixturesNeverBreakLoadingOrReading)
{
    const long open = ProfileHandle::OpenCount();
    std::mt19937 random(kSeed);
    int files = 0, loaded = 0, total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FixtureDir())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".icc")
            continue;
        const auto original = ReadFile(entry.path());
        if (original.size() < 132)
            continue;
        ++files;
        for (int i = 0; i < kMutationsPerFile; ++i, ++total) {
            const auto mutated = Mutate(original, random);
            const LoadResult result = WalkProfile(mutated.data(), mutated.size());
            ASSERT_TRUE(result == LoadResult::Ok || result == LoadResult::CannotOpen) << entry.path() << " #" << i;
            loaded += result == LoadResult::Ok;
        }
    }
    EXPECT_GE(files, 10);
    EXPECT_GT(loaded, 0) << "some mutations keep a readable profile";
    EXPECT_LT(loaded, total) << "some mutations break it";
    EXPECT_EQ(ProfileHandle::OpenCount(), open);
}
