// A PGN movetext token: what it is (a result, a move, a pass, castling) and
// which move of the position it names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/PositionHistory.h"
#include "tree/GameTree.h"

namespace varnock {

struct MoveToken {
  enum Kind { Result, Ignored, Pass, NoLetter, Castle, Standard };
  Kind kind = Ignored;
  std::uint8_t result = 0;  // 1 White won, 2 Black won, 3 drawn, 0 "*"
  bool kingSide = false;    // castling
  // Views into the collected token, which outlives the classification.
  std::string_view body;    // the token without its trailing "!"/"?" run
  std::string_view whole;   // the token as collected
  std::string_view symbol;  // the trailing "!"/"?" run
  int checkMarker = 0;      // 0 none, 1 "+", 2 "#"
};

// The result mark a token names as it stands in the text: "1-0" 1, "0-1" 2,
// one beginning "1/2" 3, "*" 0; none for any other text.
std::optional<std::uint8_t> WrittenResult(std::string_view written);

// Classifies a collected token (move numbers, "-", "x", "+", "#" and "="
// already taken out by the reader). `written` is the token as it stands in
// the text, after any move number joined to it by dots: only that tells a
// result ("1-0") from a move number ("10").
MoveToken ClassifyToken(std::string_view token, int checkMarker, bool equalsSeen, std::string_view written);

struct ResolvedToken {
  bool found = false;
  int from = 0;
  int to = 0;
  std::uint8_t promotion = 0;
};

// The squares of castling by `side` on `board` when the position allows it;
// not found otherwise.
ResolvedToken ResolveCastling(const BoardSquares& board, std::uint8_t side, bool kingSide,
                              const PositionHistory& history);

// The squares of a castling or standard-notation move, or of a move written
// as one piece taking another ("BxN"), on the tree's current position.
ResolvedToken ResolveToken(const MoveToken& token, GameTree& tree, std::uint8_t side);

// Ratings and assessments named by a NAG ("$14": the digits) or a symbol
// ("!?", "+/="). A text found in neither table names nothing.
struct MarkLookup {
  std::uint8_t rating = 0;
  std::uint8_t assessment = 0;
};
MarkLookup LookUpMark(std::string_view text, bool nag);

}  // namespace varnock
