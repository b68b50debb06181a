#pragma once
#include <cstdint>

#include "app/Strings.h"

namespace quillon {

// Stored language value to user-interface language: 0 is English, any other value French.
constexpr Language LanguageFromValue(int value)
{
    return value == 0 ? Language::English : Language::French;
}

// The locale the language stands for (1033 English (United States), 3084 French (Canada)).
constexpr int LocaleIdFor(Language language)
{
    return language == Language::English ? 1033 : 3084;
}

// Makes every later text, dialog and picture come in that language; also sets Qt's default
// locale so number formatting follows.
void ApplyLanguage(Language language);

} // namespace quillon
