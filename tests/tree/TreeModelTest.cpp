#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/BoardSets.h"
#include "core/Fen.h"
#include "core/MoveGen.h"
#include "support/ScriptedPrompt.h"
#include "support/TreeTesting.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/GameFen.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/NodeWalk.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

using testing::MainLineNode;
using testing::Play;
using testing::ScriptedPrompt;
using testing::Square;

class RecordingClipboard : public Clipboard {
 public:
  void SetText(const std::string& text) override { this->text = text; }
  std::string text;
};

TEST(NodePools, SegmentsOf800AreAddedAndReleased) {
  NodeStore store;
  std::vector<NodeRef> nodes;
  for (int i = 0; i < 801; ++i) nodes.push_back(store.Allocate(false));
  EXPECT_EQ(store.PlainPool().LiveSegments(), 2u);
  NodeRef snapshot = store.Allocate(true);
  ASSERT_NE(store.Snapshot(snapshot), nullptr);
  EXPECT_EQ(store.Snapshot(nodes[0]), nullptr);
  EXPECT_EQ(store.SnapshotPool().LiveSegments(), 1u);
  for (int i = 0; i < 800; ++i) store.Free(nodes[static_cast<std::size_t>(i)]);
  store.ReleaseEmptySegments();
  EXPECT_EQ(store.PlainPool().LiveSegments(), 1u);
  // The surviving node keeps its reference.
  EXPECT_TRUE(store.Node(nodes[800]).InUse());
  // Freed slots are reused before a new segment is added.
  for (int i = 0; i < 799; ++i) store.Allocate(false);
  EXPECT_EQ(store.PlainPool().LiveSegments(), 1u);
}

// A walk finds the node NodeStore::Node finds, in every order: slot after
// slot across segment ends, from one pool to the other, backwards, at random.
TEST(NodePools, AWalkFindsTheNodesTheStoreFinds) {
  NodeStore store;
  std::vector<NodeRef> nodes;
  for (int i = 0; i < 2000; ++i) {
    const NodeRef ref = store.Allocate(i % 7 == 3);
    ASSERT_NE(ref, kNoNode);
    store.Node(ref).SetMove(i % 64, (i + 1) % 64, kStoredPawn);
    nodes.push_back(ref);
  }
  auto sameNodes = [&](const std::vector<NodeRef>& order) {
    NodeWalk walk(store);
    for (NodeRef ref : order) ASSERT_EQ(&walk.Node(ref), &store.Node(ref)) << ref;
  };
  sameNodes(nodes);
  sameNodes(std::vector<NodeRef>(nodes.rbegin(), nodes.rend()));
  std::vector<NodeRef> shuffled = nodes;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  sameNodes(shuffled);
  std::vector<NodeRef> plainOnly;
  for (NodeRef ref : nodes)
    if (!(ref & NodeStore::kSnapshotBit)) plainOnly.push_back(ref);
  sameNodes(plainOnly);
}

TEST(NodePools, ExhaustionIsReportedAndTheMoveIsNotAdded) {
  NodeStore store;
  store.PlainPool().SetMaxSegments(1);
  GameTree game(store);
  ScriptedPrompt prompt;
  std::vector<std::string> moves = {"g1f3", "g8f6", "f3g1", "f6g8"};
  int played = 0;
  for (; played < 1000; ++played) {
    const std::string& m = moves[static_cast<std::size_t>(played % 4)];
    // Alternate squares so every move is new: after 4 plies the position repeats,
    // but the nodes are a new continuation each time.
    if (PlayMove(game, Square(m.substr(0, 2)), Square(m.substr(2, 2)), prompt) == EntryOutcome::Refused) break;
  }
  // 799 plain slots after the root, then a snapshot node from the other pool
  // every 51 moves; the plain pool runs out first.
  EXPECT_LT(played, 1000);
  ASSERT_FALSE(prompt.Records().empty());
  EXPECT_EQ(prompt.Last().caption, "list_insert()");
  EXPECT_EQ(prompt.Last().text, "Unable to find a free segment");
  NodeRef end = game.lineEnd;
  EXPECT_EQ(game.current, end);
  EXPECT_EQ(game.Node(end).next, kNoNode);
}

