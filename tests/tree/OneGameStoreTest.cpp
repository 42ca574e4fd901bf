// A store that holds one game at a time is emptied at once when its game
// goes, and node by node while another game still lives in it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/GameBuilder.h"
#include "tree/GameTree.h"
#include "tree/NodeStore.h"

namespace varnock {
namespace {

using testing::DumpGame;
using testing::GameBuilder;

// Knights out and back: legal for as long as it is repeated.
std::string KnightDance(int rounds) {
  std::string moves;
  for (int i = 0; i < rounds; ++i) moves += "g1f3 g8f6 f3g1 f6g8 ";
  return moves;
}

// A game with something in every part of the store: a main line long enough
// for board snapshots, an alternative, a set-up position, comments and marks.
struct RichGame {
  explicit RichGame(NodeStore& store) : tree(store) {
    GameBuilder builder(tree);
    const NodeRef second = builder.Play("e2e4 e7e5");
    builder.Play(KnightDance(15));
    alternative = builder.Alternative(second, "g1f3 b8c6");
    composed = builder.Compose("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    commented = second;
    store.StoreComment(commented, NodeStore::kAfter, "the open game");
    store.StoreComment(alternative, NodeStore::kBefore, "or the knight");
    store.SetRating(commented, 2);
    store.SetAssessment(alternative, 3);
  }
  GameTree tree;
  NodeRef commented = kNoNode;
  NodeRef alternative = kNoNode;
  NodeRef composed = kNoNode;
};

TEST(OneGameStore, ItsOnlyGameGoingEmptiesEverything) {
  NodeStore store;
  store.SetOneGameAtATime(true);
  for (int round = 0; round < 3; ++round) {
    auto game = std::make_unique<RichGame>(store);
    const int id = game->tree.gameId;
    const NodeRef commented = game->commented, alternative = game->alternative, composed = game->composed;
    ASSERT_GT(store.LiveNodes(), 60u);
    ASSERT_NE(store.Composed(composed), nullptr);
    game.reset();

    EXPECT_EQ(store.LiveNodes(), 0u);
    EXPECT_EQ(store.Comment(commented, NodeStore::kAfter), nullptr);
    EXPECT_EQ(store.Comment(alternative, NodeStore::kBefore), nullptr);
    EXPECT_EQ(store.RatingOf(commented), 0);
    EXPECT_EQ(store.AssessmentOf(alternative), 0);
    EXPECT_EQ(store.Composed(composed), nullptr);
    EXPECT_EQ(store.Alternatives(alternative), nullptr);
    EXPECT_TRUE(store.LinesOf(id).empty());
  }
}

TEST(OneGameStore, AGameGoingWhileAnotherLivesLeavesTheOtherWhole) {
  NodeStore store;
  store.SetOneGameAtATime(true);
  auto kept = std::make_unique<RichGame>(store);
  const std::string before = DumpGame(kept->tree);
  const std::size_t keptNodes = store.LiveNodes();
  {
    RichGame passing(store);
    EXPECT_GT(store.LiveNodes(), keptNodes);
  }
  EXPECT_EQ(store.LiveNodes(), keptNodes);
  EXPECT_EQ(DumpGame(kept->tree), before);
  ASSERT_NE(store.Comment(kept->commented, NodeStore::kAfter), nullptr);
  EXPECT_EQ(*store.Comment(kept->commented, NodeStore::kAfter), "the open game");

  // Once it is the only one, it empties the store as it goes.
  kept.reset();
  EXPECT_EQ(store.LiveNodes(), 0u);
}

TEST(OneGameStore, GameAfterGameReusesTheSameSegments) {
  NodeStore store;
  store.SetOneGameAtATime(true);
  std::string first;
  for (int game = 0; game < 2000; ++game) {
    GameTree tree(store);
    GameBuilder(tree).Play(KnightDance(20));  // 80 plies: two snapshots
    if (game == 0) first = DumpGame(tree);
    // Every game lands in slots cleared for it, so it is built alike.
    if (game == 1999) {
      EXPECT_EQ(DumpGame(tree), first);
    }
  }
  EXPECT_EQ(store.LiveNodes(), 0u);
  EXPECT_EQ(store.PlainPool().LiveSegments(), 1u);
  EXPECT_EQ(store.SnapshotPool().LiveSegments(), 1u);
}

}  // namespace
}  // namespace varnock
