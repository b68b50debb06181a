#include "app/Startup.h"

#include "app/AboutDlg.h"
#include "app/Language.h"
#include "app/Preferences.h"

namespace quillon {

int ShowAboutBoxAsStartupScreen(int languageIndex)
{
    CAboutDlg box;
    box.showLanguageSelector = true;
    box.languageIndex = languageIndex;
    box.exec(); // OK or Cancel: both simply continue
    return box.languageIndex;
}

std::int16_t RunStartupScreenLoop(std::int16_t language, const StartupScreen& screen)
{
    for (;;) {
        const std::int16_t handedIn = language;
        language = static_cast<std::int16_t>(screen(handedIn));
        if (language == handedIn)
            return language;
        // A new box is built for the next showing, so it comes up in the new language.
    }
}

std::int16_t RunStartup(const FolderInfo& folder, const StartupScreen& screen,
                        const std::function<void()>& runMainWindow)
{
    SetApplicationFolder(folder);
    const std::string prefsPath = folder.path + kPrefsFileName;

    // A folder too long for the path buffer starts in English and leaves prefs.dat alone.
    std::int16_t language = folder.fits ? ReadPreferences(prefsPath) : 0;
    // Stored values other than 0 mean French; keep them 0 or 1 so the selector always has
    // an entry selected and the file is rewritten clean.
    language = language == 0 ? 0 : 1;
    ApplyLanguage(LanguageFromValue(language));

    language = RunStartupScreenLoop(language, screen) == 0 ? 0 : 1;
    // The box applies a choice itself; again here so a screen closed by other means agrees.
    ApplyLanguage(LanguageFromValue(language));

    if (folder.fits)
        WritePreferences(prefsPath, language); // failures stay silent
    if (runMainWindow)
        runMainWindow();
    return language;
}

} // namespace quillon
