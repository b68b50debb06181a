#pragma once
#include <cstddef>
#include <cstdint>

#include <QLocale>
#include <QString>

namespace quillon {

// User-interface languages, as stored in prefs.dat.
enum class Language : std::int16_t { English = 0, French = 1 };

// The language every text is fetched in; set once at start-up (and by the start-up screen).
void SetCurrentLanguage(Language language);
Language CurrentLanguage();

// The locale whose number style the language's users read (English (United States), French
// (Canada)); start-up makes it Qt's default.
QLocale LocaleOf(Language language);

// The string of that id in the current language; empty when there is none.
QString LoadText(int id);

// The same, copied as UTF-8 into the caller's buffer, always terminated, never past size.
void LoadTextInto(char* buffer, std::size_t size, int id);

} // namespace quillon
