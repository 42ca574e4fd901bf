// The copy-PGN command: the current game as PGN text on the clipboard or in
// the file viewer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Clipboard.h"
#include "core/PieceInitials.h"
#include "core/UserPrompt.h"
#include "formats/PgnExportOptions.h"
#include "formats/SGridFrame.h"

namespace varnock {

struct GetPgnContext {
  GetPgnContext(UserPrompt& prompt, Clipboard& clipboard) : prompt(prompt), clipboard(clipboard) {}

  UserPrompt& prompt;
  Clipboard& clipboard;
  // The collection's retained text when it came from a PGN file.
  std::optional<std::string_view> fileText;
  std::string_view pieceInitials = kDefaultPieceInitials;
  // With the preview option: shows the text in the file viewer. The window
  // writes it to a temporary file, opens the viewer and reports failures.
  // Without a preview handler the text goes to the clipboard.
  std::function<void(const std::string& text)> preview;
};

// Whether the game holds an irregular move or a set-up position after the
// root, on the main line or, when `includeVariations`, anywhere.
bool HasIrregularMoves(const GameTree& game, bool includeVariations);

// Asks before writing a game whose lines PGN would cut, then writes the game
// under the options and hands the text to the preview or the clipboard.
// Returns 1 when the text was handed on, 0 when the user declined.
int GetPGN(SGridFrame& game, const PgnExportOptions& options, GetPgnContext& context);

}  // namespace varnock
