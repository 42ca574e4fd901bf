// Writing a game as PGN text.
//
// The writer cannot fail: a game is written as far as PGN can express it.
// A set-up position or an irregular move inside a line is written as "--"
// and the line is cut there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/PieceInitials.h"
#include "formats/PgnExportOptions.h"
#include "formats/PgnMovetext.h"
#include "formats/PgnTagSection.h"
#include "formats/SGridFrame.h"

namespace varnock {

// Appends the whole game: the tag section (with the "%AP[...]" line when the
// escape lines are on), the movetext from the root, and "\r\n\r\n". The
// game's moves must have been read. `fileText` is the retained text of the
// collection when it came from a PGN file; the tags the header does not
// model are copied from the game's part of it. `pieceInitials` are the
// letters of the "%FG[]" diagrams.
void WritePgnGame(SGridFrame& game, std::string& out, const PgnExportOptions& options,
                  std::optional<std::string_view> fileText = std::nullopt,
                  std::string_view pieceInitials = kDefaultPieceInitials);

}  // namespace varnock
