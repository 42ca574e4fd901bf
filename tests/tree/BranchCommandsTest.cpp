#include <gtest/gtest.h>

#include "support/ScriptedPrompt.h"
#include "support/TreeTesting.h"
#include "tree/BranchCommands.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using testing::Dump;
using testing::MainLineNode;
using testing::Play;
using testing::ScriptedPrompt;
using testing::Square;

const char* kPlainDelete = "Warning.\nAbout to delete branch.\n\nDo you wish to continue?";
const char* kPrimaryDelete =
    "Warning.\nAbout to delete branch.\n\nThe primary position will be deleted by this action.\n\nDo you wish to "
    "continue?";

// 1.e4 with three replies: e5 (active, then Nf3), c5 Nf3 and e6 as alternatives
// of e4, oldest first.
struct Branchy {
  NodeStore store;
  GameTree game{store};
  ScriptedPrompt prompt;
  NodeRef e4 = kNoNode;

  Branchy() {
    Play(game, "e2e4 c7c5 g1f3");
    e4 = MainLineNode(game, 1);
    GoToNode(game, e4);
    Play(game, "e7e6");
    GoToNode(game, e4);
    Play(game, "e7e5 g1f3");
    game.changed = false;
  }
  NodeRef Alternative(int i) const {
    return (*const_cast<NodeStore&>(store).Alternatives(e4))[static_cast<std::size_t>(i)]->first;
  }
  std::size_t AlternativeCount() const {
    auto* alternatives = const_cast<NodeStore&>(store).Alternatives(e4);
    return alternatives ? alternatives->size() : 0;
  }
};

TEST(DeleteBranch, AnsweringNoLeavesEverything) {
  Branchy b;
  std::string before = Dump(b.game);
  b.prompt.No();
  EXPECT_FALSE(DeleteBranch(b.game, b.game.current, true, b.prompt));
  EXPECT_EQ(b.prompt.Last().caption, "DeleteBranch()");
  EXPECT_EQ(b.prompt.Last().text, kPlainDelete);
  EXPECT_EQ(Dump(b.game), before);
}

TEST(DeleteBranch, DeletingTheContinuationPromotesTheOldestAlternative) {
  Branchy b;
  ASSERT_EQ(b.game.Node(b.Alternative(0)).To(), Square("c5"));
  std::size_t nodes = b.store.LiveNodes();
  b.prompt.Yes();
  ASSERT_TRUE(DeleteBranch(b.game, b.game.current, true, b.prompt));
  EXPECT_EQ(b.game.Node(b.game.Node(b.e4).next).To(), Square("c5"));
  EXPECT_EQ(b.game.current, b.game.Node(b.e4).next);
  EXPECT_EQ(b.game.lineEnd, ChainEnd(b.game, b.game.current));
  EXPECT_EQ(b.game.Node(b.game.lineEnd).To(), Square("f3"));
  EXPECT_EQ(b.game.rootLine->last, b.game.lineEnd);
  EXPECT_EQ(b.AlternativeCount(), 1u);
  EXPECT_EQ(b.store.LiveNodes(), nodes - 2);
  EXPECT_TRUE(b.game.changed);
}

TEST(DeleteBranch, DeletingAnAlternativeKeepsTheActiveLine) {
  Branchy b;
  NodeRef e6 = b.Alternative(1);
  b.prompt.Yes();
  ASSERT_TRUE(DeleteBranch(b.game, e6, true, b.prompt));
  EXPECT_EQ(b.AlternativeCount(), 1u);
  EXPECT_EQ(b.game.Node(b.game.Node(b.e4).next).To(), Square("e5"));
  // The last alternative gone: the branch bit goes too.
  b.prompt.Yes();
  ASSERT_TRUE(DeleteBranch(b.game, b.Alternative(0), true, b.prompt));
  EXPECT_FALSE(b.game.Node(b.e4).Has(kFlagBranch));
}

TEST(DeleteBranch, ThePrimaryWarningIsAskedEvenWithoutConfirmation) {
  Branchy b;
  b.game.primary = b.game.current;
  b.prompt.No();
  EXPECT_FALSE(DeleteBranch(b.game, b.game.current, false, b.prompt));
  EXPECT_EQ(b.prompt.Last().text, kPrimaryDelete);
  b.prompt.Yes();
  EXPECT_TRUE(DeleteBranch(b.game, b.game.current, false, b.prompt));
  EXPECT_EQ(b.game.primary, kNoNode);
  // Nothing to delete on a line without a branch node above it.
  NodeStore store;
  GameTree plain(store);
  Play(plain, "d2d4 d7d5");
  EXPECT_FALSE(DeleteBranch(plain, plain.current, true, b.prompt));
}

TEST(Truncate, ConfirmsAndCutsEverythingBelow) {
  NodeStore store;
  GameTree game(store);
  ScriptedPrompt prompt;
  Play(game, "e2e4 e7e5 g1f3 b8c6 f1b5");
  NodeRef e5 = MainLineNode(game, 2);
  std::string before = Dump(game);
  prompt.No();
  EXPECT_FALSE(CmTruncate(game, e5, true, prompt));
  EXPECT_EQ(prompt.Last().caption, "CmTruncate()");
  EXPECT_EQ(prompt.Last().text, "Warning.\nAbout to truncate.\n\nDo you wish to continue?");
  EXPECT_EQ(Dump(game), before);
  prompt.Yes();
  ASSERT_TRUE(CmTruncate(game, e5, true, prompt));
  EXPECT_EQ(game.current, e5);
  EXPECT_EQ(game.lineEnd, e5);
  EXPECT_EQ(game.rootLine->last, e5);
  EXPECT_EQ(store.LiveNodes(), 3u);
}

