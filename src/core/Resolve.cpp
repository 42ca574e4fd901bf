#include "core/Resolve.h"

#include <bit>
#include <cstdlib>
#include <string>

#include "core/Attack.h"
#include "core/AttackTables.h"
#include "core/Legality.h"
#include "core/MoveGen.h"
#include "core/SetAttacks.h"

namespace varnock {

namespace {

using SquareSet = std::uint64_t;

constexpr SquareSet Bit(int square) { return SquareSet{1} << square; }
std::uint8_t At(const BoardSquares& board, int square) { return board[static_cast<std::size_t>(square)]; }

int PopLowest(SquareSet& set) {
  const int square = std::countr_zero(set);
  set &= set - 1;
  return square;
}

// The directions of the attack tables by their steps; "down" is towards
// White's side (higher square numbers).
constexpr int kUpLeft = 0, kLeftward = 1, kDownLeft = 2, kUpward = 3, kDownward = 4, kUpRight = 5, kRightward = 6,
              kDownRight = 7;
static_assert(kAttackTables.increasing[kRightward] && kAttackTables.increasing[kDownward] &&
              !kAttackTables.increasing[kLeftward] && !kAttackTables.increasing[kUpward]);
static_assert(kAttackTables.increasing[kDownLeft] && kAttackTables.increasing[kDownRight] &&
              !kAttackTables.increasing[kUpLeft] && !kAttackTables.increasing[kUpRight]);
static_assert(kAttackTables.diagonal[kUpLeft] && kAttackTables.diagonal[kDownLeft] &&
              kAttackTables.diagonal[kUpRight] && kAttackTables.diagonal[kDownRight] &&
              !kAttackTables.diagonal[kLeftward] && !kAttackTables.diagonal[kUpward] &&
              !kAttackTables.diagonal[kDownward] && !kAttackTables.diagonal[kRightward]);
static_assert(kAttackTables.rowStep[kUpward] == -1 && kAttackTables.rowStep[kDownLeft] == 1);

constexpr SquareSet FileSet(int file) { return SquareSet{0x0101010101010101} << file; }
constexpr SquareSet RowSet(int row) { return SquareSet{0xFF} << (8 * row); }

// The file and row a disambiguation text names, or -1.
struct OriginHint {
  int file = -1;
  int row = -1;
};

OriginHint ParseHint(std::string_view text) {
  OriginHint hint;
  std::size_t i = 0;
  if (i < text.size() && text[i] >= 'a' && text[i] <= 'h') hint.file = text[i++] - 'a';
  if (i < text.size() && text[i] >= '1' && text[i] <= '8') hint.row = 8 - (text[i] - '0');
  return hint;
}

SquareSet HintSet(const OriginHint& hint) {
  SquareSet set = ~SquareSet{0};
  if (hint.file >= 0) set &= FileSet(hint.file);
  if (hint.row >= 0) set &= RowSet(hint.row);
  return set;
}

// The squares from which a piece of `pieceType` and `colour` could reach
// `to` by its movement rules, `occupied` being the squares that hold a piece:
// knight and king steps, the first occupied square along each line for
// sliders, castling origins for a king, the squares behind for a pawn's
// straight move. A pawn's origin follows the hint's file and rank rather than
// its geometry, so that "exd5" looks at e4.
SquareSet CandidateOrigins(SquareSet occupied, std::uint8_t colour, std::uint8_t pieceType, int to,
                           const OriginHint& hint) {
  const int file = FileOf(to), row = RowOf(to);
  const auto t = static_cast<std::size_t>(to);
  SquareSet set = 0;
  // The first occupied square along each line of one kind: two directions
  // of each kind run towards higher square numbers, two towards lower.
  auto firstAlong = [&](int higherA, int higherB, int lowerA, int lowerB) {
    const auto& rays = kAttackTables.rayMask[t];
    auto lowest = [](SquareSet squares) { return squares & (SquareSet{0} - squares); };
    return lowest(rays[static_cast<std::size_t>(higherA)] & occupied) |
           lowest(rays[static_cast<std::size_t>(higherB)] & occupied) |
           HighestSquare(rays[static_cast<std::size_t>(lowerA)] & occupied) |
           HighestSquare(rays[static_cast<std::size_t>(lowerB)] & occupied);
  };
  auto straightLines = [&] { return firstAlong(kRightward, kDownward, kLeftward, kUpward); };
  auto diagonalLines = [&] { return firstAlong(kDownLeft, kDownRight, kUpLeft, kUpRight); };

  switch (pieceType) {
    case kPawn: {
      const int forward = colour == kWhite ? -1 : 1;
      const int behind = row - forward;
      if (hint.file >= 0 || hint.row >= 0) {
        const int originFile = hint.file >= 0 ? hint.file : file;
        const int originRow = hint.row >= 0 ? hint.row : behind;
        if (OnBoard(originFile, originRow)) set |= Bit(SquareAt(originFile, originRow));
        return set;
      }
      if (OnBoard(file, behind)) set |= Bit(SquareAt(file, behind));
      const int fourthRankRow = colour == kWhite ? 4 : 3;
      if (row == fourthRankRow) set |= Bit(SquareAt(file, behind - forward));
      return set;
    }
    case kKnight:
      set = kAttackTables.knightSet[t];
      break;
    case kBishop:
      set = diagonalLines();
      break;
    case kRook:
      set = straightLines();
      break;
    case kQueen:
      set = straightLines() | diagonalLines();
      break;
    case kKing:
      set = kAttackTables.kingSet[t];
      if (to == kC1 || to == kG1) set |= Bit(kE1);
      if (to == kC8 || to == kG8) set |= Bit(kE8);
      break;
    default:
      set = ~SquareSet{0};
      break;
  }
  return set & HintSet(hint);
}

struct Position {
  BoardSquares board;
  KingSquares kings;
};

// The position a move is looked for in: the caller's board, not a copy.
struct Before {
  const BoardSquares& board;
  KingSquares kings;
};

// The board after a move; a pawn reaching the last rank becomes `promotion`.
Position Played(const Before& before, int from, int to, std::uint8_t promotion) {
  Position after{before.board, before.kings};
  const bool promotes = (At(before.board, from) & kPawn) && (RowOf(to) == 0 || RowOf(to) == 7);
  ApplyMove(after.board, after.kings, from, to, promotes ? promotion : 0);
  return after;
}

// Whether the mover's king is safe once the move is played on a copy.
bool LeavesKingSafe(const Before& before, std::uint8_t colour, int from, int to, std::uint8_t promotion) {
  const Position after = Played(before, from, to, promotion);
  return !IsKingAttacked(after.board, after.kings, colour);
}

bool IsLegal(const Before& before, std::uint8_t colour, int from, int to, std::uint8_t promotion,
             const PositionHistory& history) {
  std::string message;
  return IsMoveValid(before.board, colour, from, to, history, message) &&
         LeavesKingSafe(before, colour, from, to, promotion);
}

// A pawn's step, double step or capture by its movement rules; an en-passant
// capture is not answered here (false).
bool PawnMoveAllowed(const BoardSquares& board, std::uint8_t colour, int from, int to) {
  const int forward = colour == kWhite ? -1 : 1;
  const int df = FileOf(to) - FileOf(from), dr = RowOf(to) - RowOf(from);
  const std::uint8_t target = At(board, to);
  if (target != 0) return (df == 1 || df == -1) && dr == forward && !(target & colour) && (target & Opponent(colour));
  if (df != 0) return false;
  if (dr == forward) return true;
  const int startRow = colour == kWhite ? 6 : 1;
  return dr == 2 * forward && RowOf(from) == startRow && At(board, from + 8 * forward) == 0;
}

// A quick answer for the common case: a piece that is not the king, not
// pinned, not taking en passant, with its king not in check, can make any move
// its movement rules allow. Knights and sliders come from their candidate
// squares already known to reach the destination; pawns are checked in full.
// False means "look closer", not "illegal".
bool SurelyLegal(const Before& before, SquareSet occupied, std::uint8_t colour, int from, int to, int inCheck,
                 const PositionHistory& history, const BoardSets* sets = nullptr) {
  if (inCheck != 0) return false;
  const std::uint8_t code = At(before.board, from);
  if (code & kKing) return false;
  if ((code & kPawn) && FileOf(from) != FileOf(to) && At(before.board, to) == 0) return false;
  const int king = before.kings.Of(colour);
  if (king < 0 || king >= 64) return false;
  if (sets ? SetsPinned(*sets, colour, from, king) : PinnedGiven(before.board, occupied, colour, from, king))
    return false;
  if (code & (kKnight | kBishop | kRook | kQueen)) return !(At(before.board, to) & colour);
  if (code & kPawn) return PawnMoveAllowed(before.board, colour, from, to);
  std::string message;
  return IsMoveValid(before.board, colour, from, to, history, message);
}

// Whether the side that just moved has mated. Only piece moves get here, so
// the position after the move never has an en-passant square.
bool Mates(const Position& after, std::uint8_t colour) {
  FENExtras position;
  position.board = after.board;
  position.sideToMove = Opponent(colour);
  return IsCheckmate(position);
}

// Whether a legal move is passed over because it does not do what the check
// mark says. Pawn and king moves are taken as written.
bool PassedOver(const Before& before, std::uint8_t colour, int from, int to, std::uint8_t promotion, int checkMark) {
  if (At(before.board, from) & (kPawn | kKing)) return false;
  const Position after = Played(before, from, to, promotion);
  const bool givesCheck = IsKingAttacked(after.board, after.kings, Opponent(colour));
  switch (checkMark) {
    case kNoCheckMark:
      return givesCheck;
    case kCheckMarked:
      return !givesCheck;
    case kMateMarked:
      return !givesCheck || !Mates(after, colour);
    default:
      return false;
  }
}

bool Holds(const BoardSquares& board, int square, std::uint8_t colour, std::uint8_t pieceType) {
  const std::uint8_t code = At(board, square);
  return (code & colour) && (code & pieceType);
}

Before Start(const BoardSquares& board) {
  Before position{board, {}};
  LocateKings(board, position.kings);
  return position;
}

}  // namespace

ResolvedMove ResolveMove(const BoardSquares& board, std::uint8_t colour, int checkMark, std::uint8_t pieceType,
                         std::string_view disambiguation, int toSquare, std::uint8_t promotion,
                         const PositionHistory& history, const KnownPosition& known) {
  ResolvedMove result;
  if (toSquare < 0 || toSquare >= 64 || (colour != kWhite && colour != kBlack) || pieceType == 0) return result;
  const Before before = known.kings ? Before{board, *known.kings} : Start(board);
  const SquareSet occupied = OccupiedSet(board);
  SquareSet candidates = CandidateOrigins(occupied, colour, pieceType, toSquare, ParseHint(disambiguation));

  SquareSet legal = 0;
  int count = 0, last = kNoSquare;
  while (candidates) {
    const int from = PopLowest(candidates);
    if (from == toSquare || !Holds(board, from, colour, pieceType)) continue;
    if (!SurelyLegal(before, occupied, colour, from, toSquare, known.inCheck, history) &&
        !IsLegal(before, colour, from, toSquare, promotion, history))
      continue;
    legal |= Bit(from);
    ++count;
    last = from;
  }
  if (count == 0) return result;
  result.found = true;
  result.from = last;
  if (count == 1) return result;
  while (legal) {
    const int from = PopLowest(legal);
    if (!PassedOver(before, colour, from, toSquare, promotion, checkMark)) {
      result.from = from;
      break;
    }
  }
  return result;
}

// Asked for nearly every move of a file read: what it calls is compiled into
// it (flatten).
[[gnu::flatten]] int PlainOrigin(const BoardSquares& board, const BoardSets& sets, const KingSquares& kings,
                                 std::uint8_t colour, std::uint8_t pieceType, std::string_view disambiguation,
                                 int toSquare, const PositionHistory& history, bool inCheck) {
  if (toSquare < 0 || toSquare >= 64 || (colour != kWhite && colour != kBlack) || pieceType == 0) return kNoSquare;
  // The pieces that could come; two or more: one may be pinned, or the check
  // mark decide.
  const SquareSet occupied = sets.occupied;
  const SquareSet movers = CandidateOrigins(occupied, colour, pieceType, toSquare, ParseHint(disambiguation)) &
                           sets.Pieces(colour, pieceType) & ~Bit(toSquare);
  if (movers == 0 || (movers & (movers - 1)) != 0) return kNoSquare;
  const int origin = std::countr_zero(movers);
  const Before before{board, kings};
  if (pieceType == kKing) {
    // A step (castling looks closer): legal when the king is safe after it.
    if (std::abs(FileOf(origin) - FileOf(toSquare)) > 1 || std::abs(RowOf(origin) - RowOf(toSquare)) > 1)
      return kNoSquare;
    if (At(board, toSquare) & colour) return kNoSquare;
    return SetsAttack(sets, occupied & ~Bit(origin), colour, toSquare) ? kNoSquare : origin;
  }
  if (!inCheck) return SurelyLegal(before, occupied, colour, origin, toSquare, 0, history, &sets) ? origin : kNoSquare;
  // In check: a move its movement rules allow is legal when it leaves the
  // king safe (which also answers for a pin).
  const bool allowed =
      (At(board, origin) & kPawn) ? PawnMoveAllowed(board, colour, origin, toSquare) : !(At(board, toSquare) & colour);
  return allowed && LeavesKingSafe(before, colour, origin, toSquare, 0) ? origin : kNoSquare;
}

ResolvedCapture ResolveCapture(const BoardSquares& board, std::uint8_t colour, int checkMark, std::uint8_t pieceType,
                               std::string_view disambiguation, std::uint8_t capturedType,
                               const PositionHistory& history) {
  ResolvedCapture result;
  if ((colour != kWhite && colour != kBlack) || pieceType == 0 || capturedType == 0) return result;
  const SquareSet allowed = HintSet(ParseHint(disambiguation));
  SquareSet movers = 0, victims = 0;
  for (int square = 0; square < 64; ++square) {
    if ((allowed & Bit(square)) && Holds(board, square, colour, pieceType)) movers |= Bit(square);
    if (Holds(board, square, Opponent(colour), capturedType)) victims |= Bit(square);
  }
  if (!movers || !victims) return result;
  const Before before = Start(board);
  while (movers) {
    const int from = PopLowest(movers);
    for (SquareSet targets = victims; targets;) {
      const int to = PopLowest(targets);
      if (!IsLegal(before, colour, from, to, 0, history)) continue;
      if (PassedOver(before, colour, from, to, 0, checkMark)) continue;
      result = {true, from, to};
      return result;
    }
  }
  return result;
}

}  // namespace varnock
