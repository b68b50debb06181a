#pragma once
#include <cstdint>
#include <functional>

#include "app/ApplicationFolder.h"

namespace quillon {

// One showing of the start-up screen: opened with a language index, returns the index
// selected when it closed.
using StartupScreen = std::function<int(int languageIndex)>;

// The real screen: the about box with its language selector, run modally.
int ShowAboutBoxAsStartupScreen(int languageIndex);

// Shows the screen until it closes with the language it was opened with; returns that language.
std::int16_t RunStartupScreenLoop(std::int16_t language, const StartupScreen& screen);

// The start-up sequence after the QApplication exists: application folder, preferences,
// language, start-up screen loop, preferences written, main window. Returns the language
// the main window ran in.
std::int16_t RunStartup(const FolderInfo& folder, const StartupScreen& screen,
                        const std::function<void()>& runMainWindow);

} // namespace quillon