// A read move refused for want of a node slot leaves the position as it was:
// the board, the kings, the square sets and the current node. The refused
// move is a capture, so both of its squares must be put back.
TEST(NodePools, AReadMoveRefusedLeavesThePositionAsItWas) {
  NodeStore store;
  store.PlainPool().SetMaxSegments(1);
  GameTree game(store);
  ScriptedPrompt prompt;
  ASSERT_EQ(PlayMove(game, Square("e2"), Square("e4"), prompt), EntryOutcome::Added);
  ASSERT_EQ(PlayMove(game, Square("d7"), Square("d5"), prompt), EntryOutcome::Added);
  const std::vector<std::string> dance = {"g1f3", "g8f6", "f3g1", "f6g8"};
  BoardSets sets = BoardSets::Of(game.board);
  bool refused = false;
  for (int played = 0; played < 2000 && !refused; ++played) {
    const std::string& m = dance[static_cast<std::size_t>(played % 4)];
    bool check = false;
    refused = AppendReadMove(game, Square(m.substr(0, 2)), Square(m.substr(2, 2)), &prompt, sets, check) ==
              EntryOutcome::Refused;
  }
  ASSERT_TRUE(refused);
  // The pool is full: the capture on d5 or e4, whoever is to move, is refused too.
  const bool white = game.sideToMove == kWhite;
  const BoardSquares board = game.board;
  const KingSquares kings = game.kings;
  const NodeRef current = game.current;
  bool check = false;
  EXPECT_EQ(AppendReadMove(game, Square(white ? "e4" : "d5"), Square(white ? "d5" : "e4"), &prompt, sets, check),
            EntryOutcome::Refused);
  EXPECT_EQ(game.board, board);
  EXPECT_EQ(game.kings.white, kings.white);
  EXPECT_EQ(game.kings.black, kings.black);
  EXPECT_EQ(sets, BoardSets::Of(game.board));
  EXPECT_EQ(game.current, current);
  EXPECT_EQ(prompt.Last().text, "Unable to find a free segment");
}

// Random legal games checked against an independent replay: the rebuilt
// board at every node equals the board reached by playing the moves.
TEST(BoardRebuild, EveryNodeOfRandomGamesMatchesThePlayedBoard) {
  std::mt19937 random(20261208);
  for (int gameNo = 0; gameNo < 30; ++gameNo) {
    NodeStore store;
    GameTree game(store);
    std::vector<std::pair<NodeRef, BoardSquares>> seen;
    for (int ply = 0; ply < 160; ++ply) {
      NodeHistory history(store, game.current);
      auto moves = GenerateLegalMoves(game.board, game.kings, game.sideToMove, history);
      if (moves.empty()) break;
      Move move = moves[random() % moves.size()];
      ScriptedPrompt prompt;
      if (move.promotion)
        prompt.Pick(move.promotion == kQueen ? 0 : move.promotion == kKnight ? 1 : move.promotion == kRook ? 2 : 3);
      BoardSquares expected = game.board;
      KingSquares kings = game.kings;
      ApplyMove(expected, kings, move.from, move.to, move.promotion);
      ASSERT_EQ(PlayMove(game, move.from, move.to, prompt), EntryOutcome::Added) << game.statusText;
      ASSERT_EQ(game.board, expected);
      seen.emplace_back(game.current, expected);
    }
    for (const auto& [node, board] : seen) ASSERT_EQ(BoardAt(store, node), board);
  }
}

TEST(BoardRebuild, SnapshotsEveryFiftyOneMovesAndOnPassesAndPromotions) {
  NodeStore store;
  GameTree game(store);
  for (int i = 0; i < 13; ++i) ASSERT_TRUE(Play(game, "g1f3 g8f6 f3g1 f6g8"));
  for (int ply = 1; ply <= 52; ++ply)
    EXPECT_EQ(game.Node(MainLineNode(game, ply)).Has(kFlagSnapshot), ply == 51) << ply;

  NodeStore store2;
  GameTree passes(store2);
  ScriptedPrompt prompt;
  ASSERT_EQ(CmPass(passes, prompt), EntryOutcome::Added);
  const MoveNode& pass = passes.Node(passes.current);
  EXPECT_TRUE(pass.Has(kFlagSnapshot));
  EXPECT_TRUE(pass.Has2(kFlag2Irregular));
  EXPECT_EQ(BoardAt(store2, passes.current), StartBoard);
  EXPECT_EQ(passes.sideToMove, kBlack);
}