TEST(Truncate, ThePrimaryBelowAlwaysAsks) {
  NodeStore store;
  GameTree game(store);
  ScriptedPrompt prompt;
  Play(game, "e2e4 e7e5 g1f3");
  game.primary = game.current;
  prompt.No();
  EXPECT_FALSE(CmTruncate(game, MainLineNode(game, 1), false, prompt));
  EXPECT_EQ(prompt.Last().text,
            "Warning.\nAbout to truncate.\n\nThe primary position will be deleted by this action.\n\nDo you wish to "
            "continue?");
  // A primary in an alternative hanging off the node goes as well, so it warns too.
  GoToNode(game, MainLineNode(game, 1));
  Play(game, "c7c5");
  prompt.Clear();
  prompt.No();
  EXPECT_FALSE(CmTruncate(game, MainLineNode(game, 1), false, prompt));
  EXPECT_EQ(prompt.Records().size(), 1u);
}

TEST(DeleteCurrentMove, OnlyAtTheLineEnd) {
  Branchy b;
  GoToNode(b.game, MainLineNode(b.game, 1));
  std::string before = Dump(b.game);
  EXPECT_FALSE(DeleteCurrentMove(b.game, b.prompt));
  EXPECT_EQ(b.prompt.Last().caption, "DeleteCurrentMove()");
  EXPECT_EQ(b.prompt.Last().text,
            "'Delete Current Move' functionality is available only if the current position is the lowest in the "
            "branch.");
  EXPECT_EQ(Dump(b.game), before);

  GoToLineEnd(b.game);
  NodeRef parent = b.game.Node(b.game.current).parent;
  ASSERT_TRUE(DeleteCurrentMove(b.game, b.prompt));  // no question
  EXPECT_EQ(b.game.current, parent);
  EXPECT_EQ(b.game.lineEnd, parent);
  EXPECT_EQ(b.game.sideToMove, kWhite);
  // Now e5 is the line end and its parent e4 is a branch node: the whole
  // one-move line goes and the oldest alternative takes its place.
  ASSERT_TRUE(DeleteCurrentMove(b.game, b.prompt));
  EXPECT_EQ(b.game.current, b.e4);
  EXPECT_EQ(b.game.Node(b.game.Node(b.e4).next).To(), Square("c5"));
  EXPECT_EQ(b.AlternativeCount(), 1u);
  EXPECT_TRUE(b.prompt.AllAnswersUsed());
  // The root cannot be deleted.
  NodeStore store;
  GameTree empty(store);
  EXPECT_FALSE(DeleteCurrentMove(empty, b.prompt));
}

TEST(RemoveBranching, LowerHigherAndNeighbours) {
  Branchy b;
  // Lower from the root removes everything hanging off e4.
  GoToRoot(b.game);
  std::string before = Dump(b.game);
  b.prompt.No();
  EXPECT_FALSE(RemoveOffBranches(b.game, BranchDirection::Lower, b.prompt));
  EXPECT_EQ(b.prompt.Last().caption, "RemoveOffBranches()");
  EXPECT_EQ(b.prompt.Last().text, "Warning.\nAbout to remove lower branching.\n\nDo you wish to continue?");
  EXPECT_EQ(Dump(b.game), before);
  b.prompt.Yes();
  ASSERT_TRUE(RemoveOffBranches(b.game, BranchDirection::Lower, b.prompt));
  EXPECT_EQ(b.AlternativeCount(), 0u);
  EXPECT_EQ(b.store.LiveNodes(), 4u);

  Branchy h;
  h.game.primary = h.Alternative(0);  // c5, off the active line
  GoToLineEnd(h.game);
  h.prompt.Yes();
  ASSERT_TRUE(RemoveOffBranches(h.game, BranchDirection::Higher, h.prompt));
  EXPECT_EQ(h.prompt.Last().text,
            "Warning.\nAbout to remove higher branching.\n\nThe primary position will be deleted by this action.\n\n"
            "Do you wish to continue?");
  EXPECT_EQ(h.game.primary, kNoNode);
  EXPECT_EQ(h.AlternativeCount(), 0u);

  Branchy n;
  GoToNode(n.game, n.game.Node(n.e4).next);
  n.prompt.Yes();
  ASSERT_TRUE(CmRemoveNeighbours(n.game, n.prompt));
  EXPECT_EQ(n.prompt.Last().caption, "CmRemoveNeighbours()");
  EXPECT_EQ(n.prompt.Last().text, "Warning.\nAbout to remove neighbouring branching.\n\nDo you wish to continue?");
  EXPECT_EQ(n.AlternativeCount(), 0u);
  EXPECT_EQ(n.game.Node(n.game.current).To(), Square("e5"));
  // Not at a child of a branch node: nothing is asked.
  EXPECT_FALSE(CmRemoveNeighbours(n.game, n.prompt));
}

}  // namespace
}  // namespace varnock
