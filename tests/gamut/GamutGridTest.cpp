#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "gamut/BlockBinner.h"
#include "gamut/GamutGrid.h"
#include "gamut/Sampling.h"
#include "profiles/ProfileRecord.h"

using namespace quillon;

namespace {

struct Seed {
    int band, sector;
    float radius;
};

GamutGrid EmptyGrid(int n)
{
    GamutGrid grid{};
    grid.Reset(n, sig::Rgb);
    return grid;
}

void Plant(GamutGrid& grid, const Seed& seed)
{
    GamutCell& cell = grid.cells[seed.band][seed.sector];
    cell.radius = seed.radius;
    cell.hue = (seed.sector + 0.5f) * grid.hueStep;
    cell.elevation = seed.band < grid.gridSize / 2 ? (seed.band + 0.5f) * grid.elevationStep + 270.0f
                                                    : (seed.band - grid.gridSize / 2 + 0.5f) * grid.elevationStep;
    const Lab lab = SphericalToLab(cell.radius, cell.hue, cell.elevation);
    cell.L = lab.L;
    cell.a = lab.a;
    cell.b = lab.b;
}

void ExpectEveryCellFilled(const GamutGrid& grid)
{
    for (int band = 0; band < grid.gridSize; ++band)
        for (int sector = 0; sector < grid.gridSize; ++sector)
            ASSERT_GT(grid.cells[band][sector].radius, 0.0f) << band << "/" << sector;
}

} // namespace

TEST(GamutGrid, ResetKeepsEvenSizesAndMendsOthers)
{
    struct Case {
        int asked, kept;
        float hueStep, elevationStep;
    } cases[] = {{32, 32, 11.25f, 5.625f}, {24, 24, 15.0f, 7.5f}, {16, 16, 22.5f, 11.25f},
                 {15, 16, 22.5f, 11.25f}, {3, 8, 45.0f, 22.5f}, {40, 32, 11.25f, 5.625f}};
    for (const auto& c : cases) {
        GamutGrid grid = EmptyGrid(c.asked);
        EXPECT_EQ(grid.gridSize, c.kept) << c.asked;
        EXPECT_FLOAT_EQ(grid.hueStep, c.hueStep) << c.asked;
        EXPECT_FLOAT_EQ(grid.elevationStep, c.elevationStep) << c.asked;
        EXPECT_EQ(grid.colourSpace, sig::Rgb);
    }
}

TEST(GamutGrid, AnglesAreHeldInZeroTo360)
{
    // a* > 0 with b* decoded from 0x8080 (-2^-25): the hue is a hair below 360 and rounds to
    // 360.0f; it is held as 0 and lands in sector 0.
    const float tinyNegative = DecodeLab(0, 0x8080, 0x8080).b;
    ASSERT_LT(tinyNegative, 0.0f);
    struct Case {
        const char* name;
        float L, a, b;
        float radius, hue, elevation;
    } cases[] = {
        {"hue ~360", 50.0f, 10.0f, tinyNegative, 10.0f, 0.0f, 0.0f},
        {"+b*", 50.0f, 0.0f, 20.0f, 20.0f, 90.0f, 0.0f},
        {"-b*", 50.0f, 0.0f, -20.0f, 20.0f, 270.0f, 0.0f},
        {"-a*", 50.0f, -5.0f, 0.0f, 5.0f, 180.0f, 0.0f},
        {"straight up", 80.0f, 0.0f, 0.0f, 30.0f, 0.0f, 90.0f},
        {"below the plane", 40.0f, 10.0f, 0.0f, std::sqrt(200.0f), 0.0f, 315.0f},
    };
    for (const auto& c : cases) {
        const Spherical s = LabToSpherical(c.L, c.a, c.b);
        EXPECT_FLOAT_EQ(s.radius, c.radius) << c.name;
        EXPECT_NEAR(s.hue, c.hue, 1e-4f) << c.name;
        EXPECT_NEAR(s.elevation, c.elevation, 1e-4f) << c.name;
        EXPECT_GE(s.hue, 0.0f) << c.name;
        EXPECT_LT(s.hue, 360.0f) << c.name;
        EXPECT_LT(s.elevation, 360.0f) << c.name;
    }
    GamutGrid grid = EmptyGrid(32);
    grid.AddSample(50.0f, 10.0f, tinyNegative);
    EXPECT_EQ(grid.cells[16][0].radius, 10.0f);
}