TEST(BoardRebuild, CastlingMovesTheRookAndEnPassantRemovesThePawn) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4 g8f6 e4e5 d7d5 e5d6 e7d6 g1f3 f8e7 f1c4 e8g8 e1g1"));
  BoardSquares board = BoardAt(store, game.current);
  EXPECT_EQ(board[Square("f1")], kRook | kWhite);
  EXPECT_EQ(board[Square("h1")], 0);
  EXPECT_EQ(board[Square("g1")], kKing | kWhite);
  EXPECT_EQ(board[Square("f8")], kRook | kBlack);
  NodeRef enPassant = MainLineNode(game, 5);
  EXPECT_EQ(game.Node(enPassant).Kind(), kEnPassant);
  EXPECT_EQ(BoardAt(store, enPassant)[Square("d5")], 0);
  EXPECT_EQ(game.Node(MainLineNode(game, 11)).Kind(), kCastling);
}

TEST(NodeFen, SideFieldsFromTheTree) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4"));
  EXPECT_EQ(GetFEN(game), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
  ASSERT_TRUE(Play(game, "e7e5"));
  EXPECT_EQ(GetFEN(game), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2");

  NodeStore store2;
  GameTree knights(store2);
  ASSERT_TRUE(Play(knights, "g1f3 g8f6 f3g1 f6g8"));
  EXPECT_EQ(GetFEN(knights), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 4 3");

  // A rook that left and came back has lost its castling right.
  NodeStore store3;
  GameTree rook(store3);
  ASSERT_TRUE(Play(rook, "h2h4 a7a5 h1h2 a8a7 h2h1 a7a8"));
  EXPECT_EQ(GetFEN(rook), "rnbqkbnr/1ppppppp/8/p7/7P/8/PPPPPPP1/RNBQKBNR w Qk - 4 4");
}

TEST(NodeFen, CopyChecksTheTextAndReportsTheCopy) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "d2d4"));
  ScriptedPrompt prompt;
  RecordingClipboard clipboard;
  std::string fen = GetFEN(game, true, &prompt, &clipboard);
  EXPECT_EQ(clipboard.text, fen);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "SGridFrame()::GetFEN()");
  EXPECT_EQ(prompt.Last().text, "FEN string has been copied to the Windows Clipboard\r\n\r\n" + fen);

  // A position the check warns about is still copied.
  NodeStore store2;
  GameTree odd(store2);
  FENExtras position;
  ParseFEN("4k3/8/8/8/8/8/8/4K3 w - - 0 1", position);
  position.board[Square("a1")] = kPawn | kWhite;
  ComposeRoot(odd, position);
  prompt.Clear();
  GetFEN(odd, true, &prompt, &clipboard);
  ASSERT_EQ(prompt.Records().size(), 2u);
  EXPECT_EQ(prompt.Records()[0].text,
            "'4k3/8/8/8/8/8/8/P3K3 w - - 0 1'\r\n\r\nWarning.  Bad FEN string.\r\nA pawn cannot be placed on the "
            "bottom rank");
}

TEST(SetUpPositions, PlyAndMoveNumbersCountFromTheSetUp) {
  NodeStore store;
  GameTree game(store);
  FENExtras position;
  ASSERT_TRUE(ParseFEN("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w Kq - 0 20", position).ok);
  ComposeRoot(game, position);
  EXPECT_EQ(PlyOf(store, game.root), 38);
  ASSERT_TRUE(Play(game, "a2a3"));
  EXPECT_EQ(PlyOf(store, game.current), 39);
  EXPECT_EQ(GetFEN(game), "r3k2r/pppppppp/8/8/8/P7/1PPPPPPP/R3K2R b Kq - 0 20");
}

