#include <iostream>

#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"
#include "render/BoardImage.h"
#include "render/ChessFontFiles.h"
#include "render/OffscreenSession.h"

namespace varnock::cli {

// gif FEN OUT.gif [--size PIXELS] [--font N] [--flip] [--bw]: the board
// image as a GIF file.
int CommandGif(const Args& args) {
  DiagramArgs parsed;
  if (int status = ParseDiagramArgs("gif", args, 2, true, parsed); status != 0) return status;
  const OffscreenSession session("varnock-cli");
  ConsolePrompt prompt(false);
  const int fonts = LoadChessFonts(DefaultFontFolder(), prompt);
  GridImageRequest request;
  request.fontIndex = parsed.font;
  request.tileSize = parsed.size;
  request.defaultColours = parsed.blackAndWhite;
  request.board = parsed.extras.board;
  request.reversed = parsed.flip;
  const bool written = CreateGridImage(request, parsed.positional[1], prompt);
  UnloadChessFonts();
  if (!written) return 2;
  return parsed.fenWarning || fonts < 5 ? 1 : 0;
}

}  // namespace varnock::cli
