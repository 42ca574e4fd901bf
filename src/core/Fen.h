// FEN text: parsing, the position check, and writing a position back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Board.h"

namespace varnock {

// The side fields of a set-up position; a plain value.
struct FENExtras {
  BoardSquares board{};
  char enPassant[3] = {0, 0, 0};  // as read: at most two characters; "" or "-" mean none
  std::int32_t halfMoveClock = 0;
  std::int32_t fullMoveNumber = 1;
  std::int32_t blackQueenSide = 0;  // "q"
  std::int32_t blackKingSide = 0;   // "k"
  std::int32_t whiteQueenSide = 0;  // "Q"
  std::int32_t whiteKingSide = 0;   // "K"
  std::uint8_t sideToMove = kWhite;

  bool HasEnPassant() const { return enPassant[0] != 0 && !(enPassant[0] == '-' && enPassant[1] == 0); }
  std::string EnPassantText() const { return std::string(enPassant, enPassant[1] ? 2 : (enPassant[0] ? 1 : 0)); }
  void SetEnPassant(std::string_view text);
  bool CastlingFlag(std::uint8_t colour, bool kingSide) const;

  bool operator==(const FENExtras&) const = default;
};

// The outcome of a FEN or position check: ok, or a message that either
// rejects the text or only warns.
struct FenCheck {
  bool ok = true;
  bool rejected = false;
  std::string message;
};

// Parses and validates a FEN. Fills every field of `extras`, the board
// included (from the placement). On failure the message holds the reason and
// `rejected` tells whether the text must be refused.
int ParseFEN(std::string_view text, std::string& message, FENExtras& extras, bool& rejected);
FenCheck ParseFEN(std::string_view text, FENExtras& extras);

// The position check of a board with its side fields.
int ValidatePosition(const BoardSquares& board, const FENExtras& extras, std::string& message, bool& rejected);

// The six-field FEN of a position.
std::string FormatFEN(const BoardSquares& board, const FENExtras& extras);

}  // namespace varnock