TEST(SetUpPositions, CastlingAndEnPassantFollowTheSetUpFields) {
  NodeStore store;
  GameTree game(store);
  FENExtras position;
  ASSERT_TRUE(ParseFEN("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w Kq - 0 1", position).ok);
  ComposeRoot(game, position);
  ScriptedPrompt prompt;
  EXPECT_EQ(PlayMove(game, Square("e1"), Square("c1"), prompt), EntryOutcome::Refused);
  EXPECT_EQ(game.statusText, "White: Invalid castling.  Rook has already moved.");
  ASSERT_TRUE(Play(game, "a2a3"));
  EXPECT_EQ(PlayMove(game, Square("e8"), Square("g8"), prompt), EntryOutcome::Refused);
  EXPECT_EQ(game.statusText, "Black: Invalid castling.  Rook has already moved.");
  ASSERT_TRUE(Play(game, "e8c8 e1g1"));

  NodeStore store2;
  GameTree ep(store2);
  FENExtras noField, withField;
  ASSERT_TRUE(ParseFEN("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", noField).ok);
  ASSERT_TRUE(ParseFEN("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", withField).ok);
  ComposeRoot(ep, noField);
  EXPECT_EQ(PlayMove(ep, Square("e5"), Square("d6"), prompt), EntryOutcome::Refused);
  EXPECT_EQ(ep.statusText, "White: Invalid en passant capture 'e5-d6'.");
  ComposeRoot(ep, withField);
  EXPECT_EQ(PlayMove(ep, Square("e5"), Square("d6"), prompt), EntryOutcome::Added);
}

TEST(Comments, TrimAppendAndRemove) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4"));
  NodeRef node = game.current;
  SetComment(game, node, NodeStore::kAfter, "Best by test \r\n\t ", true);
  EXPECT_EQ(*store.Comment(node, NodeStore::kAfter), "Best by test");
  EXPECT_TRUE(game.Node(node).Has(kFlagCommentAfter));
  SetComment(game, node, NodeStore::kAfter, "says Fischer", false);
  EXPECT_EQ(*store.Comment(node, NodeStore::kAfter), "Best by test\r\n\r\nsays Fischer");
  SetComment(game, node, NodeStore::kAfter, " \r\n", true);
  EXPECT_EQ(store.Comment(node, NodeStore::kAfter), nullptr);
  EXPECT_FALSE(game.Node(node).Has(kFlagCommentAfter));
  SetComment(game, node, NodeStore::kBefore, "x", true);
  EXPECT_TRUE(game.Node(node).Has(kFlagCommentBefore));
  EXPECT_FALSE(game.Node(node).Has(kFlagCommentAfter));
}

TEST(Lines, InteractiveEntryPutsTheNewMoveOnTheActiveLine) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4 e7e5 g1f3"));
  GoToNode(game, MainLineNode(game, 1));
  ASSERT_TRUE(Play(game, "c7c5"));
  ASSERT_TRUE(Play(game, "g1f3"));
  NodeRef e4 = MainLineNode(game, 1);
  EXPECT_EQ(game.lineEnd, game.current);
  EXPECT_EQ(game.Node(game.Node(e4).next).To(), Square("c5"));
  auto* alternatives = store.Alternatives(e4);
  ASSERT_NE(alternatives, nullptr);
  ASSERT_EQ(alternatives->size(), 1u);
  EXPECT_EQ(game.Node((*alternatives)[0]->first).To(), Square("e5"));
  EXPECT_EQ(game.Node((*alternatives)[0]->last).To(), Square("f3"));

  // A third move at e4: the c5 line becomes the last alternative.
  GoToNode(game, e4);
  ASSERT_TRUE(Play(game, "e7e6"));
  ASSERT_EQ(alternatives->size(), 2u);
  EXPECT_EQ(game.Node((*alternatives)[1]->first).To(), Square("c5"));

  // Playing an alternative's first move again swaps it into the active line.
  GoToNode(game, e4);
  ASSERT_TRUE(Play(game, "e7e5"));
  EXPECT_EQ(game.Node(game.Node(e4).next).To(), Square("e5"));
  EXPECT_EQ(game.lineEnd, ChainEnd(game, game.Node(e4).next));
  EXPECT_EQ(game.rootLine->last, game.lineEnd);
}

