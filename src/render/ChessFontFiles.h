// Registering the five chess font files, so that fonts can be selected by
// face name. The caller makes the Qt application first (a QApplication for
// the window, a QGuiApplication for drawing without one): nothing here makes
// one behind its back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/UserPrompt.h"

namespace varnock {

struct ChessFontFile {
  std::string_view fileName;  // "merida.ttf"
  std::string_view faceName;  // "Chess Merida"
  std::string_view setName;   // "Merida", as the failure message names it
};

// The five files in the order they are registered.
const ChessFontFile (&ChessFontFiles())[5];

// The "Fonts" folder of the program's data: the installed data folder beside
// the executable's prefix when there is one, else the source tree's data/.
std::filesystem::path DefaultFontFolder();

// Registers the five files of `folder`. A file that cannot be registered is
// reported ("'%s'\n\nUnable to load the Merida chess font" ..., with the full
// path, under "App::InitInstance") and the others are still registered.
// Returns how many were registered; none without a running QGuiApplication.
int LoadChessFonts(const std::filesystem::path& folder, UserPrompt& prompt);
// Removes the fonts registered by LoadChessFonts.
void UnloadChessFonts();

}  // namespace varnock
