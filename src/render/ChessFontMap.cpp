#include "render/ChessFontMap.h"

namespace varnock {

namespace {

constexpr std::string_view kAlphaMap = " lwtjnokqrhbp+LWTJNOKQRHBP12345678";
constexpr std::string_view kOtherMap = " lwtmvokqrnbp+LWTMVOKQRNBP!\"#$%/()";
static_assert(kAlphaMap.size() == kMapLength && kOtherMap.size() == kMapLength);

// Tile offsets of the pieces in map order: king, queen, rook, knight,
// bishop, pawn.
int PieceOrder(std::uint8_t type) {
  switch (type) {
    case kKing:
      return 0;
    case kQueen:
      return 1;
    case kRook:
      return 2;
    case kKnight:
      return 3;
    case kBishop:
      return 4;
    case kPawn:
      return 5;
    default:
      return -1;
  }
}

}  // namespace

std::string_view ChessFaceName(int fontIndex) {
  switch (fontIndex) {
    case 0:
      return "Chess Alpha";
    case 1:
      return "Chess Dervantis";
    case 2:
      return "Chess Maya";
    case 4:
      return "Chess Motif";
    default:
      return "Chess Merida";
  }
}

SChessFont ChessFontOf(int fontIndex) {
  SChessFont font;
  font.index = static_cast<std::int16_t>(fontIndex >= 0 && fontIndex < kChessFontCount ? fontIndex : kDefaultChessFont);
  font.faceName = ChessFaceName(fontIndex);
  return font;
}

std::string_view CharacterMap(int fontIndex) { return fontIndex == 0 ? kAlphaMap : kOtherMap; }

int TileIndex(std::uint8_t pieceCode, bool light) {
  const int order = IsPieceCode(pieceCode) ? PieceOrder(pieceCode & kTypeMask) : -1;
  int tile = kEmptyLightTile;
  if (order >= 0) tile = 1 + order + ((pieceCode & kWhite) ? 6 : 0);
  return light ? tile : tile + kDarkTileOffset;
}

}  // namespace varnock