TEST(Lines, SelectLineMovesTheOldContinuationToTheEnd) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4"));
  NodeRef e4 = game.current;
  ASSERT_TRUE(Play(game, "e7e5"));
  GoToNode(game, e4);
  ASSERT_TRUE(Play(game, "c7c5"));
  GoToNode(game, e4);
  ASSERT_TRUE(Play(game, "e7e6"));
  // Active: e6; alternatives oldest first: e5, c5.
  auto* alternatives = store.Alternatives(e4);
  NodeRef e5 = (*alternatives)[0]->first;
  SelectLine(game, e5);
  EXPECT_EQ(game.Node(e4).next, e5);
  ASSERT_EQ(alternatives->size(), 2u);
  EXPECT_EQ(game.Node((*alternatives)[0]->first).To(), Square("c5"));
  EXPECT_EQ(game.Node((*alternatives)[1]->first).To(), Square("e6"));
}

TEST(Lines, ActivateLineOfANestedVariation) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4 e7e5 g1f3"));
  GoToNode(game, MainLineNode(game, 1));
  ASSERT_TRUE(Play(game, "c7c5 g1f3"));
  NodeRef sicilianNf3 = game.current;
  GoToNode(game, game.Node(sicilianNf3).parent);
  ASSERT_TRUE(Play(game, "b1c3 b8c6"));
  NodeRef nestedEnd = game.current;
  // Bring the e5 line back, then the nested Nc3 line again.
  SelectLine(game, (*store.Alternatives(MainLineNode(game, 1)))[0]->first);
  EXPECT_EQ(game.Node(MainLineNode(game, 2)).To(), Square("e5"));
  EXPECT_TRUE(ActivateLineOf(game, nestedEnd));
  EXPECT_EQ(game.lineEnd, nestedEnd);
  EXPECT_TRUE(OnActiveLine(game, nestedEnd));
  EXPECT_FALSE(ActivateLineOf(game, nestedEnd));
}

TEST(Lines, FreeingALineClearsPrimaryStoreSlotsAndBookmarks) {
  NodeStore store;
  GameTree game(store);
  ASSERT_TRUE(Play(game, "e2e4 e7e5 g1f3 b8c6"));
  NodeRef e5 = MainLineNode(game, 2);
  NodeRef nf3 = MainLineNode(game, 3);
  game.primary = nf3;
  game.storeSlots[4] = e5;
  game.Node(e5).Set2(kFlag2Stored, true);
  SetBookmark(game, nf3);
  store.SetRating(nf3, 1);
  SetComment(game, e5, NodeStore::kAfter, "classical", true);
  std::size_t before = store.LiveNodes();
  game.Node(MainLineNode(game, 1)).next = kNoNode;
  FreeChain(game, e5);
  EXPECT_EQ(game.primary, kNoNode);
  EXPECT_EQ(game.storeSlots[4], kNoNode);
  EXPECT_TRUE(game.bookmarks.empty());
  EXPECT_EQ(store.RatingOf(nf3), 0);
  EXPECT_EQ(store.Comment(e5, NodeStore::kAfter), nullptr);
  EXPECT_EQ(store.LiveNodes(), before - 3);
  EXPECT_TRUE(game.changed);
}

TEST(Lines, ClosingAGameReturnsEveryNodeAndAttribute) {
  NodeStore store;
  {
    GameTree game(store);
    ASSERT_TRUE(Play(game, "e2e4 e7e5 g1f3"));
    GoToNode(game, MainLineNode(game, 1));
    ASSERT_TRUE(Play(game, "c7c5"));
    SetComment(game, game.current, NodeStore::kBefore, "Sicilian", true);
  }
  EXPECT_EQ(store.LiveNodes(), 0u);
  store.ReleaseEmptySegments();
  EXPECT_EQ(store.PlainPool().LiveSegments(), 0u);
}

TEST(Lines, DeeplyNestedAlternativesAreFreedWithoutRecursion) {
  NodeStore store;
  {
    GameTree game(store);
    // 20,000 alternatives each nested in the previous one.
    for (int depth = 0; depth < 20000; ++depth) {
      ASSERT_TRUE(testing::Read(game, depth % 2 ? "g8f6" : "g1f3"));
      BeginAlternative(game, game.Node(game.current).parent);
      ASSERT_TRUE(testing::Read(game, depth % 2 ? "b8c6" : "b1c3"));
    }
    EXPECT_GT(store.LiveNodes(), 40000u);
    RemoveAlternatives(game, game.root);
    EXPECT_EQ(store.LiveNodes(), 2u);  // the root and g1f3
  }
  EXPECT_EQ(store.LiveNodes(), 0u);
}

}  // namespace
}  // namespace varnock
