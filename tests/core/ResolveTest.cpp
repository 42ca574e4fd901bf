#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/Fen.h"
#include "core/Legality.h"
#include "core/Resolve.h"

namespace varnock {
namespace {

int Sq(std::string_view name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

// A position with the history its FEN gives.
struct Game {
  explicit Game(const char* fen) {
    std::string message;
    bool rejected = false;
    ParseFEN(fen, message, extras, rejected);
    EXPECT_FALSE(rejected) << fen << ": " << message;
  }
  FENExtras extras;
  FenHistory history{extras};

  ResolvedMove Move(int checkMark, std::uint8_t piece, std::string_view hint, const char* to,
                    std::uint8_t promotion = 0) const {
    return ResolveMove(extras.board, extras.sideToMove, checkMark, piece, hint, Sq(to), promotion, history);
  }
  ResolvedCapture Capture(int checkMark, std::uint8_t piece, std::string_view hint, std::uint8_t captured) const {
    return ResolveCapture(extras.board, extras.sideToMove, checkMark, piece, hint, captured, history);
  }
};

void ExpectFrom(const ResolvedMove& resolved, const char* from) {
  ASSERT_TRUE(resolved.found);
  EXPECT_EQ(SquareName(resolved.from), from);
}

TEST(ResolveMove, PawnsFromTheSquaresBehind) {
  const Game start("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  ExpectFrom(start.Move(kNoCheckMark, kPawn, "", "e4"), "e2");
  ExpectFrom(start.Move(kNoCheckMark, kPawn, "", "e3"), "e2");
  EXPECT_FALSE(start.Move(kNoCheckMark, kPawn, "", "e5").found);
  ExpectFrom(start.Move(kNoCheckMark, kKnight, "", "f3"), "g1");
  EXPECT_FALSE(start.Move(kNoCheckMark, kBishop, "", "c4").found);  // blocked

  const Game blocked("rnbqkbnr/ppp1pppp/3p4/8/8/3P4/PPP1PPPP/RNBQKBNR b KQkq - 0 2");
  EXPECT_FALSE(blocked.Move(kNoCheckMark, kPawn, "", "d4").found);
  ExpectFrom(blocked.Move(kNoCheckMark, kPawn, "", "d5"), "d6");

  // A file letter puts a pawn's origin one row behind the target.
  const Game captures("rnbqkbnr/ppp1pppp/8/3p4/2P1P3/8/PP1P1PPP/RNBQKBNR w KQkq d6 0 2");
  ExpectFrom(captures.Move(kNoCheckMark, kPawn, "ex", "d5"), "e4");
  ExpectFrom(captures.Move(kNoCheckMark, kPawn, "c", "d5"), "c4");
  EXPECT_FALSE(captures.Move(kNoCheckMark, kPawn, "a", "d5").found);

  // En passant only straight after the double step.
  const Game enPassant("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
  ExpectFrom(enPassant.Move(kNoCheckMark, kPawn, "e", "f6"), "e5");
  const Game late("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq - 0 3");
  EXPECT_FALSE(late.Move(kNoCheckMark, kPawn, "e", "f6").found);

  const Game promotion("8/4P1k1/8/8/8/8/8/K7 w - - 0 1");
  ExpectFrom(promotion.Move(kNoCheckMark, kPawn, "", "e8", kQueen), "e7");
}

TEST(ResolveMove, OriginHintsChooseAmongPieces) {
  const Game three("4k3/8/8/8/8/1N3N2/8/1N2K3 w - - 0 1");
  ExpectFrom(three.Move(kNoCheckMark, kKnight, "b1", "d2"), "b1");
  ExpectFrom(three.Move(kNoCheckMark, kKnight, "1", "d2"), "b1");
  ExpectFrom(three.Move(kNoCheckMark, kKnight, "f", "d2"), "f3");
  ExpectFrom(three.Move(kNoCheckMark, kKnight, "3x", "d2"), "b3");  // a trailing "x" is ignored
  EXPECT_FALSE(three.Move(kNoCheckMark, kKnight, "c", "d2").found);
  // Without a hint the checks cannot tell them apart: the first in square order.
  ExpectFrom(three.Move(kNoCheckMark, kKnight, "", "d2"), "b3");

  const Game castling("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  ExpectFrom(castling.Move(kNoCheckMark, kKing, "", "g1"), "e1");
  ExpectFrom(castling.Move(kNoCheckMark, kRook, "", "d1"), "a1");
}

TEST(ResolveMove, PinnedPiecesAreNotCandidates) {
  // The knight on f3 (scanned before b1) is pinned by the bishop on d5.
  const Game pinned("4k3/8/8/3b4/8/5N2/8/1N5K w - - 0 1");
  ExpectFrom(pinned.Move(kNoCheckMark, kKnight, "", "d2"), "b1");
  // A pinned rook may still move along the pin line.
  const Game alongPin("4r1k1/8/8/8/8/4R3/8/R3K3 w - - 0 1");
  ExpectFrom(alongPin.Move(kNoCheckMark, kRook, "", "e5"), "e3");
  EXPECT_FALSE(alongPin.Move(kNoCheckMark, kRook, "", "b3").found);
}

TEST(ResolveMove, ACandidateMustGetTheKingOutOfCheck) {
  // The bishop on h6 checks along d2; the knight on c4 would block but is
  // pinned on the c-file, so only the knight on b3 may go to d2.
  const Game blocks("2r1k3/8/7b/8/2N5/1N6/8/2K5 w - - 0 1");
  ExpectFrom(blocks.Move(kNoCheckMark, kKnight, "", "d2"), "b3");
  // Checked by a knight, no knight move to d2 helps: nothing resolves
  // (testing only whether the mover was pinned would accept both).
  const Game knightCheck("4k3/8/8/8/8/1N3N2/3n4/5K2 w - - 0 1");
  EXPECT_FALSE(knightCheck.Move(kNoCheckMark, kKnight, "", "d4").found);
  ExpectFrom(knightCheck.Move(kNoCheckMark, kKnight, "", "d2"), "b3");  // taking the checker
  // The king may not step onto a square the enemy king guards.
  const Game kings("8/8/8/3k4/8/4K3/8/8 w - - 0 1");
  EXPECT_FALSE(kings.Move(kNoCheckMark, kKing, "", "e4").found);
  ExpectFrom(kings.Move(kNoCheckMark, kKing, "", "e2"), "e3");
}

TEST(ResolveMove, CheckMarkChoosesAndFallsBackToTheLastLegal) {
  // Both rooks reach e1; only Re3-e1 gives check, by uncovering the bishop
  // on c1 against the king on g5. The e3 rook comes first in square order.
  const Game rooks("8/8/8/6k1/8/4R3/8/K1B4R w - - 0 1");
  ExpectFrom(rooks.Move(kCheckMarked, kRook, "", "e1"), "e3");
  ExpectFrom(rooks.Move(kNoCheckMark, kRook, "", "e1"), "h1");
  ExpectFrom(rooks.Move(kMateMarked, kRook, "", "e1"), "h1");  // fits neither: the later legal rook

  // Two knights check from f7; only from e5 is it mate, since the knight
  // left on h6 guards g8.
  const Game knights("7k/6pp/7N/4N3/8/8/8/K7 w - - 0 1");
  ExpectFrom(knights.Move(kCheckMarked, kKnight, "", "f7"), "h6");
  ExpectFrom(knights.Move(kMateMarked, kKnight, "", "f7"), "e5");
  ExpectFrom(knights.Move(kNoCheckMark, kKnight, "", "f7"), "e5");
}

TEST(ResolveCapture, PieceTakesPieceType) {
  // BxN: only the bishop on b5 can take the knight on c6.
  const Game bishops("r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 4");
  ResolvedCapture bxn = bishops.Capture(kNoCheckMark, kBishop, "", kKnight);
  ASSERT_TRUE(bxn.found);
  EXPECT_EQ(SquareName(bxn.from), "b5");
  EXPECT_EQ(SquareName(bxn.to), "c6");
  EXPECT_FALSE(bishops.Capture(kNoCheckMark, kBishop, "", kRook).found);

  // PxP with two pawn captures: the origin hint picks one, else the first pair.
  const Game pawns("rnbqkbnr/ppp2ppp/8/3pp3/2P1P3/8/PP1P1PPP/RNBQKBNR w KQkq - 0 3");
  ResolvedCapture first = pawns.Capture(kNoCheckMark, kPawn, "", kPawn);
  ASSERT_TRUE(first.found);
  EXPECT_EQ(SquareName(first.from) + SquareName(first.to), "c4d5");
  ResolvedCapture hinted = pawns.Capture(kNoCheckMark, kPawn, "e", kPawn);
  ASSERT_TRUE(hinted.found);
  EXPECT_EQ(SquareName(hinted.from) + SquareName(hinted.to), "e4d5");

  // A capture whose check does not match the mark is not taken, and there is
  // no fallback: RxN gives check here, so without "+" nothing resolves.
  const Game check("4k3/8/8/8/4n3/8/8/K3R3 w - - 0 1");
  EXPECT_FALSE(check.Capture(kNoCheckMark, kRook, "", kKnight).found);
  ResolvedCapture rxn = check.Capture(kCheckMarked, kRook, "", kKnight);
  ASSERT_TRUE(rxn.found);
  EXPECT_EQ(SquareName(rxn.to), "e4");
}

}  // namespace
}  // namespace varnock
