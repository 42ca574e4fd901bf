// The board as an image: for a GIF file or a clipboard bitmap.
#pragma once

#include <QImage>
#include <string>

#include "core/Board.h"
#include "core/UserPrompt.h"
#include "render/BoardPainter.h"
#include "render/ColourWord.h"

namespace varnock {

struct GridImageRequest {
  BoardColours colours;
  int fontIndex = 3;
  int tileSize = 40;
  bool defaultColours = false;  // "Black and white": white paper, black ink
  BoardSquares board = StartBoard;
  bool reversed = false;
  BoardOverlay overlay;  // the arrows of the main window's game; none for a composed position
};

// Side of the image: eight squares and a margin of 4 pixels on each side.
constexpr int BoardImageSide(int tileSize) { return 8 * tileSize + 8; }

// The framed board: paper, the board at (4, 4), and two nested one-pixel
// ink rectangles along the edge. Its own attributes and tile strip, so the
// board on screen is untouched. Needs a GUI application for the font.
QImage BoardImage(const GridImageRequest& request);

// Writes an image as a GIF89a file (interlaced, delay 20, with the build's
// comment) and tells "'%s'\n\nFile created". Returns 1 on success.
int SaveImageAsGif(const QImage& image, const std::string& path, UserPrompt& prompt);

// The report after the board image went to the clipboard as a bitmap.
inline constexpr const char* kBitmapCopiedCaption = "CreateGridImage()";
inline constexpr const char* kBitmapCopied = "Bitmap has been copied to the Windows Clipboard";

// The export to a file: the board image of the request, saved as a GIF.
int CreateGridImage(const GridImageRequest& request, const std::string& path, UserPrompt& prompt);

}  // namespace varnock
