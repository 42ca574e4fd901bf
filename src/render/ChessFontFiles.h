// Registering the five chess font files, so that fonts can be selected by
// face name, and the Qt session that drawing needs.
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
// Returns how many were registered. Needs a GUI application (see below).
int LoadChessFonts(const std::filesystem::path& folder, UserPrompt& prompt);
// Removes the fonts registered by LoadChessFonts.
void UnloadChessFonts();

// Makes sure a QGuiApplication exists, for drawing text into images without
// a window, on the offscreen platform unless QT_QPA_PLATFORM names another. Does nothing
// when an application already runs.
void EnsureGuiApplication();

}  // namespace varnock
