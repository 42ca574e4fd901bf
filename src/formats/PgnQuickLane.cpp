// The quick lanes: move tokens of the common shapes taken in one stride, and
// plain moves entered without the general reading of a move.

#include <algorithm>
#include <cstring>

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Format.h"
#include "core/Resolve.h"
#include "formats/PgnMoveToken.h"
#include "formats/PgnReaderState.h"
#include "formats/PgnReports.h"
#include "formats/PgnTagNames.h"
#include "formats/TextScans.h"
#include "tree/Bookmarks.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock::pgn {

// A token of the common shape at the cursor, ended by a blank: letters,
// digits, "x", "+" and "#" ("Nf3", "exd5", "Qxf7#"), perhaps after a move
// number and dots ("12.Nf3", "12...Nf6"). It is taken and processed in one
// go as the character steps would take it: a "." empties the token, the
// first character is kept as it is, after it "x" is left out and "+" and "#"
// are remembered as the check mark. Anything else (another character, a long
// token, the end of the text) is left to the character steps: false.
bool PgnReader::TakeMoveToken() {
  static constexpr std::size_t kLongest = 8;
  static constexpr auto kMoveChars = [] {
    std::array<bool, 256> chars{};
    for (unsigned char c = 'a'; c <= 'h'; ++c) chars[c] = true;
    for (unsigned char c = '1'; c <= '8'; ++c) chars[c] = true;
    for (unsigned char c : {'N', 'B', 'R', 'Q', 'K', 'x', '+', '#'}) chars[c] = true;
    return chars;
  }();
  auto isMoveChar = [](char c) { return kMoveChars[static_cast<unsigned char>(c)]; };
  const char* const text = text_.data();
  const std::size_t start = pos_;
  const std::size_t size = text_.size();
  std::size_t move = start;  // where the kept text begins
  if (IsDigit(text[start])) {
    move = PastMoveNumber(text, start, size);
    if (move >= size) return false;  // no number, or nothing after it
  } else if (text[start] != 'O' && (!IsLetter(text[start]) || !isMoveChar(text[start]))) {
    return false;
  }
  std::size_t end = move;
  int castling = 0;  // 2 for "O-O", 3 for "O-O-O"
  if (text[move] == 'O') {
    end = CastlingTokenEnd(text, move, size, castling);
    if (end == 0) return false;
  } else {
    if (size - move >= 16) {
      end = move + scans::MoveCharRun(text + move);
    } else {
      while (end < size && end - move <= kLongest && isMoveChar(text[end])) ++end;
    }
    if (end == move || end >= size || end - move > kLongest || !IsBlank(text[end])) return false;
  }

  TokenStartsAt(start);
  pos_ = end;  // where the reports of the move place it
  // A plain move goes straight from the text to the tree; any other token is
  // collected as the character steps would collect it.
  PlainShape shape;
  const bool plainTried = accepting_ && HasTree() && ctx_.plainMoves && !variationStart_;
  const bool entered =
      plainTried && (castling ? PlainCastling(castling == 2)
                              : ReadPlainShape(text + move, end - move, shape) && PlainMoveOf(shape, {}));
  if (entered) {
    movetextSeen_ = true;
  } else {
    checkMarker_ = 0;
    equalsSeen_ = false;
    std::size_t i = move;
    if (move == start)
      token_.Assign(text[i++]);
    else
      token_.Clear();
    for (; i < end; ++i) {
      const char c = text[i];
      if (c == '+')
        checkMarker_ = 1;
      else if (c == '#')
        checkMarker_ = 2;
      else if (c != 'x' && c != '-')
        token_.Add(c);
    }
    ProcessToken(plainTried);
    token_.Clear();
  }
  checkMarker_ = 0;
  state_ = State::Between;
  previous_ = text[end];
  pos_ = end + 1;
  return true;
}

// The common run of movetext, "12. Nf3 Nf6 13. exd5 ", taken move by move in
// one loop: blanks, move numbers, and moves of the plain shape and castling
// that the quick lane enters, each ended by a blank. It stops in front of
// anything else (a comment, a bracket, a result, a move with a mark, a move
// the quick lane declines, the last sixteen characters of the text), where
// the cursor is left after the blank that ended the last move entered, as
// taking the moves one by one would leave it; what follows is read as usual.
[[gnu::flatten]] void PgnReader::TakePlainMoves() {
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t i = pos_;
  std::size_t committed = pos_;  // the cursor after the last move entered
  while (accepting_ && !variationStart_) {
    // Blanks, dots and move numbers that stand alone ("12. ", "12... ").
    std::size_t start;  // where the token begins, with a move number joined to it
    std::size_t move;   // where its move begins
    while (true) {
      if (i >= size) return;
      const char c = text[i];
      if (IsBlank(c) || c == '.') {
        ++i;
        continue;
      }
      start = move = i;
      if (!IsDigit(c)) break;
      if (const std::size_t digits = BareNumberEnd(text, i, size); digits != 0) {
        // "12 ": a move number without dots is a token of its own, which
        // names no move.
        TokenStartsAt(i);
        movetextSeen_ = true;
        i = digits;
        continue;
      }
      move = PastMoveNumber(text, i, size);
      if (move >= size) return;         // no number, or nothing after it
      if (!IsBlank(text[move])) break;  // "12.e4": the number and the move are one token
      TokenStartsAt(i);
      i = move;
    }
    // Sixteen characters to look at, and the one after them.
    if (size - move <= 16) return;
    const char first = text[move];
    std::size_t end;
    if (first == 'O') {
      int castling = 0;
      end = CastlingTokenEnd(text, move, size, castling);
      if (end == 0) return;
      pos_ = end;  // where the reports of the move place it
      if (!PlainCastling(castling == 2)) {
        pos_ = committed;
        return;
      }
    } else {
      if (kPieceLetters[static_cast<unsigned char>(first)] == 0 && !IsFileLetter(first)) return;
      // The shape of the move decides about every character up to the blank.
      end = move + scans::WordLength(text + move);
      if (end - move > 8 || !IsBlank(text[end])) return;
      PlainShape shape;
      if (!ReadPlainShape(text + move, end - move, shape)) return;
      pos_ = end;
      if (!PlainMoveOf(shape, {})) {
        pos_ = committed;
        return;
      }
    }
    TokenStartsAt(start);
    movetextSeen_ = true;
    previous_ = text[end];
    i = pos_ = committed = end + 1;
  }
}

