#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/ui/UiFixture.h"
#include "profiles/ColourTransform.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileHandle.h"
#include "ui/StringIds.h"
#include "view3d/C3DScrollView.h"

// Adding and removing profiles over and over in the real window must leave no profile,
// transform or display list behind, on the paths that fail as much as on those that work.
namespace quillon {
namespace {

using Ids = std::vector<int>;

#ifndef QUILLON_HYGIENE_ROUNDS
#define QUILLON_HYGIENE_ROUNDS 100
#endif
constexpr int kRounds = QUILLON_HYGIENE_ROUNDS;

// The environment variable QUILLON_HYGIENE_ROUNDS, when it holds a positive count, replaces
// the built-in rounds (e.g. 200 for a long resource run by hand).
int Rounds(int builtIn)
{
    const char* text = std::getenv("QUILLON_HYGIENE_ROUNDS");
    if (!text)
        return builtIn;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == 0 && value > 0 && value <= 100000 ? int(value) : builtIn;
}

// What the process holds from the system: entries of /proc/self/fd (the listing's own
// descriptor included, the same at every reading) and VmRSS. Printed, never asserted: the
// allocator and the GL driver keep memory as they see fit.
struct ProcessUse {
    long descriptors = -1;
    long residentKiB = -1;
};

ProcessUse TakeProcessUse()
{
    ProcessUse use;
    std::error_code error;
    long entries = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++entries;
    if (!error)
        use.descriptors = entries;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            use.residentKiB = std::strtol(line.c_str() + 6, nullptr, 10);
    return use;
}

void PrintProcessUse(const char* title, int rounds, const ProcessUse& before, const ProcessUse& after)
{
    std::printf("[ resources ] %s, %d rounds: descriptors %ld -> %ld, VmRSS %ld kB -> %ld kB\n", title, rounds,
                before.descriptors, after.descriptors, before.residentKiB, after.residentKiB);
    std::fflush(stdout);
}

struct Counts {
    long profiles = 0;
    long transforms = 0;
    long ownedLists = 0; // held by DisplayListRange owners
    int liveLists = 0;   // glIsList in the view's context
    bool operator==(const Counts&) const = default;
};

void PrintTo(const Counts& c, std::ostream* os)
{
    *os << "{profiles " << c.profiles << ", transforms " << c.transforms << ", owned lists " << c.ownedLists
        << ", live lists " << c.liveLists << "}";
}

Counts Take(C3DScrollView* view)
{
    return {ProfileHandle::OpenCount(), ColourTransform::OpenCount(), C3DScrollView::OwnedDisplayLists(),
            view->LiveDisplayLists()};
}

struct Attempt {
    const char* name;
    std::uint32_t profileClass;
    std::uint32_t colourSpace;
    Ids boxes;   // of the add
    bool listed; // a row to remove afterwards
};

const Attempt kRgb{"a.icc", sig::Display, sig::Rgb, {}, true};
const Attempt kCmyk{"cmyk_output.icc", sig::Output, sig::Cmyk, {}, true};
const Attempt kMissingFile{"nothere.icc", sig::Display, sig::Rgb, {ids::kCannotLoadProfile}, false};
// Refused in the middle of the build, with the profile and GLP.icc open.
const Attempt kGrey{"grey_monitor.icc", sig::Display, sig::Gray,
                    {ids::kUnsupportedColourSpace, ids::kCannotBuildShape}, false};

// Mostly RGB (the quickest build), now and then a CMYK build (a few times slower) and
// the two failures (quick).
const Attempt& AttemptOfRound(int round)
{
    if (round % 25 == 12)
        return kCmyk;
    switch (round % 10) {
    case 4: return kMissingFile;
    case 8: return kGrey;
    default: return kRgb;
    }
}

class ResourceHygieneTest : public UiFixture {
protected:
    // The counts once the view has its context and its fixed lists.
    Counts OpenAndSettle(const QString& appFolder = QString())
    {
        Open(appFolder);
        C3DScrollView* view = m_dialog->Viewport();
        EXPECT_TRUE(QTest::qWaitFor([view] { return view->isValid(); }));
        return Take(view);
    }
};

TEST_F(ResourceHygieneTest, AddAndRemoveManyTimesLeavesNothingOpen)
{
    const Counts baseline = OpenAndSettle();
    C3DScrollView* view = m_dialog->Viewport();
    // The view's four shape lists, probe marker, half-axes and 96 glyphs, all owned.
    EXPECT_EQ(baseline.liveLists, 102);
    EXPECT_EQ(baseline.ownedLists, baseline.liveLists);
    ASSERT_TRUE(TakeBoxes().empty());
    const int rounds = Rounds(kRounds);
    const ProcessUse before = TakeProcessUse();

    for (int round = 0; round < rounds; ++round) {
        const Attempt& a = AttemptOfRound(round);
        Add(a.name, a.profileClass, a.colourSpace);
        ASSERT_EQ(TakeBoxes(), a.boxes) << a.name << " in round " << round;
        ASSERT_EQ(m_dialog->SlotCount(), a.listed ? 1 : 0) << a.name << " in round " << round;
        if (a.listed) {
            AnswerQuestions(QMessageBox::Yes);
            SelectRows({0});
            ClickRemove();
            ASSERT_EQ(TakeBoxes(), Ids{ids::kConfirmRemove}) << "round " << round;
            ASSERT_EQ(m_dialog->SlotCount(), 0) << "round " << round;
        }
        // Checked every round: a leak shows at the round that made it.
        ASSERT_EQ(Take(view), baseline) << a.name << " in round " << round;
    }
    EXPECT_EQ(m_dialog->SlotCount(), 0);
    EXPECT_EQ(ChooserCalls(), rounds);
    PrintProcessUse("fixtures", rounds, before, TakeProcessUse());
}

// The same with the system's own profiles, added by full path as Browse... adds them: an
// RGB display profile and two CMYK press profiles in turn. A few rounds by default; set
// QUILLON_HYGIENE_ROUNDS for a long run.
TEST_F(ResourceHygieneTest, RealProfilesAddedAndRemovedLeaveNothingOpen)
{
    const char* const kPaths[] = {"/usr/share/color/icc/sRGB.icc", "/usr/share/color/icc/ghostscript/default_cmyk.icc",
                                  "/usr/share/color/icc/ghostscript/ps_cmyk.icc"};
    std::vector<ProfileRecord> records;
    for (const char* path : kPaths) {
        ProfileRecord record;
        if (std::filesystem::is_regular_file(path) && RecordForProfileFile(path, record) == file_record_result::Ok)
            records.push_back(record);
    }
    if (records.empty())
        GTEST_SKIP() << "no system profiles installed";

    const Counts baseline = OpenAndSettle();
    C3DScrollView* view = m_dialog->Viewport();
    const int rounds = Rounds(6);
    const ProcessUse before = TakeProcessUse();
    for (int round = 0; round < rounds; ++round) {
        const ProfileRecord& record = records[std::size_t(round) % records.size()];
        QueueChoice(record);
        QTest::mouseClick(Child<QPushButton>("addButton"), Qt::LeftButton);
        ASSERT_EQ(TakeBoxes(), Ids{}) << record.fileName << " in round " << round;
        ASSERT_EQ(m_dialog->SlotCount(), 1) << record.fileName << " in round " << round;
        AnswerQuestions(QMessageBox::Yes);
        SelectRows({0});
        ClickRemove();
        ASSERT_EQ(TakeBoxes(), Ids{ids::kConfirmRemove}) << "round " << round;
        ASSERT_EQ(m_dialog->SlotCount(), 0) << "round " << round;
        ASSERT_EQ(Take(view), baseline) << record.fileName << " in round " << round;
    }
    PrintProcessUse("system profiles", rounds, before, TakeProcessUse());
}

TEST_F(ResourceHygieneTest, ListedShapesKeepNoProfileOpenAndTakeNoNewList)
{
    const Counts baseline = OpenAndSettle();
    C3DScrollView* view = m_dialog->Viewport();
    Add("a.icc");
    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    ASSERT_EQ(m_dialog->SlotCount(), 2);
    // Profiles and transforms are let go once a build ends; the shape lists were
    // reserved at start-up and are filled in place.
    EXPECT_EQ(Take(view), baseline);
    SelectRows({0, 1});
    ClickRemove();
    EXPECT_EQ(m_dialog->SlotCount(), 0);
    EXPECT_EQ(Take(view), baseline);
}

struct FailedBuild {
    const char* title;
    bool missingGlp;
    Attempt attempt;
    long profilesAtBox;   // above the baseline when the first error box is up
    long transformsAtBox;
};

void PrintTo(const FailedBuild& f, std::ostream* os)
{
    *os << f.title;
}

class FailedBuildTest : public ResourceHygieneTest, public ::testing::WithParamInterface<FailedBuild> {};

// The first error box comes up in the middle of the build, with what it opened still
// held; once the add is over all of that is closed again.
TEST_P(FailedBuildTest, ReleasesWhatTheBuildHeld)
{
    const FailedBuild& f = GetParam();
    const Counts baseline = OpenAndSettle(f.missingGlp ? EmptyFolder() : QString());
    C3DScrollView* view = m_dialog->Viewport();
    std::vector<Counts> atBoxes;
    Ids boxes;
    SetBoxHook([&](const BoxRequest& request) {
        boxes.push_back(request.textId);
        atBoxes.push_back(Take(view));
        return QMessageBox::Ok;
    });
    Add(f.attempt.name, f.attempt.profileClass, f.attempt.colourSpace);
    EXPECT_EQ(boxes, f.attempt.boxes);
    ASSERT_FALSE(atBoxes.empty());
    EXPECT_EQ(atBoxes.front().profiles - baseline.profiles, f.profilesAtBox);
    EXPECT_EQ(atBoxes.front().transforms - baseline.transforms, f.transformsAtBox);
    EXPECT_EQ(m_dialog->SlotCount(), 0);
    EXPECT_EQ(Take(view), baseline);
}

const FailedBuild kFailedBuilds[] = {
    {"UnsupportedColourSpace", false, kGrey, 2, 0},
    {"MissingGlp", true,
     {"a.icc", sig::Display, sig::Rgb, {ids::kCannotLoadGlp, ids::kCannotBuildShape}, false}, 1, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, FailedBuildTest, ::testing::ValuesIn(kFailedBuilds),
                         [](const ::testing::TestParamInfo<FailedBuild>& info) { return std::string(info.param.title); });

// The counters do see a build: while one runs, its profiles and transform are open.
TEST_F(ResourceHygieneTest, CountsRiseDuringABuildAndFallAfterIt)
{
    const Counts baseline = OpenAndSettle();
    C3DScrollView* view = m_dialog->Viewport();
    Counts peak = baseline;
    // Timers still run while the build lets its progress box paint.
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const Counts now = Take(view);
        peak.profiles = std::max(peak.profiles, now.profiles);
        peak.transforms = std::max(peak.transforms, now.transforms);
    });
    probe.start();
    Add("a.icc");
    probe.stop();
    ASSERT_EQ(m_dialog->SlotCount(), 1);
    EXPECT_GE(peak.profiles, baseline.profiles + 2); // the profile and GLP.icc
    EXPECT_GE(peak.transforms, baseline.transforms + 1);
    EXPECT_EQ(Take(view), baseline);
}

} // namespace
} // namespace quillon
