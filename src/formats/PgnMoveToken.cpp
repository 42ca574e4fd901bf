#include "formats/PgnMoveToken.h"

#include "core/Legality.h"
#include "core/MoveGen.h"
#include "core/Resolve.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::uint8_t PieceOfLetter(char c) {
  switch (c) {
    case 'R':
      return kRook;
    case 'Q':
      return kQueen;
    case 'N':
      return kKnight;
    case 'K':
      return kKing;
    case 'B':
      return kBishop;
    default:
      return 0;
  }
}

std::uint8_t PromotionOfLetter(char c) {
  switch (c) {
    case 'Q':
      return kQueen;
    case 'R':
      return kRook;
    case 'B':
      return kBishop;
    case 'N':
    case 'K':
      return kKnight;
    default:
      return 0;
  }
}

ResolvedToken Castling(const MoveToken& token, GameTree& tree, std::uint8_t side) {
  return ResolveCastling(tree.board, side, token.kingSide, NodeHistory(tree.Store(), tree.current));
}

ResolvedToken Standard(const MoveToken& token, GameTree& tree, std::uint8_t side) {
  std::string_view s = token.body;
  if (s.size() < 2) return {};
  std::uint8_t promotion = PromotionOfLetter(s.back());
  if (promotion) s.remove_suffix(1);
  if (s.size() >= 2 && s.back() == 'p' && s[s.size() - 2] == 'e') s.remove_suffix(2);
  if (s.size() < 2) return {};
  const char file = s[s.size() - 2], rank = s[s.size() - 1];
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return {};
  const int to = SquareAt(file - 'a', '8' - rank);
  s.remove_suffix(2);
  std::uint8_t piece = kPawn;
  if (!s.empty() && PieceOfLetter(s.front())) {
    piece = PieceOfLetter(s.front());
    s.remove_prefix(1);
  }
  // What stands before a pawn's destination can only be its origin file or
  // square: a lowercase piece letter ("nf3") is no pawn move.
  if (piece == kPawn)
    for (char c : s)
      if (!(c >= 'a' && c <= 'h') && !(c >= '1' && c <= '8')) return {};
  if (piece != kPawn) {
    promotion = 0;
  } else if (RowOf(to) == (side == kWhite ? 0 : 7)) {
    if (!promotion) promotion = kQueen;
  } else {
    promotion = 0;
  }
  const NodeHistory history(tree.Store(), tree.current);
  // The check flag of the move that led here tells whether the side to move
  // is in check; a root or set-up position leaves it open.
  const MoveNode& current = tree.Node(tree.current);
  KnownPosition known;
  known.kings = &tree.kings;
  known.inCheck = (current.parent == kNoNode || current.Has(kFlagComposed)) ? -1 : current.Has2(kFlag2Check) ? 1 : 0;
  ResolvedMove resolved = ResolveMove(tree.board, side, token.checkMarker, piece, s, to, promotion, history, known);
  if (!resolved.found) return {};
  return {true, resolved.from, to, promotion};
}

// "BxN", "PxP", "Ne2xBf4", "PxN=Q": the first letter names the mover, the
// next capital letter the piece taken.
ResolvedToken PieceTakesPiece(const MoveToken& token, GameTree& tree, std::uint8_t side) {
  std::string_view s = token.whole;
  if (s.size() < 2) return {};
  std::uint8_t mover = PieceOfLetter(s[0]);
  if (!mover) mover = kPawn;
  std::size_t capital = 1;
  while (capital < s.size() && !(s[capital] >= 'A' && s[capital] <= 'Z')) ++capital;
  if (capital >= s.size()) return {};
  std::uint8_t taken = s[capital] == 'P' ? kPawn : PieceOfLetter(s[capital]);
  if (!taken) return {};
  std::uint8_t promotion = capital + 1 < s.size() ? PromotionOfLetter(s[capital + 1]) : 0;
  const std::string_view hint = s.substr(1, capital - 1);
  const NodeHistory history(tree.Store(), tree.current);
  ResolvedCapture resolved = ResolveCapture(tree.board, side, token.checkMarker, mover, hint, taken, history);
  if (!resolved.found) return {};
  if (mover == kPawn && RowOf(resolved.to) == (side == kWhite ? 0 : 7)) {
    if (!promotion) promotion = kQueen;
  } else {
    promotion = 0;
  }
  return {true, resolved.from, resolved.to, promotion};
}

}  // namespace

