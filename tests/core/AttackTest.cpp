// The quick check test, the pin test, the king-step test and the quick origin
// finder agree with the full attack scan and the legal move list on every
// position and move of several perft trees.
#include <gtest/gtest.h>

#include <string>

#include "core/Attack.h"
#include "core/AttackTables.h"
#include "core/BoardSets.h"
#include "core/Fen.h"
#include "core/Legality.h"
#include "core/MoveGen.h"
#include "core/Resolve.h"
#include "core/SetAttacks.h"

namespace varnock {
namespace {

struct Tally {
  int checks = 0;
  int quiet = 0;
  int pins = 0;
  int unsafeSteps = 0;
  int safeSteps = 0;
  int plainAnswers = 0;
  int plainAnswersInCheck = 0;
  int castlings = 0;
  int setMoves = 0;
  int setAttacks = 0;
  int setPins = 0;
};

// Every king step: AttackedOnceVacated answers as playing the step on a copy
// and scanning for attacks does (the king no longer blocks the line it
// stood on).
void CheckKingSteps(const FENExtras& position, const KingSquares& kings, Tally& tally) {
  const std::uint8_t side = position.sideToMove;
  const int king = kings.Of(side);
  if (king < 0 || king >= 64) return;
  for (int df = -1; df <= 1; ++df) {
    for (int dr = -1; dr <= 1; ++dr) {
      const int file = FileOf(king) + df, row = RowOf(king) + dr;
      if ((df == 0 && dr == 0) || !OnBoard(file, row)) continue;
      const int to = SquareAt(file, row);
      if (position.board[static_cast<std::size_t>(to)] & side) continue;
      BoardSquares after = position.board;
      KingSquares afterKings = kings;
      ApplyMove(after, afterKings, king, to, 0);
      const bool attacked = IsKingAttacked(after, afterKings, side);
      EXPECT_EQ(AttackedOnceVacated(position.board, side, to, king), attacked)
          << FormatFEN(position.board, position) << " K" << SquareName(king) << SquareName(to);
      ++(attacked ? tally.unsafeSteps : tally.safeSteps);
    }
  }
}

// Where the quick origin finder answers for a piece type and a target, its
// answer is the one legal move of that type to that target; any target and
// type are asked, legal or not.
void CheckPlainOrigins(const FENExtras& position, const KingSquares& kings, const std::vector<Move>& legal,
                       const PositionHistory& history, Tally& tally) {
  const std::uint8_t side = position.sideToMove;
  const bool inCheck = IsKingAttacked(position.board, kings, side);
  const BoardSets sets = BoardSets::Of(position.board);
  for (std::uint8_t type : {kPawn, kKnight, kBishop, kRook, kQueen, kKing}) {
    for (int to = 0; to < 64; ++to) {
      if (type == kPawn && (RowOf(to) == 0 || RowOf(to) == 7)) continue;  // promotions look closer
      const int from = PlainOrigin(position.board, sets, kings, side, type, "", to, history, inCheck);
      int count = 0;
      bool found = false;
      for (const Move& move : legal) {
        if (move.to != to || !(position.board[move.from] & type)) continue;
        ++count;
        found = found || move.from == from;
      }
      if (from == kNoSquare) continue;
      EXPECT_TRUE(found && count == 1) << FormatFEN(position.board, position) << " " << SquareName(from)
                                       << SquareName(to) << " of " << count << " legal moves there";
      ++(inCheck ? tally.plainAnswersInCheck : tally.plainAnswers);
    }
  }
}

// Walks the legal moves to `depth` plies. Castling rights carry over as they
// were and en passant is only taken from the starting FEN: enough to visit
// many thousands of real positions.
void Walk(const FENExtras& position, int depth, Tally& tally) {
  KingSquares kings;
  LocateKings(position.board, kings);
  const std::uint8_t side = position.sideToMove;
  const std::uint8_t other = Opponent(side);
  FenHistory history(position);

  // Every own piece: pinned by the quick test exactly when the full test,
  // which tries the piece's removal, says so.
  for (int square = 0; square < 64; ++square) {
    const std::uint8_t code = position.board[static_cast<std::size_t>(square)];
    if (!(code & side) || (code & kKing)) continue;
    BoardSquares without = position.board;
    without[static_cast<std::size_t>(square)] = 0;
    const bool exposes = IsKingAttacked(without, kings, side) && !IsKingAttacked(position.board, kings, side);
    const bool pinned = IsPinned(position.board, side, square, kings.Of(side));
    // A piece whose removal exposes the king is pinned; a pinned piece always
    // exposes it unless the king is in check already.
    if (exposes) {
      EXPECT_TRUE(pinned) << FormatFEN(position.board, position) << " square " << square;
    }
    if (pinned && !IsKingAttacked(position.board, kings, side)) {
      EXPECT_TRUE(exposes) << FormatFEN(position.board, position) << " square " << square;
    }
    tally.pins += pinned;
  }

  // The square sets of the position are the ones the squares give.
  const BoardSets sets = BoardSets::Of(position.board);
  EXPECT_EQ(sets.occupied, OccupiedSet(position.board));
  for (std::uint8_t colour : {kWhite, kBlack})
    for (std::uint8_t type : {kPawn, kKnight, kBishop, kRook, kQueen, kKing})
      EXPECT_EQ(sets.Pieces(colour, type), PieceSet(position.board, colour, type))
          << FormatFEN(position.board, position);

  // The answers from the square sets are those of the squares: attacks on
  // every square for both sides, also once the king has left its square,
  // and pins of every piece.
  for (std::uint8_t colour : {kWhite, kBlack}) {
    const int king = kings.Of(colour);
    const std::uint64_t withoutKing = sets.occupied & ~(std::uint64_t{1} << king);
    BoardSquares vacated = position.board;
    vacated[static_cast<std::size_t>(king)] = 0;
    for (int square = 0; square < 64; ++square) {
      const bool attacked = IsSquareAttacked(position.board, colour, square).attacked;
      EXPECT_EQ(SetsAttack(sets, sets.occupied, colour, square), attacked)
          << FormatFEN(position.board, position) << " " << SquareName(square);
      EXPECT_EQ(SetsAttack(sets, withoutKing, colour, square), IsSquareAttacked(vacated, colour, square).attacked)
          << FormatFEN(position.board, position) << " without the king, " << SquareName(square);
      tally.setAttacks += attacked;
      if (!(position.board[static_cast<std::size_t>(square)] & colour) || square == king) continue;
      const bool pinned = PinnedGiven(position.board, sets.occupied, colour, square, king);
      EXPECT_EQ(SetsPinned(sets, colour, square, king), pinned)
          << FormatFEN(position.board, position) << " " << SquareName(square);
      tally.setPins += pinned;
    }
  }

  CheckKingSteps(position, kings, tally);
  // Castling the movement rules allow leaves the king safe: the reader asks
  // no more than that.
  for (const int to : {side == kWhite ? kG1 : kG8, side == kWhite ? kC1 : kC8}) {
    const int from = side == kWhite ? kE1 : kE8;
    if (!(position.board[static_cast<std::size_t>(from)] & kKing)) continue;
    std::string message;
    const bool valid = IsMoveValid(position.board, side, from, to, history, message);
    EXPECT_EQ(valid, IsLegalMove(position.board, kings, side,
                                 Move{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to), 0}, history))
        << FormatFEN(position.board, position) << " castling to " << SquareName(to);
    // The answer from the square sets is the movement rules' answer.
    if (position.board[static_cast<std::size_t>(from)] == (kKing | side)) {
      EXPECT_EQ(SetsCastlingAllowed(position.board, sets, side, to == kG1 || to == kG8, history), valid)
          << FormatFEN(position.board, position) << " castling to " << SquareName(to);
    }
    tally.castlings += valid;
  }
  const std::vector<Move> legal = GenerateLegalMoves(position.board, kings, side, history);
  if (depth > 1 || IsKingAttacked(position.board, kings, side))
    CheckPlainOrigins(position, kings, legal, history, tally);
  for (const Move& move : legal) {
    FENExtras next = position;
    KingSquares nextKings = kings;
    const AppliedMove applied = ApplyMove(next.board, nextKings, move.from, move.to, move.promotion);
    next.sideToMove = other;
    next.SetEnPassant("-");
    // The square sets follow an ordinary move as deriving them afresh gives them.
    if (applied.kind == kOrdinary) {
      BoardSets sets = BoardSets::Of(position.board);
      sets.Move(move.from, move.to, position.board[move.from], position.board[move.to]);
      EXPECT_EQ(sets, BoardSets::Of(next.board))
          << FormatFEN(position.board, position) << " " << SquareName(move.from) << SquareName(move.to);
      ++tally.setMoves;
    }
    if (applied.kind == kOrdinary || applied.kind == kPromotion) {
      const bool full = IsKingAttacked(next.board, nextKings, other);
      EXPECT_EQ(MoveGivesCheck(next.board, nextKings.Of(other), move.from, move.to), full)
          << FormatFEN(position.board, position) << " " << SquareName(move.from) << SquareName(move.to);
      ++(full ? tally.checks : tally.quiet);
    }
    if (depth > 1) Walk(next, depth - 1, tally);
  }
}

TEST(Attack, QuickTestsAgreeWithTheFullScanAndTheLegalMoves) {
  const char* fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
      "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
  };
  Tally tally;
  for (const char* fen : fens) {
    FENExtras position;
    ASSERT_FALSE(ParseFEN(fen, position).rejected) << fen;
    Walk(position, 3, tally);
  }
  // The trees hold plenty of each kind.
  EXPECT_GT(tally.checks, 1000);
  EXPECT_GT(tally.quiet, 100000);
  EXPECT_GT(tally.pins, 1000);
  EXPECT_GT(tally.unsafeSteps, 1000);
  EXPECT_GT(tally.safeSteps, 10000);
  EXPECT_GT(tally.plainAnswers, 1000);
  EXPECT_GT(tally.plainAnswersInCheck, 100);
  EXPECT_GT(tally.castlings, 1000);
  EXPECT_GT(tally.setMoves, 100000);
  EXPECT_GT(tally.setAttacks, 100000);
  EXPECT_GT(tally.setPins, 1000);
}

}  // namespace
}  // namespace varnock
