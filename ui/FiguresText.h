#pragma once
#include <QLocale>
#include <QString>

#include "app/Strings.h"

// Ids of the gamut figures' texts (see app/Strings.h), listed once for the window and for the
// test that checks them against resources/strings.tsv.
#define QUILLON_FIGURES_STRING_IDS(X) \
    X(kColumnVolume, 2001) \
    X(kCoverageTitle, 2002) \
    X(kCoverageExplanation, 2003) \
    X(kCoverageEmpty, 2004) \
    X(kCoverageCellTip, 2005) \
    X(kCoverageButton, 2006)

namespace quillon {

namespace figures_ids {
#define QUILLON_FIGURES_STRING_ID(name, value) constexpr int name = value;
QUILLON_FIGURES_STRING_IDS(QUILLON_FIGURES_STRING_ID)
#undef QUILLON_FIGURES_STRING_ID

#define QUILLON_FIGURES_STRING_ID(name, value) name,
inline constexpr int kAll[] = {QUILLON_FIGURES_STRING_IDS(QUILLON_FIGURES_STRING_ID)};
#undef QUILLON_FIGURES_STRING_ID
} // namespace figures_ids

// A volume in cubic CIELAB units, rounded to a whole number the way quillon-gamut rounds it,
// thousands grouped: "832,061" / "832 061". Empty for a value that is not finite.
QString VolumeText(double volume, const QLocale& locale);

// A coverage in percent with one decimal: "97.3" / "97,3". Empty for a value that is not finite.
QString CoverageText(double percent, const QLocale& locale);

} // namespace quillon
