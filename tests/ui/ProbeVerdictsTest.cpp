#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <lcms2.h>

#include "tests/ui/UiFixture.h"
#include "ui/ColourProbePanel.h"
#include "ui/NamedColourListModel.h"
#include "ui/ProbeVerdicts.h"
#include "ui/StringIds.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace quillon {
namespace {

struct TextCase {
    Language language;
    InsideResult result;
    const char* text;
};

TEST(ProbeVerdictText, InsideOutsideAndNoVerdictInBothLanguages)
{
    const TextCase cases[] = {
        {Language::English, {Verdict::Inside, 0.0}, "inside"},
        {Language::English, {Verdict::Outside, 3.14159}, "outside by 3.14"},
        {Language::English, {Verdict::Outside, 0.004}, "outside by 0.00"},
        {Language::English, {Verdict::Outside, 1234.5}, "outside by 1234.50"},
        {Language::English, {Verdict::NoVerdict, 0.0}, ""},
        {Language::French, {Verdict::Inside, 0.0}, "à l'intérieur"},
        {Language::French, {Verdict::Outside, 12.345}, "à l'extérieur, écart de 12.35"},
        {Language::French, {Verdict::NoVerdict, 0.0}, ""},
    };
    for (const TextCase& c : cases) {
        SetCurrentLanguage(c.language);
        EXPECT_EQ(VerdictText(c.result), QString::fromUtf8(c.text)) << c.text;
    }
    SetCurrentLanguage(Language::French);
    EXPECT_EQ(NamedCountText({131, 140, 0}), QString::fromUtf8("131 sur 140 à l'intérieur"));
    SetCurrentLanguage(Language::English);
    EXPECT_EQ(NamedCountText({131, 140, 0}), QStringLiteral("131 of 140 inside"));
    EXPECT_EQ(NamedCountText({0, 0, 0}), QStringLiteral("0 of 0 inside"));
}

TEST(NamedColourListModel, ShowsTheListAfterOneReset)
{
    std::vector<NamedColour> colours;
    NamedColourListModel model(colours, nullptr);
    QComboBox combo;
    combo.setModel(&model);
    EXPECT_EQ(combo.count(), 0);
    {
        NamedColourListModel::Reset reset(model);
        colours.resize(50000);
        for (std::size_t i = 0; i < colours.size(); ++i)
            std::snprintf(colours[i].name, NamedColour::kNameSize, "Colour %05zu", i);
    }
    EXPECT_EQ(combo.count(), 50000);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Colour 00000"));
    EXPECT_EQ(combo.itemText(49999), QStringLiteral("Colour 49999"));
    EXPECT_FALSE(model.data(model.index(50000, 0)).isValid());
    {
        NamedColourListModel::Reset reset(model);
        colours.clear();
    }
    EXPECT_EQ(combo.count(), 0);
}

// A named-colour profile laid out by hand: `count` colours named "Colour <k>" in falling
// order, all at L* 50, a* = b* = 0, no device coordinates.
bool WriteNamedProfile(const QString& path, std::uint32_t count)
{
    std::vector<std::uint8_t> element(84 + std::size_t(count) * 38, 0);
    const auto put32 = [&element](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            element[at + std::size_t(i)] = std::uint8_t(v >> (24 - 8 * i));
    };
    const auto put16 = [&element](std::size_t at, std::uint16_t v) {
        element[at] = std::uint8_t(v >> 8);
        element[at + 1] = std::uint8_t(v);
    };
    std::memcpy(element.data(), "ncl2", 4);
    put32(12, count);
    put32(16, 0);
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::size_t at = 84 + std::size_t(k) * 38;
        std::snprintf(reinterpret_cast<char*>(&element[at]), 32, "Colour %06u", count - 1 - k);
        put16(at + 32, 0x7F80); // L* 50
        put16(at + 34, 0x8000);
        put16(at + 36, 0x8000);
    }
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.4);
    cmsSetDeviceClass(profile, cmsSigNamedColorClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    bool ok = cmsWriteRawTag(profile, cmsSigNamedColor2Tag, element.data(), cmsUInt32Number(element.size())) &&
              cmsSaveProfileToFile(profile, path.toLocal8Bit().constData());
    cmsCloseProfile(profile);
    return ok;
}

constexpr std::uint32_t kManyColours = 50000;

