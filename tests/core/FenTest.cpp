#include <gtest/gtest.h>

#include "core/Fen.h"
#include "core/Placement.h"

namespace varnock {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

struct Verdict {
  FenCheck check;
  FENExtras extras;
};

Verdict Parse(const std::string& fen) {
  Verdict v;
  v.check = ParseFEN(fen, v.extras);
  return v;
}

void ExpectRejected(const std::string& fen, const std::string& message) {
  Verdict v = Parse(fen);
  EXPECT_FALSE(v.check.ok) << fen;
  EXPECT_TRUE(v.check.rejected) << fen;
  EXPECT_EQ(v.check.message, message) << fen;
}

void ExpectWarning(const std::string& fen, const std::string& message) {
  Verdict v = Parse(fen);
  EXPECT_FALSE(v.check.ok) << fen;
  EXPECT_FALSE(v.check.rejected) << fen;
  EXPECT_EQ(v.check.message, message) << fen;
}

TEST(Fen, StartPositionRoundTripsAndFillsEveryField) {
  Verdict v = Parse(kStart);
  ASSERT_TRUE(v.check.ok) << v.check.message;
  EXPECT_EQ(v.extras.board, StartBoard);
  EXPECT_EQ(v.extras.sideToMove, kWhite);
  EXPECT_TRUE(v.extras.whiteKingSide && v.extras.whiteQueenSide && v.extras.blackKingSide && v.extras.blackQueenSide);
  EXPECT_EQ(FormatFEN(v.extras.board, v.extras), kStart);
}

TEST(Fen, PlacementAloneMeansWhiteToMoveWithDefaults) {
  Verdict v = Parse("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  ASSERT_TRUE(v.check.ok) << v.check.message;
  EXPECT_EQ(v.extras.sideToMove, kWhite);
  EXPECT_FALSE(v.extras.whiteKingSide || v.extras.blackQueenSide);
  EXPECT_EQ(v.extras.EnPassantText(), "");
  EXPECT_EQ(v.extras.halfMoveClock, 0);
  EXPECT_EQ(v.extras.fullMoveNumber, 1);
  EXPECT_EQ(FormatFEN(v.extras.board, v.extras), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1");
}

TEST(Fen, EnPassantFieldIsCheckedCaseSensitivelyAgainstTheBoard) {
  EXPECT_TRUE(Parse("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1").check.ok);
  ExpectWarning("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq E3 0 1",
                "Invalid en-passant string 'E3'.\r\n\r\nIt is black to play.");
  // Right square, wrong side to move.
  ExpectWarning("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3 0 1",
                "Invalid en-passant string 'e3'.\r\n\r\nIt is white to play.");
  // No pawn that could have made the double step.
  ExpectWarning("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq d3 0 1",
                "Invalid en-passant string 'd3'.\r\n\r\nIt is black to play.");
  ExpectWarning("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3x 0 1",
                "The FEN en-passant string has too many characters");
  ExpectWarning("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 2 1",
                "EnPassant and half move values cannot both be set (  'e3', 2 )");
}

TEST(Fen, RowCountsRejectTheText) {
  ExpectRejected("rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                 "Program has counted 7 FEN lines.  Should be 8.");
  ExpectRejected("rnbqkbnr/pppppppp/44/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1",
                 "Program has counted 48 inside a line.\r\nShould be 8.");
  ExpectRejected("rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1",
                 "Program has counted 7 inside a line.\r\nShould be 8.");
  // The last row is checked after the run as well.
  ExpectRejected("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w - - 0 1",
                 "Program has counted 7 inside a line.\r\nShould be 8.");
  ExpectRejected("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w - - 0 1", "FEN string contains invalid character 'X'");
  // A backslash separates rows as well.
  EXPECT_TRUE(Parse("rnbqkbnr\\pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1").check.ok);
  // An absurdly long digit run saturates instead of overflowing.
  ExpectRejected("99999999999999999999/8/8/8/8/8/8/8 w - - 0 1",
                 "Program has counted 2147483647 inside a line.\r\nShould be 8.");
}

TEST(Fen, SideToMoveField) {
  ExpectWarning("4k3/8/8/8/8/8/8/4K3 bw - - 0 1", "Invalid whose go parameter");
  ExpectRejected("4k3/8/8/8/8/8/8/4K3 x - - 0 1", "Invalid whose go parameter 'x'");
  Verdict black = Parse("4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_TRUE(black.check.ok);
  EXPECT_EQ(black.extras.sideToMove, kBlack);
}

TEST(Fen, CastlingFieldWarnsButDoesNotReject) {
  ExpectWarning("r3k2r/8/8/8/8/8/8/R3K2R w KK - 0 1", "Invalid FEN castling string");
  ExpectWarning("r3k2r/8/8/8/8/8/8/R3K2R w KX - 0 1", "Invalid castling parameter 'X'");
  ExpectWarning("4k3/8/8/8/8/8/8/4K3 w K - 0 1", "Invalid castling.  White may not castle king side.");
  // A dash among the letters is skipped.
  EXPECT_TRUE(Parse("r3k2r/8/8/8/8/8/8/R3K2R w K-q - 0 1").check.ok);
}

TEST(Fen, AFormWarningStillFillsAndChecksThePosition) {
  // A doubled side letter keeps the board and the later fields.
  Verdict doubled = Parse("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR ww KQkq - 0 1");
  EXPECT_EQ(doubled.check.message, "Invalid whose go parameter");
  EXPECT_FALSE(doubled.check.rejected);
  EXPECT_EQ(doubled.extras.board, StartBoard);
  EXPECT_TRUE(doubled.extras.whiteKingSide && doubled.extras.blackQueenSide);
  // The position check still refuses what it must refuse.
  ExpectRejected("8/8/8/8/8/8/8/3kK3 w KX - 0 1", "Kings may not touch.");
  ExpectRejected("4k3/8/8/8/8/8/8/4R1K1 w KK - 0 1", "It is White to play.  The Black king is in check.");
  ExpectRejected("8/8/8/8/8/8/8/3kK3 w - e3xx 0 1", "Kings may not touch.");
  // Flags before a stray letter count; the rest of the field is passed over.
  Verdict stray = Parse("r3k2r/8/8/8/8/8/8/R3K2R w KXq - 0 1");
  EXPECT_EQ(stray.check.message, "Invalid castling parameter 'X'");
  EXPECT_TRUE(stray.extras.whiteKingSide);
  EXPECT_FALSE(stray.extras.blackQueenSide);
}

TEST(Fen, CastlingFlagsAreCheckedInOrder) {
  ExpectWarning("4k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "Invalid castling.  Black may not castle queen side.");
  ExpectWarning("r3k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "Invalid castling.  Black may not castle king side.");
  ExpectWarning("r3k2r/8/8/8/8/8/8/4K2R w KQkq - 0 1", "Invalid castling.  White may not castle queen side.");
  ExpectWarning("r3k2r/8/8/8/8/8/8/R3K3 w KQkq - 0 1", "Invalid castling.  White may not castle king side.");
}

TEST(Fen, PieceCountsWarnBeforeKingChecks) {
  ExpectWarning("P3k3/8/8/8/8/8/8/4K3 w - - 0 1", "A pawn cannot be placed on the top rank");
  ExpectWarning("4k3/8/8/8/8/8/8/p3K3 w - - 0 1", "A pawn cannot be placed on the bottom rank");
  ExpectWarning("4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - - 0 1",
                "There are an irregular number of pawns.\r\n\r\nWhite pawns = 9\r\nBlack pawns = 0");
  ExpectWarning("4k3/8/8/8/8/8/PPPPPPPP/QQ2K3 w - - 0 1",
                "Too many promotions ( 1 ) for white.\r\nNumber of pawns = 8");
  ExpectWarning("qq2k3/pppppppp/8/8/8/8/8/4K3 w - - 0 1",
                "Too many promotions ( 1 ) for black.\r\nNumber of pawns = 8");
  ExpectWarning("8/8/8/8/8/8/8/4K3 w - - 0 1",
                "There are an irregular number of kings.  Varnock might not be able to resolve checks or identify "
                "invalid king moves.\r\n\r\nWhite kings = 1\r\nBlack kings = 0");
}

TEST(Fen, OnlyTouchingKingsAndACheckOnTheSideNotToMoveReject) {
  ExpectRejected("8/8/8/8/8/8/8/3kK3 w - - 0 1", "Kings may not touch.");
  ExpectRejected("4k3/8/8/8/8/8/8/r3K3 b - - 0 1", "It is Black to play.  The White king is in check.");
  ExpectRejected("4k3/8/8/8/8/8/8/4R1K1 w - - 0 1", "It is White to play.  The Black king is in check.");
  // The side to move may be in check.
  EXPECT_TRUE(Parse("4k3/8/8/8/8/8/8/4R1K1 b - - 0 1").check.ok);
}

TEST(Fen, HalfMoveClockLimit) {
  ExpectWarning("4k3/8/8/8/8/8/8/4K3 w - - 3 1",
                "The number of half moves is excessive.\r\n\r\nHalf moves = 3\r\nFull moves = 1");
  EXPECT_TRUE(Parse("4k3/8/8/8/8/8/8/4K3 w - - 1 1").check.ok);
  EXPECT_TRUE(Parse("4k3/8/8/8/8/8/8/4K3 b - - 2 1").check.ok);
  // Signs and junk after digits read as a C library would.
  Verdict v = Parse("4k3/8/8/8/8/8/8/4K3 w - - +4x 7z");
  EXPECT_TRUE(v.check.ok);
  EXPECT_EQ(v.extras.halfMoveClock, 4);
  EXPECT_EQ(v.extras.fullMoveNumber, 7);
}

TEST(Fen, PlacementRoundTripsThroughBoards) {
  const char* placements[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8",
      "8/8/8/8/8/8/8/8",
  };
  for (const char* placement : placements) {
    BoardSquares board;
    BoardFromPlacement(placement, board);
    EXPECT_EQ(PlacementFromBoard(board), placement);
  }
  // Stray bytes write nothing and count as nothing.
  BoardSquares board{};
  board[0] = 129;
  board[1] = 3;
  board[2] = 130;
  EXPECT_EQ(PlacementFromBoard(board), "kK5/8/8/8/8/8/8/8");
}

TEST(Fen, KingSearchCountsAndKeepsTheLastSquare) {
  BoardSquares board;
  BoardFromPlacement("K6K/8/8/8/8/8/8/k7", board);
  KingSearch white = FindKing(board, kWhite);
  EXPECT_EQ(white.count, 2);
  EXPECT_EQ(white.square, 7);
  KingSearch black = FindKing(board, kBlack);
  EXPECT_EQ(black.count, 1);
  EXPECT_EQ(black.square, 56);
}

}  // namespace
}  // namespace varnock
