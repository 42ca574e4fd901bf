#include <set>

#include "CommandFixture.h"
#include "tree/Junctions.h"
#include "tree/NodeStore.h"

namespace varnock::testing {
namespace {

// 1.e4 e5 2.Nf3 Nc6 3.Bb5 with the alternatives 1...c5 2.Nf3 (after 1.e4)
// and 3.Bc4 (after 2...Nc6): junctions at 1.e4 and 2...Nc6.
class JunctionsTest : public CommandTest {
 protected:
  void SetUp() override {
    e4 = build.Play("e2e4");
    e5 = build.Play("e7e5");
    nf3 = build.Play("g1f3");
    nc6 = build.Play("b8c6");
    bb5 = build.Play("f1b5");
    c5line = build.Alternative(e4, "c7c5 g1f3");
    bc4 = build.Alternative(nc6, "f1c4");
  }
  NodeRef e4{}, e5{}, nf3{}, nc6{}, bb5{}, c5line{}, bc4{};
};

TEST_F(JunctionsTest, JunctionsForwardAndBackAlongTheLine) {
  game.current = game.root;
  GoToNextJunction(game);
  EXPECT_EQ(game.current, e4);
  GoToNextJunction(game);
  EXPECT_EQ(game.current, nc6);
  GoToNextJunction(game);  // none after it: the end of the line
  EXPECT_EQ(game.current, bb5);
  GoToPreviousJunction(game);
  EXPECT_EQ(game.current, nc6);
  GoToPreviousJunction(game);
  EXPECT_EQ(game.current, e4);
  GoToPreviousJunction(game);  // none before it: the start
  EXPECT_EQ(game.current, game.root);
  GoToPreviousJunction(game);
  EXPECT_EQ(game.current, game.root);
}

TEST_F(JunctionsTest, BranchEndsAreVisitedInTurnBothWays) {
  game.current = e5;
  std::vector<NodeRef> forward;
  for (int press = 0; press < 4; ++press) {
    CycleBranchEnds(game, true);
    forward.push_back(game.current);
    EXPECT_EQ(game.Node(game.current).next, kNoNode);
  }
  // Three ends, visited once each before the first comes round again.
  EXPECT_EQ(forward[3], forward[0]);
  EXPECT_EQ(std::set<NodeRef>(forward.begin(), forward.end()), (std::set<NodeRef>{bb5, c5line, bc4}));
  std::vector<NodeRef> backward;
  for (int press = 0; press < 3; ++press) {
    CycleBranchEnds(game, false);
    backward.push_back(game.current);
  }
  // From forward[3] (= forward[0]) back through the others in reverse.
  EXPECT_EQ(backward, (std::vector<NodeRef>{forward[2], forward[1], forward[0]}));
}

}  // namespace
}  // namespace varnock::testing
