#include "ui/FiguresText.h"

#include <cmath>

namespace quillon {

QString VolumeText(double volume, const QLocale& locale)
{
    // Far beyond any gamut (the Lab box holds about 2.6e7), but never an overflowing cast.
    constexpr double kLargest = 1e15;
    if (!std::isfinite(volume) || std::fabs(volume) > kLargest)
        return {};
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(static_cast<qlonglong>(std::llround(volume)));
}

QString CoverageText(double percent, const QLocale& locale)
{
    if (!std::isfinite(percent))
        return {};
    return locale.toString(percent, 'f', 1);
}

} // namespace quillon
