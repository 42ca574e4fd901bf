#include <iostream>

#include "cli/Commands.h"
#include "render/TextDiagram.h"

namespace varnock::cli {

// diagram FEN [--font N] [--flip]: the diagram in the characters of chess
// font N, lines ended by CR LF.
int CommandDiagram(const Args& args) {
  DiagramArgs parsed;
  if (int status = ParseDiagramArgs("diagram", args, 1, false, parsed); status != 0) return status;
  TextDiagramOptions options;
  options.mode = DiagramModeOf(parsed.font);
  options.reversed = parsed.flip;
  std::cout << TextDiagram(parsed.extras.board, options) << "\r\n";
  return parsed.fenWarning ? 1 : 0;
}

}  // namespace varnock::cli
