#include "app/Language.h"

#include <QLocale>

namespace quillon {

void ApplyLanguage(Language language)
{
    SetCurrentLanguage(language);
    QLocale::setDefault(language == Language::English ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                      : QLocale(QLocale::French, QLocale::Canada));
}

} // namespace quillon
