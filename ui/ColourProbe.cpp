#include "ui/ColourProbe.h"

#include <cfloat>
#include <cmath>
#include <locale.h>
#include <stdlib.h>

#include <QByteArray>

namespace quillon {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One "C" numeric locale for the process, freed at exit.
class CNumericLocale {
public:
    CNumericLocale() : m_locale(newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr))) {}
    ~CNumericLocale()
    {
        if (m_locale != locale_t(nullptr))
            freelocale(m_locale);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;
    locale_t get() const { return m_locale; }

private:
    locale_t m_locale;
};

} // namespace

double ParseProbeNumber(const QString& text)
{
    static const CNumericLocale cLocale;
    const QByteArray bytes = text.toUtf8(); // always NUL-terminated
    if (cLocale.get() == locale_t(nullptr))
        return 0.0;
    return strtod_l(bytes.constData(), nullptr, cLocale.get());
}

float NarrowToFloat(double value)
{
    if (std::isnan(value))
        return std::nanf("");
    if (value > double(FLT_MAX))
        return INFINITY;
    if (value < -double(FLT_MAX))
        return -INFINITY;
    return static_cast<float>(value);
}

QString FormatProbeValue(double value)
{
    return QString::asprintf("%.2f", value); // QString::asprintf ignores the locale
}

ProbeLch LabToLch(float L, float a, float b)
{
    ProbeLch lch;
    lch.L = L;
    lch.C = std::sqrt(double(a) * a + double(b) * b);
    const double h = std::atan2(double(b), double(a));
    lch.h = h > 0.0 ? h * 180.0 / kPi : 360.0 - std::fabs(h) * 180.0 / kPi;
    return lch;
}

ProbeLab LchToLab(double L, double C, double h)
{
    const double t = h * kPi / 180.0;
    const double tanT = std::tan(t);
    const double k = std::sqrt(tanT * tanT + 1.0);
    ProbeLab lab;
    lab.L = NarrowToFloat(L);
    lab.a = NarrowToFloat((h <= 90.0 || h >= 270.0) ? C / k : -C / k);
    // The float a* can exceed C* by its rounding; a negative square would give NaN.
    const double rest = C * C - double(lab.a) * double(lab.a);
    const double b = std::sqrt(rest > 0.0 ? rest : 0.0);
    lab.b = NarrowToFloat(h <= 180.0 ? b : -b);
    return lab;
}

} // namespace quillon
