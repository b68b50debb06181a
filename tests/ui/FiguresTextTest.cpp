#include <cmath>
#include <limits>

#include <QLocale>
#include <gtest/gtest.h>

#include "app/Language.h"
#include "app/Strings.h"
#include "ui/FiguresText.h"

namespace quillon {
namespace {

// French groups thousands with a space that never breaks a number across lines.
bool IsNoBreakSpace(QChar c)
{
    return c == QChar(0x00A0) || c == QChar(0x202F);
}

struct VolumeCase {
    double volume;
    const char* english;
    const char* frenchDigits; // French without its group separators
    int frenchGroups;         // separators in the French text
};

TEST(FiguresText, VolumesAreWholeAndGroupedInEachLanguage)
{
    const QLocale english = LocaleOf(Language::English);
    const QLocale french = LocaleOf(Language::French);
    const VolumeCase cases[] = {
        {832061.4, "832,061", "832061", 1},
        {832061.5, "832,062", "832062", 1}, // half up, as quillon-gamut rounds
        {1210000.0, "1,210,000", "1210000", 2},
        {999.49, "999", "999", 0},
        {0.0, "0", "0", 0},
    };
    for (const VolumeCase& c : cases) {
        EXPECT_EQ(VolumeText(c.volume, english).toStdString(), c.english) << c.volume;
        const QString fr = VolumeText(c.volume, french);
        QString digits;
        int groups = 0;
        for (QChar ch : fr) {
            if (IsNoBreakSpace(ch))
                ++groups;
            else
                digits += ch;
        }
        EXPECT_EQ(digits.toStdString(), c.frenchDigits) << c.volume;
        EXPECT_EQ(groups, c.frenchGroups) << c.volume;
    }
}

TEST(FiguresText, CoveragesHaveOneDecimalInEachLanguage)
{
    const QLocale english = LocaleOf(Language::English);
    const QLocale french = LocaleOf(Language::French);
    struct Case {
        double percent;
        const char* english;
        const char* french;
    } const cases[] = {
        {97.26, "97.3", "97,3"},
        {100.0, "100.0", "100,0"},
        {45.31, "45.3", "45,3"},
        {0.04, "0.0", "0,0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CoverageText(c.percent, english).toStdString(), c.english) << c.percent;
        EXPECT_EQ(CoverageText(c.percent, french).toStdString(), c.french) << c.percent;
    }
}

TEST(FiguresText, ValuesThatAreNotNumbersShowNothing)
{
    const QLocale english = LocaleOf(Language::English);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300}) {
        EXPECT_TRUE(VolumeText(bad, english).isEmpty()) << bad;
        if (std::isfinite(bad))
            continue;
        EXPECT_TRUE(CoverageText(bad, english).isEmpty()) << bad;
    }
}

// The figures follow the same locale as every other number once start-up applied the language.
TEST(FiguresText, LocaleIsTheOneStartUpApplies)
{
    for (Language language : {Language::French, Language::English}) {
        ApplyLanguage(language);
        EXPECT_EQ(LocaleOf(language), QLocale()) << int(language);
    }
}

TEST(FiguresText, EveryIdHasATextInEachLanguage)
{
    for (Language language : {Language::English, Language::French}) {
        SetCurrentLanguage(language);
        for (int id : figures_ids::kAll)
            EXPECT_FALSE(LoadText(id).isEmpty()) << id << " language " << int(language);
    }
    SetCurrentLanguage(Language::English);
}

} // namespace
} // namespace quillon