class ProbeVerdictsTest : public UiFixture {
protected:
    static void SetUpTestSuite()
    {
        UiFixture::SetUpTestSuite();
        const QString folder = ProfileFolder() + u'/';
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_FIXTURE_DIR "/named_lab_probe.icc"),
                                folder + QStringLiteral("named_lab_probe.icc")));
        ASSERT_TRUE(WriteNamedProfile(folder + QStringLiteral("named_many.icc"), kManyColours));
        ASSERT_TRUE(WriteNamedProfile(folder + QStringLiteral("named_over_cap.icc"), kMaxNamedColours + 1));
    }
    void TearDown() override
    {
        ColourProbePanel::SetColourFillHook({});
        UiFixture::TearDown();
    }

    QLabel* Verdict(int row) const { return Child<QLabel>(("probeVerdict" + std::to_string(row + 1)).c_str()); }
    QLabel* Count(int row) const { return Child<QLabel>(("probeNamedCount" + std::to_string(row + 1)).c_str()); }
    QComboBox* Format() const { return Child<QComboBox>("format"); }
    QComboBox* Profiles() const { return Child<QComboBox>("ncpProfile"); }
    QComboBox* Colours() const { return Child<QComboBox>("ncpColour"); }
    void SetLab(const char* L, const char* a, const char* b)
    {
        const char* texts[3] = {L, a, b};
        for (int i = 0; i < 3; ++i) {
            auto* edit = Child<QLineEdit>(("valueEdit" + std::to_string(i + 1)).c_str());
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromLatin1(texts[i]));
        }
    }
    void ChooseLibrary(const char* name) { Choose(Profiles(), Profiles()->findText(QString::fromLatin1(name))); }
    // What the window should say for row r and the probe colour, from the row's own solid.
    QString Expected(int row) const
    {
        const ColourProbeState& p = m_dialog->Probe();
        return VerdictText(m_dialog->Solids().at(std::size_t(row)).Test({p.L, p.a, p.b}));
    }
    std::vector<QString> Shown() const
    {
        std::vector<QString> texts;
        for (int r = 0; r < CViewerDlg::kRows; ++r)
            texts.push_back(Verdict(r)->isVisible() ? Verdict(r)->text() : QStringLiteral("<hidden>"));
        return texts;
    }
    std::vector<QString> Counts() const
    {
        std::vector<QString> texts;
        for (int r = 0; r < CViewerDlg::kRows; ++r)
            texts.push_back(Count(r)->isVisible() ? Count(r)->text() : QStringLiteral("<hidden>"));
        return texts;
    }
};

const QString kHidden = QStringLiteral("<hidden>");

TEST_F(ProbeVerdictsTest, VerdictsFollowTheColourAndTheList)
{
    Open();
    EXPECT_EQ(Shown(), std::vector<QString>(4, kHidden)); // nothing listed, nothing said
    Add("a.icc");
    Add("cmyk_output.icc", sig::Output, sig::Cmyk);
    ASSERT_EQ(m_dialog->SlotCount(), 2);
    SetLab("50", "0", "0");
    EXPECT_EQ(Shown(), (std::vector<QString>{"inside", "inside", kHidden, kHidden}));

    struct Case {
        const char *L, *a, *b;
        bool outside; // in both fixture shapes
        bool verdict;
    };
    const Case cases[] = {
        {"50", "200", "0", true, true}, {"50", "0", "0", false, true},   {"95", "-3", "2", false, true},
        {"inf", "0", "0", false, false}, {"50", "nan", "0", false, false}, {"-20", "0", "0", true, true},
    };
    for (const Case& c : cases) {
        SetLab(c.L, c.a, c.b);
        for (int r = 0; r < 2; ++r) {
            EXPECT_EQ(Verdict(r)->text(), Expected(r)) << c.L << ' ' << c.a << ' ' << c.b;
            EXPECT_EQ(Verdict(r)->text().isEmpty(), !c.verdict) << c.L << ' ' << c.a << ' ' << c.b;
            if (c.outside) {
                EXPECT_TRUE(Verdict(r)->text().startsWith("outside by ")) << Verdict(r)->text().toStdString();
            }
        }
    }
    // The format changes how the colour is typed, not the colour.
    SetLab("50", "200", "0");
    const std::vector<QString> before = Shown();
    Choose(Format(), 1);
    EXPECT_EQ(Shown(), before);

    // A row removed: its line goes, the rows after it move up.
    SelectRows({0});
    ClickRemove();
    ASSERT_EQ(m_dialog->SlotCount(), 1);
    EXPECT_EQ(Shown(), (std::vector<QString>{Expected(0), kHidden, kHidden, kHidden}));
    Add("b.icc");
    EXPECT_EQ(Shown(), (std::vector<QString>{Expected(0), Expected(1), kHidden, kHidden}));
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kConfirmRemove});
}