TEST(GamutGrid, BandsAndSectorsStayInsideTheGrid)
{
    struct Case {
        int n;
        float elevation; // held form
        int band;
        float hue;
        int sector;
    } cases[] = {
        {32, 275.7f, 0, 0.0f, 0},        // lift 5.7: trunc 5, 5 / 5.625 < 1
        {32, 276.0f, 1, 11.25f, 1},      // lift 6
        {32, 270.0f, 0, 359.99997f, 31}, // straight down; largest hue below 360
        {32, 90.0f, 31, 180.0f, 16},     // lift 180 is clamped into band n - 1
        {32, 0.0f, 16, 11.2499f, 0},
        {24, 359.99997f, 11, 359.99997f, 23},
        {16, 45.0f, 12, 359.99997f, 15},
    };
    for (const auto& c : cases) {
        GamutGrid grid = EmptyGrid(c.n);
        EXPECT_EQ(grid.BandOf(c.elevation), c.band) << c.n << " " << c.elevation;
        EXPECT_EQ(grid.SectorOf(c.hue), c.sector) << c.n << " " << c.hue;
    }
}

TEST(GamutGrid, KeepsTheOutermostSampleAndTheFirstOfEqualRadii)
{
    GamutGrid grid = EmptyGrid(32);
    grid.AddSample(50.0f, 0.0f, 0.0f); // the centre: radius 0 fills nothing
    for (int band = 0; band < 32; ++band)
        for (int sector = 0; sector < 32; ++sector)
            ASSERT_EQ(grid.cells[band][sector].radius, 0.0f);

    // 10 and 10 + 1e-4 on b*: equal radii in float, one cell.
    grid.AddSample(50.0f, 10.0f, 0.0f);
    grid.AddSample(50.0f, 10.0f, 1e-4f);
    const GamutCell& cell = grid.cells[16][0];
    EXPECT_EQ(cell.radius, 10.0f);
    EXPECT_EQ(cell.b, 0.0f);
    grid.AddSample(50.0f, 9.0f, 0.0f); // closer in: ignored
    EXPECT_EQ(cell.a, 10.0f);
    grid.AddSample(50.0f, 11.0f, 0.5f); // farther out: replaces
    EXPECT_EQ(cell.a, 11.0f);
    EXPECT_EQ(cell.b, 0.5f);
    EXPECT_EQ(cell.L, 50.0f);
}

TEST(GamutGrid, MergeInRunOrderEqualsBinningInOrder)
{
    // Samples chosen to collide in cells, with equal radii across the split point.
    std::vector<Lab> samples;
    for (int i = 0; i < 4000; ++i) {
        const float t = static_cast<float>(i);
        samples.push_back({50.0f + 40.0f * std::sin(t * 0.37f), 30.0f * std::cos(t * 0.11f),
                           std::round(20.0f * std::sin(t * 0.05f))});
    }
    GamutGrid whole = EmptyGrid(16);
    for (const Lab& s : samples)
        whole.AddSample(s.L, s.a, s.b);
    for (std::size_t split : {std::size_t{1}, std::size_t{1234}, std::size_t{3999}}) {
        GamutGrid first = EmptyGrid(16), second = EmptyGrid(16);
        for (std::size_t i = 0; i < samples.size(); ++i)
            (i < split ? first : second).AddSample(samples[i].L, samples[i].a, samples[i].b);
        first.MergeFrom(second);
        EXPECT_EQ(std::memcmp(first.cells, whole.cells, sizeof whole.cells), 0) << split;
    }
}