ResolvedToken ResolveCastling(const BoardSquares& board, std::uint8_t side, bool kingSide,
                              const PositionHistory& history) {
  const int from = side == kWhite ? kE1 : kE8;
  const int to = side == kWhite ? (kingSide ? kG1 : kC1) : (kingSide ? kG8 : kC8);
  // A castling the position does not allow (no king on its square, a moved
  // rook) would corrupt the board: it is a move error like any other. One
  // the movement rules allow is legal: they ask that the king's square, the
  // square it crosses and the one it lands on are not attacked, and the rook
  // then closes only a line the king itself closed before.
  std::string message;
  if (!(board[static_cast<std::size_t>(from)] & kKing) || !IsMoveValid(board, side, from, to, history, message))
    return {};
  return {true, from, to, 0};
}

std::optional<std::uint8_t> WrittenResult(std::string_view written) {
  if (written == "1-0") return 1;
  if (written == "0-1") return 2;
  if (written.starts_with("1/2")) return 3;
  if (written == "*") return 0;
  return std::nullopt;
}

MoveToken ClassifyToken(std::string_view token, int checkMarker, bool equalsSeen, std::string_view written) {
  MoveToken t;
  t.whole = token;
  t.checkMarker = checkMarker;
  if (token.empty()) return t;
  const char first = token[0];
  // A result only as it is written: "10" and "101" are move numbers.
  if (first == '1' || first == '0' || first == '*') {
    if (const auto result = WrittenResult(written)) {
      t.kind = MoveToken::Result;
      t.result = *result;
      return t;
    }
  }
  if (token.size() == 1 && first == 'N') return t;
  if (token.size() == 1 && first == '-') {
    t.kind = (checkMarker == 0 && !equalsSeen) ? MoveToken::Pass : MoveToken::NoLetter;
    return t;
  }
  std::size_t end = token.size();
  while (end > 0 && (token[end - 1] == '!' || token[end - 1] == '?')) --end;
  t.symbol = token.substr(end);
  t.body = token.substr(0, end);
  if ((first == 'O' || first == '0') && (t.body == "OO" || t.body == "00" || t.body == "OOO" || t.body == "000")) {
    t.kind = MoveToken::Castle;
    t.kingSide = t.body.size() == 2;
    return t;
  }
  bool letter = false;
  for (char c : t.body) letter = letter || IsLetter(c);
  t.kind = letter ? MoveToken::Standard : MoveToken::NoLetter;
  return t;
}

ResolvedToken ResolveToken(const MoveToken& token, GameTree& tree, std::uint8_t side) {
  if (token.kind == MoveToken::Castle) return Castling(token, tree, side);
  if (token.kind != MoveToken::Standard) return {};
  ResolvedToken move = Standard(token, tree, side);
  if (!move.found) move = PieceTakesPiece(token, tree, side);
  return move;
}

MarkLookup LookUpMark(std::string_view text, bool nag) {
  struct Entry {
    std::string_view text;
    std::uint8_t rating;
    std::uint8_t assessment;
  };
  static constexpr Entry kNags[] = {{"1", 1, 0},  {"3", 2, 0},  {"2", 3, 0},  {"4", 4, 0},  {"5", 5, 0},  {"6", 6, 0},
                                    {"17", 0, 1}, {"15", 0, 2}, {"11", 0, 3}, {"12", 0, 3}, {"14", 0, 4}, {"16", 0, 5}};
  static constexpr Entry kSymbols[] = {{"!", 1, 0},  {"!!", 2, 0}, {"?", 3, 0},   {"??", 4, 0}, {"!?", 5, 0},
                                       {"?!", 6, 0}, {"-+", 0, 1}, {"-/+", 0, 1}, {"=+", 0, 2}, {"=/+", 0, 2},
                                       {"=", 0, 3},  {"+=", 0, 4}, {"+/=", 0, 4}, {"+-", 0, 5}, {"+/-", 0, 5}};
  if (nag) {
    for (const Entry& e : kNags)
      if (e.text == text) return {e.rating, e.assessment};
  } else {
    for (const Entry& e : kSymbols)
      if (e.text == text) return {e.rating, e.assessment};
  }
  return {};
}

}  // namespace varnock
