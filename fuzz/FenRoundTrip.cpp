// Parsing a FEN, writing the position and parsing it again.
#include "RoundTrips.h"
#include "core/Fen.h"
#include "core/Placement.h"

namespace varnock::fuzz {

std::string CheckFenText(std::string_view bytes) {
  FENExtras first;
  const FenCheck check = ParseFEN(bytes, first);
  if (check.rejected) return {};
  BoardSquares placed{};
  BoardFromPlacement(bytes, placed);
  if (placed != first.board)
    return "the board is not the placement's: " + check.message + "\n--- parsed\n" + std::string(bytes);
  const std::string written = FormatFEN(first.board, first);

  FENExtras second;
  const FenCheck again = ParseFEN(written, second);
  const std::string texts = "\n--- parsed\n" + std::string(bytes) + "\n--- written\n" + written;
  if (again.rejected) return "the written FEN is rejected: " + again.message + texts;
  if (second.board != first.board) return "the written FEN gives another board" + texts;
  if (second.sideToMove != first.sideToMove) return "the written FEN gives the other side to move" + texts;
  const std::string rewritten = FormatFEN(second.board, second);
  if (rewritten != written) return "the written FEN is written differently: " + rewritten + texts;
  return {};
}

}  // namespace varnock::fuzz
