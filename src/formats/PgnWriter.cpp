#include "formats/PgnWriter.h"

namespace varnock {

void WritePgnGame(SGridFrame& game, std::string& out, const PgnExportOptions& options,
                  std::optional<std::string_view> fileText, std::string_view pieceInitials) {
  WritePgnTagSection(game, out, options.extensions != 0, fileText);
  int movesOnLine = 0;
  WritePgnMovetext(game, out, game.Tree().root, movesOnLine, options, pieceInitials);
  out += "\r\n\r\n";
}

}  // namespace varnock