TEST(GamutGrid, FillsEachHoleFromItsNeighboursAsVisited)
{
    struct Case {
        const char* name;
        int n;
        std::vector<Seed> seeds;
        int band, sector;
        float radius;
    };
    const Case cases[] = {
        {"two neighbours average", 32, {{1, 0, 40.0f}, {0, 1, 60.0f}}, 0, 0, 50.0f},
        {"band 0 sees band n-1", 8, {{7, 5, 30.0f}, {0, 6, 10.0f}}, 0, 5, 20.0f},
        {"band n-1 sees band 0", 8, {{0, 2, 30.0f}, {7, 3, 10.0f}}, 7, 2, 20.0f},
        {"sector n-1 sees sector 0", 8, {{3, 0, 30.0f}, {4, 7, 10.0f}}, 3, 7, 20.0f},
        {"sector 0 sees sector n-1", 8, {{4, 7, 30.0f}, {5, 0, 10.0f}}, 4, 0, 20.0f},
        // [0][0] has one neighbour in the first pass; [1][0] fills later in that pass
        // (20 and 40 -> 30), so the second pass gives (30 + 10) / 2.
        {"one neighbour waits a pass", 8, {{0, 1, 10.0f}, {1, 1, 40.0f}, {2, 0, 20.0f}}, 0, 0, 20.0f},
    };
    for (const auto& c : cases) {
        GamutGrid grid = EmptyGrid(c.n);
        for (const Seed& seed : c.seeds)
            Plant(grid, seed);
        grid.Repair();
        EXPECT_FLOAT_EQ(grid.cells[c.band][c.sector].radius, c.radius) << c.name;
        ExpectEveryCellFilled(grid);
    }
}

TEST(GamutGrid, FilledHoleTakesTheMiddleOfItsCell)
{
    GamutGrid grid = EmptyGrid(32);
    Plant(grid, {1, 0, 40.0f});
    Plant(grid, {0, 1, 60.0f});
    grid.Repair();
    const GamutCell& hole = grid.cells[0][0];
    EXPECT_EQ(hole.radius, 50.0f);
    EXPECT_EQ(hole.hue, 5.625f);
    EXPECT_EQ(hole.elevation, 272.8125f);
    const Lab expected = SphericalToLab(50.0f, 5.625f, 272.8125f);
    EXPECT_EQ(hole.L, expected.L);
    EXPECT_EQ(hole.a, expected.a);
    EXPECT_EQ(hole.b, expected.b);
    for (int band = 0; band < 32; ++band) {
        const GamutCell& cell = grid.cells[band][5];
        if (band < 16) {
            EXPECT_GE(cell.elevation, 270.0f) << band;
            EXPECT_LT(cell.L, 50.0f) << band;
        } else {
            EXPECT_LE(cell.elevation, 90.0f) << band;
            EXPECT_GT(cell.L, 50.0f) << band;
        }
    }
}

TEST(GamutGrid, FullGridIsLeftAsItIsAfterOnePass)
{
    GamutGrid grid = EmptyGrid(24);
    for (int band = 0; band < 24; ++band)
        for (int sector = 0; sector < 24; ++sector)
            Plant(grid, {band, sector, 10.0f + band + 0.25f * sector});
    const GamutGrid before = grid;
    grid.Repair();
    EXPECT_EQ(std::memcmp(grid.cells, before.cells, sizeof grid.cells), 0);
    EXPECT_EQ(grid.lastFillPasses, 1);
}

TEST(GamutGrid, RepairEndsOnGridsThatCannotGrowTwoByTwo)
{
    struct Case {
        const char* name;
        int n;
        std::vector<Seed> seeds;
    };
    const Case cases[] = {
        {"all samples in one cell", 32, {{12, 7, 25.0f}}},
        {"one cell in a small grid", 8, {{0, 0, 5.0f}}},
        {"isolated cells", 16, {{0, 0, 10.0f}, {8, 8, 30.0f}, {3, 12, 20.0f}}},
        {"a diagonal", 8, {{0, 0, 10.0f}, {1, 1, 10.0f}, {2, 2, 10.0f}, {3, 3, 10.0f}}},
    };
    for (const auto& c : cases) {
        GamutGrid grid = EmptyGrid(c.n);
        float smallest = 1e9f, largest = 0.0f;
        for (const Seed& seed : c.seeds) {
            Plant(grid, seed);
            smallest = std::min(smallest, seed.radius);
            largest = std::max(largest, seed.radius);
        }
        grid.Repair();
        ExpectEveryCellFilled(grid);
        EXPECT_LE(grid.lastFillPasses, 2 * c.n * c.n) << c.name;
        // Every filled radius is a mean of neighbours, so it stays within the seeds' range.
        for (int band = 0; band < c.n; ++band)
            for (int sector = 0; sector < c.n; ++sector) {
                EXPECT_GE(grid.cells[band][sector].radius, smallest * 0.999f) << c.name;
                EXPECT_LE(grid.cells[band][sector].radius, largest * 1.001f) << c.name;
            }
    }
    // One cell: the shape closes as a sphere of that radius about the centre.
    GamutGrid one = EmptyGrid(32);
    Plant(one, {12, 7, 25.0f});
    one.Repair();
    EXPECT_NEAR(one.topPole[1], 75.0f, 0.5f);
    EXPECT_NEAR(one.bottomPole[1], 25.0f, 0.5f);
}

