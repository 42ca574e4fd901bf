// The movetext of a game in PGN output.
#pragma once

#include <string>
#include <string_view>

#include "core/PieceInitials.h"
#include "formats/PgnExportOptions.h"
#include "formats/SGridFrame.h"

namespace varnock {

// Writes one line of play from `first` along the continuation links, with
// its variations (each alternative in creation order, nested to any depth)
// when the options include them. The line from the root is the main line: it
// also carries the root's marks and comment, and ends with "  *" when no
// result mark was written on it. `movesOnLine` counts the half-moves on the
// current output line; it is shared with the variations and handed back.
// `pieceInitials` are the letters of the "%FG[]" diagrams.
void WritePgnMovetext(SGridFrame& game, std::string& out, NodeRef first, int& movesOnLine,
                      const PgnExportOptions& options, std::string_view pieceInitials = kDefaultPieceInitials);

}  // namespace varnock