TEST_F(ProbeVerdictsTest, LibraryCountsAndTheChosenColour)
{
    SetCurrentLanguage(Language::French);
    Open();
    Add("a.icc");
    Add("c.icc");
    Choose(Format(), 2);
    EXPECT_EQ(Counts(), std::vector<QString>(4, kHidden)); // no library chosen yet
    ChooseLibrary("named_lab_probe.icc");
    ASSERT_EQ(Colours()->count(), 10);
    const QString six = QString::fromUtf8("6 sur 10 à l'intérieur");
    EXPECT_EQ(Counts(), (std::vector<QString>{six, six, kHidden, kHidden}));
    for (int k = 0; k < Colours()->count(); ++k) {
        Choose(Colours(), k);
        EXPECT_EQ(Verdict(0)->text(), Expected(0)) << Colours()->itemText(k).toStdString();
        EXPECT_FALSE(Verdict(0)->text().isEmpty());
    }
    Add("d.icc"); // a row added while the library is chosen is counted too
    EXPECT_EQ(Counts(), (std::vector<QString>{six, six, six, kHidden}));
    Choose(Format(), 0); // the counts belong to the named-colour format
    EXPECT_EQ(Counts(), std::vector<QString>(4, kHidden));
    Choose(Format(), 2);
    EXPECT_EQ(Counts()[0], six);

    const QString none = QString::fromUtf8("0 sur 0 à l'intérieur");
    ChooseLibrary("named_lab_empty.icc");
    EXPECT_EQ(Counts(), (std::vector<QString>{none, none, none, kHidden}));
    ChooseLibrary("Named_no_element.icc"); // a failed read: no library, no counts
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kCannotReadNcpColours});
    EXPECT_EQ(Counts(), std::vector<QString>(4, kHidden));
    Choose(Profiles(), 0);
    EXPECT_EQ(Counts(), std::vector<QString>(4, kHidden));
    EXPECT_EQ(Verdict(0)->text(), Expected(0)); // the probe colour keeps its verdict
}

TEST_F(ProbeVerdictsTest, LargeLibraryOverTheCapAndOutOfMemory)
{
    Open();
    Add("a.icc");
    Choose(Format(), 2);
    ChooseLibrary("named_many.icc");
    ASSERT_EQ(Colours()->count(), int(kManyColours));
    EXPECT_EQ(Colours()->itemText(0), QStringLiteral("Colour 000000")); // sorted by name
    EXPECT_EQ(Colours()->itemText(int(kManyColours) - 1), QStringLiteral("Colour 049999"));
    EXPECT_EQ(Colours()->currentIndex(), -1);
    EXPECT_EQ(Counts()[0], QStringLiteral("50000 of 50000 inside"));
    Choose(Colours(), 123);
    EXPECT_NEAR(m_dialog->Probe().L, 50.0, 0.01);
    EXPECT_TRUE(TakeBoxes().empty());

    // Over the cap: the read fails as any other, the list is empty.
    ChooseLibrary("named_over_cap.icc");
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kCannotReadNcpColours});
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_TRUE(m_dialog->Probe().colours.empty());
    EXPECT_EQ(Counts()[0], kHidden);

    // Memory running out once the colours are read: the message, an empty list, no escape.
    ColourProbePanel::SetColourFillHook([](std::size_t) { throw std::bad_alloc(); });
    ChooseLibrary("named_lab_probe.icc");
    EXPECT_EQ(TakeBoxes(), std::vector<int>{ids::kOutOfMemory});
    EXPECT_EQ(Colours()->count(), 0);
    EXPECT_TRUE(m_dialog->Probe().colours.empty());
    EXPECT_EQ(Counts()[0], kHidden);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    ColourProbePanel::SetColourFillHook({});
    ChooseLibrary("named_lab_probe.icc");
    EXPECT_EQ(Colours()->count(), 10);
    EXPECT_EQ(Counts()[0], QStringLiteral("6 of 10 inside"));
    EXPECT_TRUE(TakeBoxes().empty());
}

} // namespace
} // namespace quillon
