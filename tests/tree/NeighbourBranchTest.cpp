#include "CommandFixture.h"
#include "tree/NeighbourBranch.h"

namespace varnock::testing {
namespace {

class NeighbourBranchTest : public CommandTest {
 protected:
  // 1.e4 with 1...e5 2.Nf3 on the main line and the alternatives 1...c5
  // (oldest) and 1...e6 2.d4.
  void BuildGame() {
    e4 = build.Play("e2e4");
    nf3 = build.Play("e7e5 g1f3");
    c5 = build.Alternative(e4, "c7c5");
    d4 = build.Alternative(e4, "e7e6 d2d4");
    e5 = build.OnActiveLine(2);
    e6 = game.Node(d4).parent;
  }
  NodeRef e4{}, e5{}, nf3{}, c5{}, e6{}, d4{};
};

TEST_F(NeighbourBranchTest, CyclesThroughEveryLineAndShiftReverses) {
  BuildGame();
  game.current = nf3;  // the nearest branch node above is e4
  std::vector<NodeRef> visited;
  for (int press = 0; press < 3; ++press) {
    ASSERT_TRUE(GoToNeighbouringBranch(game, false));
    visited.push_back(game.current);
    EXPECT_EQ(game.Node(e4).next, game.current);
    EXPECT_EQ(game.lineEnd, game.current == e6 ? d4 : game.current == e5 ? nf3 : c5);
    EXPECT_EQ(game.rootLine->last, game.lineEnd);
  }
  EXPECT_EQ(visited, (std::vector<NodeRef>{c5, e6, e5}));
  ExpectChanged();

  visited.clear();
  for (int press = 0; press < 3; ++press) {
    ASSERT_TRUE(GoToNeighbouringBranch(game, true));
    visited.push_back(game.current);
  }
  EXPECT_EQ(visited, (std::vector<NodeRef>{e6, c5, e5}));
  EXPECT_EQ(store.Alternatives(e4)->size(), 2u);
}

TEST_F(NeighbourBranchTest, NothingWithoutABranchAbove) {
  BuildGame();
  game.current = e4;  // its alternatives hang below it
  Remember();
  EXPECT_FALSE(GoToNeighbouringBranch(game, false));
  EXPECT_FALSE(GoToNeighbouringBranch(game, true));
  ExpectUntouched();
}

}  // namespace
}  // namespace varnock::testing
