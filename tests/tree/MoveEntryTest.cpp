#include <gtest/gtest.h>

#include "core/Fen.h"
#include "support/ScriptedPrompt.h"
#include "support/TreeTesting.h"
#include "tree/GameFen.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

using testing::Dump;
using testing::MainLineNode;
using testing::Play;
using testing::ScriptedPrompt;
using testing::Square;

struct Game {
  NodeStore store;
  GameTree game{store};
  ScriptedPrompt prompt;

  EntryOutcome Try(const char* from, const char* to) { return PlayMove(game, Square(from), Square(to), prompt); }
  void SetUp(const char* fen) {
    FENExtras position;
    FenCheck check = ParseFEN(fen, position);
    ASSERT_FALSE(check.rejected) << check.message;
    ComposeRoot(game, position);
  }
};

TEST(MoveEntry, RefusalMessagesNameTheMoverAndTheMove) {
  Game g;
  std::string before = Dump(g.game);
  EXPECT_EQ(g.Try("e2", "e5"), EntryOutcome::Refused);
  EXPECT_EQ(g.game.statusText, "White: Invalid Move 'e2-e5'.");
  EXPECT_EQ(g.Try("b1", "d3"), EntryOutcome::Refused);
  EXPECT_EQ(g.game.statusText, "White: Invalid Move 'Nb1-d3'.");
  EXPECT_EQ(g.Try("e1", "g1"), EntryOutcome::Refused);  // bishop on f1: not castling
  EXPECT_EQ(g.game.statusText, "White: Invalid Move 'Ke1-g1'.");
  EXPECT_EQ(Dump(g.game), before);
  EXPECT_TRUE(g.prompt.Records().empty());

  ASSERT_TRUE(Play(g.game, "e2e4 e7e5 g1f3 b8c6"));
  EXPECT_EQ(g.Try("e8", "f7"), EntryOutcome::Refused);  // White to move: a black piece
  EXPECT_EQ(g.game.statusText, "White: Invalid Move 'Ke8-f7'.");
  Game pinned;
  pinned.SetUp("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
  EXPECT_EQ(pinned.Try("e2", "c3"), EntryOutcome::Refused);
  EXPECT_EQ(pinned.game.statusText, "White: Invalid Move 'Ne2-c3'.  King is in check.");
  Game kings;
  kings.SetUp("8/8/8/3k4/8/3K4/8/8 w - - 0 1");
  EXPECT_EQ(kings.Try("d3", "d4"), EntryOutcome::Refused);
  EXPECT_EQ(kings.game.statusText, "White: Invalid Move 'Kd3-d4'.  King is in check.");
  Game pawn;
  pawn.SetUp("4k3/8/8/8/8/8/3P4/r3K3 w - - 0 1");
  EXPECT_EQ(pawn.Try("d2", "d3"), EntryOutcome::Refused);
  EXPECT_EQ(pawn.game.statusText, "White: Invalid Move 'd2-d3'.  King is in check.");
}

TEST(MoveEntry, CastlingAndEnPassantMessagesStandUnchanged) {
  Game g;
  ASSERT_TRUE(Play(g.game, "e2e4 d7d5 e4e5 f7f5"));
  ASSERT_EQ(g.Try("e5", "f6"), EntryOutcome::Added);
  GoToNode(g.game, MainLineNode(g.game, 4));
  ASSERT_TRUE(Play(g.game, "g1f3 b8c6"));
  EXPECT_EQ(g.Try("e5", "f6"), EntryOutcome::Refused);
  EXPECT_EQ(g.game.statusText, "White: Invalid en passant capture 'e5-f6'.");

  Game castle;
  ASSERT_TRUE(Play(castle.game, "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1e2 g8f6 e2e1 d7d6"));
  EXPECT_EQ(castle.Try("e1", "g1"), EntryOutcome::Refused);
  EXPECT_EQ(castle.game.statusText, "White: Invalid castling.  King has already moved.");
  Game transit;
  transit.SetUp("4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1");
  EXPECT_EQ(transit.Try("e1", "g1"), EntryOutcome::Refused);
  EXPECT_EQ(transit.game.statusText, "White: Invalid castling.  Transit square is covered.");
  EXPECT_EQ(transit.Try("e1", "c1"), EntryOutcome::Added);
}

TEST(MoveEntry, PromotionAsksForThePieceAndCancelLeavesTheGame) {
  Game g;
  g.SetUp("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
  std::string before = Dump(g.game);
  g.prompt.CancelPick();
  EXPECT_EQ(g.Try("b7", "b8"), EntryOutcome::Refused);
  EXPECT_EQ(g.game.statusText, "Promotion abandoned");
  EXPECT_EQ(g.prompt.Last().caption, " Promotion Piece");
  EXPECT_EQ(g.prompt.Last().text, "QUEEN|KNIGHT|ROOK|BISHOP");
  EXPECT_EQ(Dump(g.game), before);

  g.prompt.Pick(1);
  ASSERT_EQ(g.Try("b7", "b8"), EntryOutcome::Added);
  NodeRef knight = g.game.current;
  EXPECT_EQ(g.game.board[Square("b8")], kKnight | kWhite);
  EXPECT_EQ(g.game.Node(knight).Kind(), kPromotion);
  EXPECT_EQ(g.game.Node(knight).Piece(), kStoredPawn);
  EXPECT_TRUE(g.game.Node(knight).Has(kFlagSnapshot));

  // The same promotion again follows the existing move; another piece makes
  // an alternative.
  GoToRoot(g.game);
  g.prompt.Pick(1);
  EXPECT_EQ(g.Try("b7", "b8"), EntryOutcome::Followed);
  EXPECT_EQ(g.game.current, knight);
  GoToRoot(g.game);
  g.prompt.Pick(0);
  EXPECT_EQ(g.Try("b7", "b8"), EntryOutcome::Added);
  EXPECT_TRUE(g.game.Node(g.game.root).Has(kFlagBranch));
  EXPECT_TRUE(g.game.Node(g.game.current).Has2(kFlag2Check));

  // An invalid promotion, or one that would leave the king in check, is
  // refused before the question.
  Game blocked;
  blocked.SetUp("k3r3/4P3/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(blocked.Try("e7", "e8"), EntryOutcome::Refused);
  EXPECT_EQ(blocked.game.statusText, "White: Invalid Move 'e7-e8'.");
  Game pinned;
  pinned.SetUp("k4b2/4P3/8/2K5/8/8/8/8 w - - 0 1");
  EXPECT_EQ(pinned.Try("e7", "e8"), EntryOutcome::Refused);
  EXPECT_EQ(pinned.game.statusText, "White: Invalid Move 'e7-e8'.  King is in check.");
  EXPECT_TRUE(blocked.prompt.Records().empty());
  EXPECT_TRUE(pinned.prompt.Records().empty());
}

TEST(MoveEntry, ThePassIsIrregularAndRefusedInCheck) {
  Game g;
  ASSERT_EQ(CmPass(g.game, g.prompt), EntryOutcome::Added);
  EXPECT_TRUE(g.game.Node(g.game.current).Has2(kFlag2Irregular));
  EXPECT_EQ(g.game.sideToMove, kBlack);
  Game checked;
  checked.SetUp("4k3/8/8/8/8/8/8/r3K3 w - - 0 1");
  EXPECT_EQ(CmPass(checked.game, checked.prompt), EntryOutcome::Refused);
  EXPECT_EQ(checked.game.statusText, "White: Invalid Move 'a8-a8'.  King is in check.");
}

TEST(MoveEntry, InvalidMovePermissionIsOneShot) {
  Game g;
  ASSERT_TRUE(Play(g.game, "e2e4"));
  g.prompt.No();
  CmInvalid(g.game, g.prompt);
  EXPECT_EQ(g.prompt.Last().caption, "CmInvalid()");
  EXPECT_EQ(
      g.prompt.Last().text,
      "It is Black to move.\r\nBlack's next move can be permitted to be an invalid one.\r\n\r\nDo you wish to make "
      "an invalid move?");
  EXPECT_EQ(g.Try("d8", "d4"), EntryOutcome::Refused);

  g.prompt.Yes();
  CmInvalid(g.game, g.prompt);
  ASSERT_EQ(g.Try("d8", "d4"), EntryOutcome::Added);
  EXPECT_TRUE(g.game.Node(g.game.current).Has2(kFlag2Irregular));
  EXPECT_EQ(g.game.board[Square("d4")], kQueen | kBlack);
  // The permission is spent.
  EXPECT_EQ(g.Try("d1", "d3"), EntryOutcome::Refused);
  EXPECT_FALSE(g.game.invalidMovePermitted);
  // An abandoned attempt spends it too.
  Game promotion;
  promotion.SetUp("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
  promotion.prompt.Yes().CancelPick();
  CmInvalid(promotion.game, promotion.prompt);
  EXPECT_EQ(promotion.Try("b7", "b8"), EntryOutcome::Refused);
  EXPECT_FALSE(promotion.game.invalidMovePermitted);
  // With the permission a move into check is admitted, marked irregular.
  Game check;
  check.SetUp("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
  check.prompt.Yes();
  CmInvalid(check.game, check.prompt);
  ASSERT_EQ(check.Try("e2", "c3"), EntryOutcome::Added);
  EXPECT_TRUE(check.game.Node(check.game.current).Has2(kFlag2Irregular));
}

TEST(MoveEntry, FlippedBoardMirrorsScreenSquares) {
  Game g;
  g.game.boardFlipped = true;
  // On a flipped board e2 is drawn at file 3, row 1; e4 at file 3, row 3.
  EXPECT_EQ(PlayMoveOnScreen(g.game, 3, 1, 3, 3, g.prompt), EntryOutcome::Added);
  EXPECT_EQ(g.game.board[Square("e4")], kPawn | kWhite);
  EXPECT_EQ(PlayMoveOnScreen(g.game, 8, 1, 3, 3, g.prompt), EntryOutcome::Refused);
}

TEST(MoveEntry, RepeatingAMoveFollowsIt) {
  Game g;
  ASSERT_TRUE(Play(g.game, "e2e4 e7e5"));
  GoToRoot(g.game);
  g.game.changed = false;
  ASSERT_EQ(g.Try("e2", "e4"), EntryOutcome::Followed);
  EXPECT_EQ(g.game.current, MainLineNode(g.game, 1));
  EXPECT_FALSE(g.game.changed);
  EXPECT_EQ(g.game.statusText, "Black to move");
}

TEST(MoveEntry, ReadingKeepsTheFirstLineAndAddsLaterOnesInOrder) {
  Game g;
  ASSERT_TRUE(testing::Read(g.game, "e2e4 e7e5 g1f3"));
  NodeRef e4 = MainLineNode(g.game, 1);
  BeginAlternative(g.game, e4);
  ASSERT_TRUE(testing::Read(g.game, "c7c5 g1f3"));
  BeginAlternative(g.game, e4);
  ASSERT_TRUE(testing::Read(g.game, "e7e6"));
  // The first move read stays on the active line.
  EXPECT_EQ(g.game.Node(g.game.Node(e4).next).To(), Square("e5"));
  auto* alternatives = g.store.Alternatives(e4);
  ASSERT_NE(alternatives, nullptr);
  ASSERT_EQ(alternatives->size(), 2u);
  EXPECT_EQ(g.game.Node((*alternatives)[0]->first).To(), Square("c5"));
  EXPECT_EQ(g.game.Node((*alternatives)[0]->last).To(), Square("f3"));
  EXPECT_EQ(g.game.Node((*alternatives)[1]->first).To(), Square("e6"));
  // Reading a move that starts an existing alternative continues in it.
  BeginAlternative(g.game, e4);
  ASSERT_TRUE(testing::Read(g.game, "c7c5 b1c3"));
  EXPECT_EQ(alternatives->size(), 2u);
  EXPECT_TRUE(g.game.Node((*alternatives)[0]->first).Has(kFlagBranch));
  EXPECT_FALSE(g.game.changed);
}

TEST(MoveEntry, ComposeAddsASetUpNodeOrReportsNoChange) {
  Game g;
  ASSERT_TRUE(Play(g.game, "e2e4"));
  FENExtras same;
  same.board = g.game.board;
  same.sideToMove = kBlack;
  EXPECT_FALSE(Compose(g.game, same, g.prompt));
  EXPECT_EQ(g.prompt.Last().caption, "Compose()");
  EXPECT_EQ(g.prompt.Last().text, "No changes were detected");

  FENExtras position;
  ASSERT_TRUE(ParseFEN("4k3/8/8/8/8/8/8/R3K3 b Q - 0 30", position).ok);
  ASSERT_TRUE(Compose(g.game, position, g.prompt));
  const MoveNode& node = g.game.Node(g.game.current);
  EXPECT_TRUE(node.Has(kFlagComposed));
  EXPECT_EQ(node.From(), kA8);
  EXPECT_EQ(node.To(), kA8);
  EXPECT_TRUE(node.Has(kFlagBlackToMove));
  EXPECT_FALSE(node.Has(kFlagSnapshot));
  EXPECT_EQ(GetFEN(g.game), "4k3/8/8/8/8/8/8/R3K3 b Q - 0 30");
  ASSERT_TRUE(Play(g.game, "e8d8 e1c1"));
  EXPECT_EQ(GetFEN(g.game), "3k4/8/8/8/8/8/8/2KR4 b - - 2 31");
}

}  // namespace
}  // namespace varnock
