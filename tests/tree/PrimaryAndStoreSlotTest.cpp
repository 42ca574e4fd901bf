#include "CommandFixture.h"
#include "tree/Bookmarks.h"
#include "tree/PrimaryCommands.h"
#include "tree/StoreSlotCommands.h"

namespace varnock::testing {
namespace {

class PrimaryAndStoreSlotTest : public CommandTest {
 protected:
  // 1.e4 e5 2.Nf3 with the alternative 1...c5 2.Nc3; returns Nc3.
  NodeRef BuildGame() {
    build.Play("e2e4 e7e5 g1f3");
    return build.Alternative(build.OnActiveLine(1), "c7c5 b1c3");
  }
};

TEST_F(PrimaryAndStoreSlotTest, PrimaryPosition) {
  const NodeRef nc3 = BuildGame();
  Remember();
  CmGoToPrimary(game, prompt);
  ExpectLastMessage("CmGoToPrimary()", "No position in the game tree is marked as the primary position");
  ExpectUntouched();

  game.current = nc3;
  MarkCurrentAsPrimary(game);
  EXPECT_EQ(game.primary, nc3);
  ExpectChanged();
  game.current = game.root;
  CmGoToPrimary(game, prompt);
  EXPECT_EQ(game.current, nc3);
  EXPECT_EQ(game.lineEnd, nc3);
  EXPECT_EQ(build.OnActiveLine(3), nc3);

  game.current = game.root;
  MarkCurrentAsPrimary(game);
  EXPECT_EQ(game.primary, game.root);
  EXPECT_EQ(MarkerLabels(game, game.root), " primary ");
}

TEST_F(PrimaryAndStoreSlotTest, StoreSlots) {
  const NodeRef nc3 = BuildGame();
  const NodeRef e4 = build.OnActiveLine(1);
  game.current = e4;
  CmStorePosition(game, 3);
  EXPECT_EQ(game.storeSlots[3], e4);
  EXPECT_TRUE(game.Node(e4).Has2(kFlag2Stored));
  ExpectChanged();

  Remember();
  CmStorePosition(game, 3);  // already there
  CmStorePosition(game, 10);
  CmGoToStoredPosition(game, 3);  // the current node
  CmGoToStoredPosition(game, 5);  // empty
  ExpectUntouched();

  CmStorePosition(game, 7);  // moves from slot 3 to slot 7
  EXPECT_EQ(game.storeSlots[3], kNoNode);
  EXPECT_EQ(game.storeSlots[7], e4);

  game.current = nc3;
  CmStorePosition(game, 7);  // takes the slot from e4
  EXPECT_FALSE(game.Node(e4).Has2(kFlag2Stored));
  EXPECT_TRUE(game.Node(nc3).Has2(kFlag2Stored));

  game.current = game.root;
  CmStorePosition(game, 0);
  CmGoToStoredPosition(game, 7);
  EXPECT_EQ(game.current, nc3);
  EXPECT_EQ(game.lineEnd, nc3);

  CmRemoveAllStored(game);
  EXPECT_EQ(game.storeSlots, (std::array<NodeRef, 10>{}));
  EXPECT_FALSE(game.Node(nc3).Has2(kFlag2Stored) || game.Node(game.root).Has2(kFlag2Stored));
  Remember();
  CmRemoveAllStored(game);
  ExpectUntouched();
}

}  // namespace
}  // namespace varnock::testing
