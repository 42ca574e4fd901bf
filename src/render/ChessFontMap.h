// The chess fonts and their character maps.
//
// Every square of a diagram, with or without a piece, is one character of a
// chess font: a tile index picks the character, and the same index picks the
// tile of the tile strip on screen.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Board.h"

namespace varnock {

inline constexpr int kChessFontCount = 5;
// The font of "Chess Font Type" when the setting is missing or unknown.
inline constexpr int kDefaultChessFont = 3;
// Symbol character set of the chess fonts.
inline constexpr int kChessFontCharset = 2;

// Tile indices: 0 empty light square, 1-12 pieces on light squares, 13 empty
// dark square, 14-25 pieces on dark squares.
inline constexpr int kEmptyLightTile = 0;
inline constexpr int kEmptyDarkTile = 13;
inline constexpr int kDarkTileOffset = 13;
inline constexpr int kSquareTileCount = 26;

// Border characters follow the 26 square characters of a map.
enum BorderPart : int {
  kBorderTopLeft = 26,
  kBorderTop,
  kBorderTopRight,
  kBorderLeft,
  kBorderRight,
  kBorderBottomLeft,
  kBorderBottom,
  kBorderBottomRight,
};
inline constexpr int kMapLength = 34;

// The current chess font: its index, character set and face name.
struct SChessFont {
  std::int16_t index = kDefaultChessFont;
  int charset = kChessFontCharset;
  std::string_view faceName;
};

// The face name of a font index; any index outside 0..4 is "Chess Merida".
std::string_view ChessFaceName(int fontIndex);
SChessFont ChessFontOf(int fontIndex);

// The 34 characters of a font's map: 26 squares, then the eight border
// characters.
std::string_view CharacterMap(int fontIndex);

// A cell is light when (column + row) is even, row 0 being the top row.
constexpr bool IsLightCell(int column, int row) { return (column + row) % 2 == 0; }

// The tile index of a piece code on a light or dark cell; an unknown code
// counts as an empty square.
int TileIndex(std::uint8_t pieceCode, bool light);

}  // namespace varnock
