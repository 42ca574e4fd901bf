#include <gtest/gtest.h>

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Legality.h"
#include "core/MoveGen.h"

namespace varnock {
namespace {

int Sq(const char* name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

FENExtras Position(const std::string& fen) {
  FENExtras extras;
  FenCheck check = ParseFEN(fen, extras);
  EXPECT_FALSE(check.rejected) << fen << ": " << check.message;
  return extras;
}

// A history with a given previous move and square changes, for legality
// questions that depend on how the position was reached.
class ScriptedHistory : public PositionHistory {
 public:
  LastMove last;
  const FENExtras* composed = nullptr;
  std::uint64_t changedSquares = 0;
  bool granted = true;
  LastMove PreviousMove() const override { return last; }
  const FENExtras* ComposedPosition() const override { return composed; }
  bool SquareUnchanged(int square) const override { return !((changedSquares >> square) & 1); }
  bool CastlingGranted(std::uint8_t, bool) const override { return granted; }
};

bool Valid(const FENExtras& p, const char* from, const char* to, const PositionHistory& h,
           std::string* message = nullptr) {
  std::string text;
  bool valid = IsMoveValid(p.board, p.sideToMove, Sq(from), Sq(to), h, text);
  if (message) *message = text;
  return valid;
}

TEST(Legality, PieceMovementFromTheStart) {
  FENExtras start = Position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  ScriptedHistory h;
  EXPECT_TRUE(Valid(start, "e2", "e4", h));
  EXPECT_TRUE(Valid(start, "e2", "e3", h));
  EXPECT_FALSE(Valid(start, "e2", "e5", h));
  EXPECT_FALSE(Valid(start, "e1", "e2", h));  // own piece
  EXPECT_TRUE(Valid(start, "b1", "c3", h));
  EXPECT_FALSE(Valid(start, "b1", "d2", h));
  EXPECT_FALSE(Valid(start, "f1", "c4", h));  // blocked
  EXPECT_FALSE(Valid(start, "a1", "a3", h));
}

TEST(Legality, PawnDoubleStepNeedsBothSquaresEmpty) {
  FENExtras p = Position("4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1");
  ScriptedHistory h;
  EXPECT_FALSE(Valid(p, "e2", "e4", h));
  EXPECT_FALSE(Valid(p, "e2", "e3", h));
  p = Position("4k3/8/8/8/4n3/8/4P3/4K3 w - - 0 1");
  EXPECT_FALSE(Valid(p, "e2", "e4", h));
  EXPECT_TRUE(Valid(p, "e2", "e3", h));
}

TEST(Legality, EnPassantOnlyRightAfterTheDoubleStep) {
  // After 1.e4 d5 2.e5 f5.
  FENExtras p = Position("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
  ScriptedHistory afterDoubleStep;
  afterDoubleStep.last = {true, Sq("f7"), Sq("f5"), kBlack};
  EXPECT_TRUE(Valid(p, "e5", "f6", afterDoubleStep));
  ScriptedHistory later;
  later.last = {true, Sq("g8"), Sq("f6"), kBlack};
  std::string message;
  EXPECT_FALSE(Valid(p, "e5", "f6", later, &message));
  EXPECT_EQ(message, "White: Invalid en passant capture 'e5-f6'.");
  // d5 was not a double step just played.
  EXPECT_FALSE(Valid(p, "e5", "d6", afterDoubleStep, &message));
  EXPECT_EQ(message, "White: Invalid en passant capture 'e5-d6'.");
}

TEST(Legality, SetUpPositionAllowsEnPassantOnlyOnItsNamedSquare) {
  FENExtras withField = Position("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
  FenHistory named(withField);
  EXPECT_TRUE(Valid(withField, "e5", "d6", named));
  FENExtras without = Position("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1");
  FenHistory none(without);
  std::string message;
  EXPECT_FALSE(Valid(without, "e5", "d6", none, &message));
  EXPECT_EQ(message, "White: Invalid en passant capture 'e5-d6'.");
}

TEST(Legality, CastlingRecognitionAndItsMessages) {
  ScriptedHistory h;
  // A bishop on f1: not castling, so an ordinary (invalid) king move.
  FENExtras blocked = Position("r3k2r/8/8/8/8/8/8/R3KB1R w KQkq - 0 1");
  std::string message;
  EXPECT_FALSE(Valid(blocked, "e1", "g1", h, &message));
  EXPECT_EQ(message, "");

  FENExtras open = Position("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  EXPECT_TRUE(Valid(open, "e1", "g1", h));
  EXPECT_TRUE(Valid(open, "e1", "c1", h));
  FENExtras black = open;
  black.sideToMove = kBlack;
  EXPECT_TRUE(Valid(black, "e8", "c8", h));

  FENExtras covered = Position("r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1");
  EXPECT_FALSE(Valid(covered, "e1", "g1", h, &message));
  EXPECT_EQ(message, "White: Invalid castling.  Transit square is covered.");
  EXPECT_TRUE(Valid(covered, "e1", "c1", h));

  FENExtras checked = Position("r3k2r/8/8/8/8/8/4r3/R3K2R w KQkq - 0 1");
  EXPECT_FALSE(Valid(checked, "e1", "c1", h, &message));
  EXPECT_EQ(message, "White: Invalid castling.  King is in check.");

  ScriptedHistory kingMoved;
  kingMoved.changedSquares = std::uint64_t{1} << Sq("e1");
  EXPECT_FALSE(Valid(open, "e1", "g1", kingMoved, &message));
  EXPECT_EQ(message, "White: Invalid castling.  King has already moved.");
  ScriptedHistory rookMoved;
  rookMoved.changedSquares = std::uint64_t{1} << Sq("h8");
  EXPECT_FALSE(Valid(black, "e8", "g8", rookMoved, &message));
  EXPECT_EQ(message, "Black: Invalid castling.  Rook has already moved.");
  EXPECT_TRUE(Valid(black, "e8", "c8", rookMoved));
}

TEST(Legality, SetUpPositionCastlesOnlyWithItsRights) {
  FENExtras noRights = Position("r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1");
  FenHistory none(noRights);
  std::string message;
  EXPECT_FALSE(Valid(noRights, "e1", "g1", none, &message));
  EXPECT_EQ(message, "White: Invalid castling.  King has already moved.");
  FENExtras queenSideOnly = Position("r3k2r/8/8/8/8/8/8/R3K2R w Q - 0 1");
  FenHistory queenSide(queenSideOnly);
  EXPECT_FALSE(Valid(queenSideOnly, "e1", "g1", queenSide, &message));
  EXPECT_EQ(message, "White: Invalid castling.  Rook has already moved.");
  EXPECT_TRUE(Valid(queenSideOnly, "e1", "c1", queenSide));
}

TEST(Legality, ApplyMoveKindsAndKingSquares) {
  FENExtras p = Position("r3k2r/8/8/3pP3/8/8/6p1/R3K2R w KQkq d6 0 1");
  KingSquares kings;
  LocateKings(p.board, kings);

  BoardSquares b = p.board;
  KingSquares k = kings;
  AppliedMove castle = ApplyMove(b, k, Sq("e1"), Sq("g1"), 0);
  EXPECT_EQ(castle.kind, kCastling);
  EXPECT_EQ(b[Sq("f1")], kRook | kWhite);
  EXPECT_EQ(b[Sq("h1")], 0);
  EXPECT_EQ(k.white, Sq("g1"));

  b = p.board;
  k = kings;
  AppliedMove ep = ApplyMove(b, k, Sq("e5"), Sq("d6"), 0);
  EXPECT_EQ(ep.kind, kEnPassant);
  EXPECT_TRUE(ep.capture);
  EXPECT_EQ(b[Sq("d5")], 0);

  b = p.board;
  k = kings;
  AppliedMove promote = ApplyMove(b, k, Sq("g2"), Sq("h1"), kKnight);
  EXPECT_EQ(promote.kind, kPromotion);
  EXPECT_TRUE(promote.capture);
  EXPECT_EQ(b[Sq("h1")], kKnight | kBlack);

  // An irregular capture of a king rescans the king squares.
  FENExtras kingTaken = Position("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
  b = kingTaken.board;
  LocateKings(b, k);
  ApplyMove(b, k, Sq("a1"), Sq("e8"), 0);
  EXPECT_EQ(k.black, kNoSquare);
}

TEST(Legality, PinsAndAttacks) {
  FENExtras p = Position("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
  EXPECT_TRUE(IsPinned(p.board, kWhite, Sq("e2"), Sq("e1")));
  EXPECT_FALSE(IsPinned(p.board, kBlack, Sq("e7"), Sq("e8")));
  KingSquares kings;
  LocateKings(p.board, kings);
  EXPECT_FALSE(IsLegalMove(p.board, kings, kWhite,
                           {static_cast<std::uint8_t>(Sq("e2")), static_cast<std::uint8_t>(Sq("c3")), 0},
                           FenHistory(p)));
  // The knight is tried before the rays and reported as the attacker.
  FENExtras twoAttackers = Position("4k3/8/8/8/8/3n4/8/4K2r w - - 0 1");
  AttackResult attack = IsSquareAttacked(twoAttackers.board, kWhite, Sq("e1"));
  EXPECT_TRUE(attack.attacked);
  EXPECT_EQ(attack.attacker, Sq("d3"));
  // Pawns attack forwards only.
  FENExtras pawns = Position("4k3/8/8/8/3p4/8/8/4K3 w - - 0 1");
  EXPECT_TRUE(IsSquareAttacked(pawns.board, kWhite, Sq("e3")).attacked);
  EXPECT_FALSE(IsSquareAttacked(pawns.board, kWhite, Sq("e5")).attacked);
}

TEST(Legality, CheckmateAndStalemateAreExact) {
  // Fool's mate.
  FENExtras fools = Position("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
  EXPECT_TRUE(IsCheckmate(fools));
  EXPECT_FALSE(IsStalemate(fools));
  FENExtras lone = Position("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  EXPECT_TRUE(IsStalemate(lone));
  EXPECT_FALSE(IsCheckmate(lone));
  // Check that can only be answered by an en-passant capture.
  FENExtras epEscape = Position("8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1");
  EXPECT_FALSE(IsCheckmate(epEscape));
  // The king is boxed in, but the pinned rook can move along the pin line.
  FENExtras pinnedSlider = Position("8/8/8/8/8/k7/8/KR5r w - - 0 1");
  EXPECT_FALSE(IsStalemate(pinnedSlider));
  EXPECT_FALSE(IsCheckmate(pinnedSlider));
  // Double check: capturing or blocking one checker does not help.
  FENExtras doubleCheck = Position("3qkb2/3p1p2/3N4/8/8/8/8/4R1K1 b - - 0 1");
  EXPECT_TRUE(IsCheckmate(doubleCheck));
}

}  // namespace
}  // namespace varnock
