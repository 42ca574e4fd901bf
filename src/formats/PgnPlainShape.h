// The shapes of move tokens the reader's quick lanes take without the
// general reading of a token: plain moves, castling, move numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/Board.h"
#include "formats/PgnLexical.h"

namespace varnock::pgn {

// A move of the plain shape: an optional piece letter, an optional origin
// file and rank, and the destination ("e4", "Nf3", "exd5", "R1a3", "Qh4e1").
struct PlainShape {
  std::uint8_t piece = kPawn;
  std::string_view hint;
  int to = kNoSquare;
};

// The piece a move's first letter names (0 for any other character).
inline constexpr std::array<std::uint8_t, 256> kPieceLetters = [] {
  std::array<std::uint8_t, 256> pieces{};
  pieces['N'] = kKnight;
  pieces['B'] = kBishop;
  pieces['R'] = kRook;
  pieces['Q'] = kQueen;
  pieces['K'] = kKing;
  return pieces;
}();

inline bool IsFileLetter(char c) { return static_cast<unsigned char>(c - 'a') < 8; }
inline bool IsRankDigit(char c) { return static_cast<unsigned char>(c - '1') < 8; }

// Reads a move token as a plain move: the characters as the character steps
// keep them, or as they stand in the text with a capture mark before the
// destination and check marks after it ("Nxf3+"). Other shapes ("Nxbd2",
// promotions, castling) are false: they go the general way.
inline bool ReadPlainShape(const char* text, std::size_t length, PlainShape& shape) {
  while (length > 1 && (text[length - 1] == '+' || text[length - 1] == '#')) --length;
  if (length < 2) return false;
  const char file = text[length - 2], rank = text[length - 1];
  if (!IsRankDigit(rank) || !IsFileLetter(file)) return false;
  shape.to = SquareAt(file - 'a', '8' - rank);
  const std::uint8_t piece = kPieceLetters[static_cast<unsigned char>(text[0])];
  // A pawn reaching the last rank is a promotion.
  if (piece == 0 && (rank == '1' || rank == '8')) return false;
  shape.piece = piece != 0 ? piece : kPawn;
  const std::size_t begin = piece != 0;
  // A capture mark before the destination; the token's first character is
  // never one, as the character steps keep that one whatever it is.
  std::size_t end = length - 2;
  if (end >= 2 && text[end - 1] == 'x') --end;
  // What stands between the piece and the destination: a file, a rank, or both.
  std::size_t h = begin;
  if (h < end && IsFileLetter(text[h])) ++h;
  if (h < end && IsRankDigit(text[h])) ++h;
  if (h != end) return false;
  shape.hint = std::string_view(text + begin, end - begin);
  return true;
}

// 2 when `text` starts "O-O", 3 when it starts "O-O-O", else 0.
inline int CastlingLength(const char* text, std::size_t size) {
  if (size < 3 || text[0] != 'O' || text[1] != '-' || text[2] != 'O') return 0;
  return size >= 5 && text[3] == '-' && text[4] == 'O' ? 3 : 2;
}

// Where a castling token at `move` ends ("O-O" or "O-O-O", perhaps with check
// marks), when a blank follows it; 0 for any other text. `castling` is 2 for
// king side, 3 for queen side.
inline std::size_t CastlingTokenEnd(const char* text, std::size_t move, std::size_t size, int& castling) {
  castling = CastlingLength(text + move, size - move);
  if (castling == 0) return 0;
  std::size_t end = move + 2 * static_cast<std::size_t>(castling) - 1;
  while (end < size && (text[end] == '+' || text[end] == '#')) ++end;
  return end < size && IsBlank(text[end]) ? end : 0;
}

inline constexpr std::size_t kNoMoveNumber = ~std::size_t{0};

// Past the move number at `i`, digits and the dots after them ("12.",
// "12..."): where the dots end, perhaps at the end of the text;
// kNoMoveNumber when no digit or no dot is there.
inline std::size_t PastMoveNumber(const char* text, std::size_t i, std::size_t size) {
  std::size_t end = i;
  while (end < size && IsDigit(text[end])) ++end;
  if (end == i || end >= size || text[end] != '.') return kNoMoveNumber;
  while (end < size && text[end] == '.') ++end;
  return end;
}

// Past a move number written without dots at `i` ("12 "), when a blank
// follows its digits; 0 for anything else. A number beginning with "0" is
// left to the character steps ("00" is castling).
inline std::size_t BareNumberEnd(const char* text, std::size_t i, std::size_t size) {
  if (i >= size || text[i] < '1' || text[i] > '9') return 0;
  std::size_t end = i + 1;
  while (end < size && IsDigit(text[end])) ++end;
  return end < size && IsBlank(text[end]) ? end : 0;
}

}  // namespace varnock::pgn
