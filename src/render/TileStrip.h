// The tile strip: every square picture of a board, rendered once from the
// chess font into one image of 33 square tiles side by side.
//
// Tiles 0-25 are the squares (see ChessFontMap.h), 26 and 27 the box marks
// of selected squares, 28 scratch space for a highlighted square, 29-32
// small marks for other windows.
#pragma once

#include <QImage>
#include <QRect>

#include "render/SGridAttr.h"

namespace varnock {

inline constexpr int kTileCount = 33;
inline constexpr int kFilledBoxTile = 26;
inline constexpr int kOpenBoxTile = 27;
inline constexpr int kScratchTile = 28;
inline constexpr int kFirstMarkTile = 29;

// The inset of the box marks for a tile size.
constexpr int TileInset(int tileSize) { return (4 * tileSize + 48) / 96; }

class TileStrip {
 public:
  // Renders the strip for tiles of `tileSize` pixels (at least 1).
  TileStrip(const SGridAttr& attributes, int tileSize);

  int TileSize() const { return tileSize_; }
  const QImage& Image() const { return image_; }
  QRect TileRect(int tile) const { return QRect(tile * tileSize_, 0, tileSize_, tileSize_); }
  QImage Tile(int tile) const { return image_.copy(TileRect(tile)); }

  // Copies tile `from` into the scratch tile with its colours inverted, for
  // the square a move starts from.
  void InvertIntoScratch(int from);

 private:
  int tileSize_;
  QImage image_;
};

}  // namespace varnock