// The common move ("e4", "Nf3", "exd5", "Rad1!", "Kf2"), resolved and entered
// in one go when the answer is plain; anything else (results, castling,
// promotions, several candidates, a move that starts a variation or meets an
// existing continuation) takes the general path.
// Returns whether the token was dealt with.
bool PgnReader::PlainMove() {
  const std::string_view token = token_.View();
  std::size_t end = token.size();
  while (end > 0 && (token[end - 1] == '!' || token[end - 1] == '?')) --end;
  PlainShape shape;
  return ReadPlainShape(token.data(), end, shape) && PlainMoveOf(shape, token.substr(end));
}

// Enters a move of the plain shape when its origin is plain, with `marks`
// ("!", "?!") as its symbol. Returns whether it was entered. It runs for
// nearly every move of a file, so what it calls is compiled into it (flatten).
[[gnu::flatten]] bool PgnReader::PlainMoveOf(const PlainShape& shape, std::string_view marks) {
  const GameTree& tree = *tree_;
  bool inCheck = false;
  if (!QuickLaneOpen(inCheck)) return false;
  const NodeHistory history(tree.Store(), tree.current);
  const int from =
      PlainOrigin(tree.board, sets_, tree.kings, tree.sideToMove, shape.piece, shape.hint, shape.to, history, inCheck);
  if (from == kNoSquare) return false;
  AppendPlain(from, shape.to, marks);
  // An ordinary move: it changes its two squares.
  castling_.touched |= (std::uint64_t{1} << from) | (std::uint64_t{1} << shape.to);
  return true;
}

// Castling by the quick lane, when the position allows it; the general path
// reports one it does not allow.
[[gnu::noinline]] bool PgnReader::PlainCastling(bool kingSide) {
  const GameTree& tree = *tree_;
  bool inCheck = false;
  if (!QuickLaneOpen(inCheck) || inCheck) return false;
  if (!castlingKnown_) {
    castling_ = CastlingHistoryAt(tree.Store(), tree.current);
    castlingKnown_ = true;
  }
  const std::uint8_t side = tree.sideToMove;
  const int from = side == kWhite ? kE1 : kE8;
  const int to = from + (kingSide ? 2 : -2);
  if (tree.board[static_cast<std::size_t>(from)] == (kKing | side)) {
    // The king on its square: the rules asked of the square sets and the
    // castling history.
    if (!SetsCastlingAllowed(tree.board, sets_, side, kingSide, NodeHistory(tree.Store(), tree.current, castling_)))
      return false;
  } else if (!ResolveCastling(tree.board, side, kingSide, NodeHistory(tree.Store(), tree.current, castling_)).found) {
    return false;
  }
  AppendPlain(from, to, {});
  if (tree.current == appendable_) castling_.Follow(tree.Node(tree.current));
  return true;
}

// Whether a move may go by the quick lane from the current node, and then
// whether the side to move is in check. The board's square sets are those
// of the current position then.
bool PgnReader::QuickLaneOpen(bool& inCheck) {
  const GameTree& tree = *tree_;
  if (tree.current == appendable_) {
    inCheck = appendableGivesCheck_;
    return true;
  }
  if (ExtendsReadLine(tree)) {
    inCheck = tree.Node(tree.current).Has2(kFlag2Check);
    castlingKnown_ = false;  // looked for when a castling asks
  } else if (StartsReadGame(tree)) {
    inCheck = false;
    castling_ = CastlingHistoryAt(tree.Store(), tree.current);
    castlingKnown_ = true;
  } else {
    return false;
  }
  sets_ = BoardSets::Of(tree.board);
  return true;
}

// Enters a legal move found by the quick lane.
void PgnReader::AppendPlain(int from, int to, std::string_view marks) {
  GameTree& tree = *tree_;
  const NodeRef before = tree.current;
  bool givesCheck = false;
  if (AppendReadMove(tree, from, to, ctx_.prompt, sets_, givesCheck) == EntryOutcome::Refused) {
    accepting_ = false;  // no node slot could be had: the line ends here
    appendable_ = kNoNode;
    mark_.clear();
    return;
  }
  appendable_ = tree.current;
  appendableGivesCheck_ = givesCheck;
  if (before == mainLineNode_) mainLineNode_ = tree.current;  // appended straight after it
  if (!pendingBefore_.empty()) {
    SetComment(tree, tree.current, NodeStore::kBefore, pendingBefore_, false);
    pendingBefore_.clear();
  }
  if (!marks.empty()) ApplyMark(marks, false, tree.current);
  mark_.clear();
}

}  // namespace varnock::pgn