TEST(GamutGrid, EmptyGridCollapsesToTheCentre)
{
    GamutGrid grid = EmptyGrid(16);
    grid.Repair();
    for (int band = 0; band < 16; ++band)
        for (int sector = 0; sector < 16; ++sector) {
            const GamutCell& cell = grid.cells[band][sector];
            EXPECT_EQ(cell.radius, 0.0f);
            EXPECT_EQ(cell.L, 50.0f);
            EXPECT_EQ(cell.a, 0.0f);
            EXPECT_EQ(cell.b, 0.0f);
        }
    EXPECT_EQ(grid.topPole[1], 50.0f);
    EXPECT_EQ(grid.bottomPole[1], 50.0f);
}

TEST(GamutGrid, FanSkipsTheApexSector)
{
    struct Case {
        int sector, apex, n, partner;
    } cases[] = {{30, 31, 32, 0}, {31, 0, 32, 1}, {3, 5, 32, 4}, {4, 5, 32, 6}, {31, 5, 32, 0},
                 {22, 23, 24, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FanPartner(c.sector, c.apex, c.n), c.partner) << c.sector << " " << c.apex;
}

TEST(GamutGrid, PoleAtTheApexWhenTheAxisMissesEveryTriangle)
{
    // All hues within 10 ... 17 degrees: the net lies off the neutral axis; the apex has
    // the largest a* of its band, and no parallelogram of the fan reaches a* = 0.
    GamutGrid grid = EmptyGrid(8);
    for (int band = 0; band < 8; ++band)
        for (int sector = 0; sector < 8; ++sector) {
            Plant(grid, {band, sector, 20.0f});
            grid.cells[band][sector].hue = 10.0f + static_cast<float>(sector);
        }
    grid.Repair();
    const float apexTop = SphericalToLab(20.0f, 10.0f, grid.cells[7][0].elevation).L;
    const float apexBottom = SphericalToLab(20.0f, 10.0f, grid.cells[0][0].elevation).L;
    EXPECT_EQ(grid.topPole[1], apexTop);
    EXPECT_EQ(grid.bottomPole[1], apexBottom);
    EXPECT_EQ(grid.topPole[0], 0.0f);
    EXPECT_EQ(grid.topPole[2], 0.0f);
}

TEST(GamutGrid, SphereOfSamplesHasPolesOnItsAxis)
{
    struct Case {
        int n;
        float radius;
    } cases[] = {{32, 30.0f}, {24, 45.0f}, {16, 20.0f}};
    for (const auto& c : cases) {
        GamutGrid grid = EmptyGrid(c.n);
        constexpr int kSteps = 180;
        for (int i = 0; i <= kSteps; ++i) {
            const double elevation = -90.0 + 180.0 * i / kSteps;
            for (int j = 0; j < 2 * kSteps; ++j) {
                const double hue = 360.0 * j / (2 * kSteps);
                const double e = elevation * M_PI / 180.0, h = hue * M_PI / 180.0;
                grid.AddSample(static_cast<float>(50.0 + c.radius * std::sin(e)),
                               static_cast<float>(c.radius * std::cos(e) * std::cos(h)),
                               static_cast<float>(c.radius * std::cos(e) * std::sin(h)));
            }
        }
        grid.Repair();
        ExpectEveryCellFilled(grid);
        EXPECT_NEAR(grid.topPole[1], 50.0f + c.radius, c.radius * 0.01f) << c.n;
        EXPECT_NEAR(grid.bottomPole[1], 50.0f - c.radius, c.radius * 0.01f) << c.n;
        EXPECT_EQ(grid.topPole[0], 0.0f);
        EXPECT_EQ(grid.bottomPole[2], 0.0f);
    }
}

namespace {

struct Words {
    std::uint16_t L, a, b;
};

// Lab words nearest a direction about the centre, so the probe can aim at cell boundaries.
Words WordsOf(double L, double a, double b)
{
    auto word = [](double v, double scale, double offset) {
        const double w = std::round((v + offset) * scale);
        return static_cast<std::uint16_t>(std::clamp(w, 0.0, 65535.0));
    };
    return {word(L, labwords::kTransformWhiteL / 100.0, 0.0), word(a, 65535.0 / 255.0, 128.0), word(b, 65535.0 / 255.0, 128.0)};
}

std::vector<Words> ShortcutProbe()
{
    std::vector<Words> words;
    for (int L = 0; L <= 0xFF00; L += 0xFF00 / 60)
        for (int a = 0; a <= 0xFFFF; a += 0xFFFF / 90)
            for (int b = 0; b <= 0xFFFF; b += 0xFFFF / 90)
                words.push_back({static_cast<std::uint16_t>(L), static_cast<std::uint16_t>(a),
                                 static_cast<std::uint16_t>(b)});
    for (int L = 0; L <= 0xFF00; L += 0xFF00 / 40)
        for (int a = 0x8000; a <= 0x8100; ++a)
            for (int b : {0x8000, 0x807F, 0x8080, 0x8081, 0x8100})
                words.push_back({static_cast<std::uint16_t>(L), static_cast<std::uint16_t>(a),
                                 static_cast<std::uint16_t>(b)});
    // On and beside every whole degree of hue and of lift, at several radii.
    for (double degrees = 0.0; degrees < 360.0; degrees += 0.25)
        for (double offset : {-0.02, -0.003, -0.002, -0.001, 0.0, 0.001, 0.002, 0.003, 0.02})
            for (double radius : {1.0, 7.5, 20.0, 49.0, 90.0, 127.0}) {
                const double h = (degrees + offset) * M_PI / 180.0;
                const double e = ((degrees + offset) / 2.0 - 90.0) * M_PI / 180.0;
                words.push_back(WordsOf(50.0 + radius * std::sin(e), radius * std::cos(e) * std::cos(h),
                                        radius * std::cos(e) * std::sin(h)));
                words.push_back(WordsOf(50.0, radius * std::cos(h), radius * std::sin(h)));
            }
    return words;
}

} // namespace

TEST(BlockBinner, CertainCellIsTheCellOfTheFormulas)
{
    const std::vector<Words> words = ShortcutProbe();
    BlockBinner binner;
    for (int n : {32, 24, 16}) {
        GamutGrid grid = EmptyGrid(n);
        std::size_t certain = 0, checked = 0;
        for (std::size_t first = 0; first < words.size(); first += BlockBinner::kCapacity) {
            const std::size_t count = std::min(BlockBinner::kCapacity, words.size() - first);
            binner.Classify(&words[first].L, count, grid);
            for (std::size_t i = 0; i < count; ++i) {
                const Words& w = words[first + i];
                const Lab lab = DecodeLab(w.L, w.a, w.b);
                const Spherical exact = LabToSpherical(lab.L, lab.a, lab.b);
                ++checked;
                if (!(exact.radius > 0.0f) || binner.CertainCell(i) < 0)
                    continue;
                ++certain;
                ASSERT_EQ(binner.CertainCell(i),
                          grid.BandOf(exact.elevation) * kMaxGridSize + grid.SectorOf(exact.hue))
                    << n << " words " << w.L << " " << w.a << " " << w.b;
            }
        }
        // The probe crowds boundaries on purpose; most samples still take the shortcut.
        EXPECT_GT(certain, checked * 3 / 4) << n;
    }
}

TEST(BlockBinner, GivesTheGridOfBinningOneByOne)
{
    const std::vector<Words> words = ShortcutProbe();
    BlockBinner binner;
    for (int n : {32, 24, 16}) {
        GamutGrid blocks = EmptyGrid(n), single = EmptyGrid(n);
        for (std::size_t first = 0; first < words.size(); first += 1000) {
            const std::size_t count = std::min<std::size_t>(1000, words.size() - first);
            binner.Add(blocks, &words[first].L, count);
        }
        blocks.SetAnglesFromLab();
        for (const Words& w : words) {
            const Lab lab = DecodeLab(w.L, w.a, w.b);
            single.AddSample(lab.L, lab.a, lab.b);
        }
        EXPECT_EQ(std::memcmp(blocks.cells, single.cells, sizeof single.cells), 0) << n;
    }
}

// Samples that span no volume must not close as a sphere about the centre: every point and
// both poles stay within a tolerance of the box of the samples.
TEST(GamutGrid, DegenerateSamplesStayWithinTheirBox)
{
    struct Case {
        const char* name;
        std::vector<Lab> samples;
    };
    std::vector<Lab> oneCell, corner, plane, axis;
    for (int i = 0; i < 20; ++i)
        oneCell.push_back({70.0f + 0.01f * i, 30.0f + 0.01f * i, 20.0f});
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j)
            for (int k = 0; k <= 10; ++k)
                corner.push_back({0.02f + 0.015f * i, -127.0f + 0.05f * j, -126.0f + 0.05f * k});
    for (int i = 0; i <= 40; ++i)
        for (int j = 0; j <= 40; ++j)
            plane.push_back({10.0f + 2.0f * i, -50.0f + 2.5f * j, 0.0f});
    for (int i = 0; i <= 100; ++i)
        axis.push_back({float(i), 0.0f, 0.0f});
    const Case cases[] = {
        {"all samples in one cell", oneCell},
        {"all samples in one corner", corner},
        {"all samples on the plane b* = 0", plane},
        {"all samples on the L* axis", axis},
    };
    for (const auto& c : cases) {
        for (int n : {32, 8}) {
            GamutGrid grid = EmptyGrid(n);
            Lab low = c.samples[0], high = c.samples[0];
            for (const Lab& s : c.samples) {
                grid.AddSample(s.L, s.a, s.b);
                low = {std::min(low.L, s.L), std::min(low.a, s.a), std::min(low.b, s.b)};
                high = {std::max(high.L, s.L), std::max(high.a, s.a), std::max(high.b, s.b)};
            }
            grid.Repair();
            const float t = GamutGrid::kBoxTolerance + 1e-3f;
            auto expectInside = [&](float L, float a, float b, const char* what) {
                EXPECT_TRUE(L >= low.L - t && L <= high.L + t && a >= low.a - t && a <= high.a + t &&
                            b >= low.b - t && b <= high.b + t)
                    << c.name << " n=" << n << " " << what << ": " << L << " " << a << " " << b;
            };
            for (int band = 0; band < n; ++band)
                for (int sector = 0; sector < n; ++sector) {
                    const GamutCell& cell = grid.cells[band][sector];
                    expectInside(cell.L, cell.a, cell.b, "point");
                    // The pole search reads the points through their spherical form.
                    const Lab p = SphericalToLab(cell.radius, cell.hue, cell.elevation);
                    expectInside(p.L, p.a, p.b, "point, spherical");
                }
            expectInside(grid.topPole[1], grid.topPole[0], grid.topPole[2], "top pole");
            expectInside(grid.bottomPole[1], grid.bottomPole[0], grid.bottomPole[2], "bottom pole");
        }
    }
}

// A grid set by hand carries no sample box: its repair is the plain one.
TEST(GamutGrid, HandSetGridsAreNotBoxed)
{
    GamutGrid one = EmptyGrid(32);
    Plant(one, {12, 7, 25.0f});
    EXPECT_FALSE(one.fromSamples);
    GamutGrid sampled = EmptyGrid(32);
    sampled.AddSample(one.cells[12][7].L, one.cells[12][7].a, one.cells[12][7].b);
    EXPECT_TRUE(sampled.fromSamples);
    GamutGrid merged = EmptyGrid(32);
    merged.MergeFrom(sampled);
    EXPECT_TRUE(merged.fromSamples);
    merged.Reset(32, sig::Rgb);
    EXPECT_FALSE(merged.fromSamples);
}
