#include <ostream>

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/ui/UiFixture.h"
#include "profiles/ColourTransform.h"
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

    for (int round = 0; round < kRounds; ++round) {
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
    EXPECT_EQ(ChooserCalls(), kRounds);
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
