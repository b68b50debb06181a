#include "app/Language.h"

#include <QLocale>

namespace quillon {

QLocale LocaleOf(Language language)
{
    return language == Language::English ? QLocale(QLocale::English, QLocale::UnitedStates)
                                         : QLocale(QLocale::French, QLocale::Canada);
}

void ApplyLanguage(Language language)
{
    SetCurrentLanguage(language);
    QLocale::setDefault(LocaleOf(language));
}

} // namespace quillon
