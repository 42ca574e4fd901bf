#include <map>
#include <memory>

#include "CommandFixture.h"
#include "tree/Comments.h"
#include "tree/MarkCommands.h"

namespace varnock::testing {
namespace {

constexpr const char* kReplaceResult =
    "A game result has been detected elsewhere in the current game line.\r\nDo you wish to replace it?";

class MarkCommandsTest : public CommandTest {};

TEST_F(MarkCommandsTest, ResultAsksOnceAndReplacesMarksAboveAndBelow) {
  build.Play("e2e4 e7e5 g1f3 b8c6 f1b5");
  const NodeRef drawn = build.OnActiveLine(2), below = build.OnActiveLine(5), target = build.OnActiveLine(4);
  store.SetResult(drawn, 3);
  store.SetResult(below, 2);
  game.current = target;

  Remember();
  prompt.Pick(1).No();
  CmResult(game, prompt);
  ASSERT_EQ(prompt.Records().size(), 2u);
  EXPECT_EQ(prompt.Records()[0].caption, " Game Result");
  EXPECT_EQ(prompt.Records()[0].text, "NONE|WHITE WIN|BLACK WIN|DRAWN GAME");
  ExpectLastMessage("CmResult()", kReplaceResult);
  ExpectUntouched();

  prompt.Clear();
  prompt.Pick(1).Yes();
  CmResult(game, prompt);
  EXPECT_EQ(prompt.Records().size(), 2u);  // one question for both marks
  EXPECT_EQ(store.ResultOf(target), 1);
  EXPECT_EQ(store.ResultOf(drawn), 0);
  EXPECT_EQ(store.ResultOf(below), 0);
  EXPECT_FALSE(game.Node(drawn).Has2(kFlag2Result));
  ExpectChanged();
}

TEST_F(MarkCommandsTest, ResultOnALineWithoutOtherMarksOrClearedAsksNothing) {
  const NodeRef last = build.Play("d2d4 d7d5");
  const NodeRef side = build.Alternative(build.OnActiveLine(1), "g8f6");
  store.SetResult(side, 3);  // another line: not on the line through the node
  prompt.Pick(3);
  CmResult(game, prompt);
  EXPECT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(store.ResultOf(last), 3);
  EXPECT_EQ(store.ResultOf(side), 3);

  store.SetResult(build.OnActiveLine(1), 1);
  prompt.Pick(0);  // NONE only clears the node's own mark
  CmResult(game, prompt);
  EXPECT_EQ(store.ResultOf(last), 0);
  EXPECT_EQ(store.ResultOf(build.OnActiveLine(1)), 1);

  Remember();
  prompt.CancelPick();
  CmResult(game, prompt);
  ExpectUntouched();
}

TEST_F(MarkCommandsTest, RatingAssessmentAndDiagram) {
  const NodeRef move = build.Play("e2e4");
  prompt.Pick(6).Pick(4);
  CmRateMove(game, prompt);
  CmPositionalAdvantage(game, prompt);
  EXPECT_EQ(prompt.Records()[0].caption, " Rate the Game Move");
  EXPECT_EQ(prompt.Records()[0].text, "NONE|GOOD|BRILLIANT|BAD|BLUNDER|INTERESTING|DUBIOUS");
  EXPECT_EQ(prompt.Records()[1].caption, " Positional Advantage");
  EXPECT_EQ(prompt.Records()[1].text,
            "NONE|BLACK ADVANTAGE, CLEAR|BLACK ADVANTAGE, SLIGHT|LEVEL POSITION|WHITE ADVANTAGE, SLIGHT|WHITE "
            "ADVANTAGE, CLEAR");
  EXPECT_EQ(store.RatingOf(move), 6);
  EXPECT_EQ(store.AssessmentOf(move), 4);
  ExpectChanged();

  prompt.Pick(0);
  CmRateMove(game, prompt);
  EXPECT_FALSE(game.Node(move).Has2(kFlag2Rating));

  EXPECT_EQ(DiagramMenuText(game), "Add a Print &Diagram\tCtrl+D");
  CmToggleDiagram(game);
  EXPECT_TRUE(game.Node(move).Has(kFlagDiagram));
  EXPECT_EQ(DiagramMenuText(game), "Remove Print &Diagram\tCtrl+D");
  CmToggleDiagram(game);
  EXPECT_FALSE(game.Node(move).Has(kFlagDiagram));
}

TEST_F(MarkCommandsTest, RemovingComments) {
  const NodeRef e4 = build.Play("e2e4");
  const NodeRef e5 = build.Play("e7e5");
  const NodeRef c5 = build.Alternative(e4, "c7c5");
  SetComment(game, e4, NodeStore::kBefore, "before", true);
  SetComment(game, e4, NodeStore::kAfter, "after", true);
  SetComment(game, c5, NodeStore::kAfter, "sicilian", true);
  SetComment(game, e5, NodeStore::kAfter, "open", true);

  game.current = e5;
  CmRemoveMoveComments(game);
  EXPECT_EQ(store.Comment(e5, NodeStore::kAfter), nullptr);
  EXPECT_FALSE(game.Node(e5).Has(kFlagCommentAfter));
  ExpectChanged();

  Remember();
  prompt.No();
  CmRemoveAllComments(game, prompt);
  ExpectLastMessage("CmRemoveAllComments()",
                    "Warning.\nAbout to remove all comments from the game tree.\n\nDo you wish to continue?");
  ExpectUntouched();

  prompt.Yes();
  CmRemoveAllComments(game, prompt);
  ExpectLastMessage("CmRemoveAllComments()", "3  comments were found and deleted");
  EXPECT_EQ(store.Comment(c5, NodeStore::kAfter), nullptr);
  EXPECT_FALSE(game.Node(e4).Has(kFlagCommentBefore) || game.Node(e4).Has(kFlagCommentAfter));
  ExpectChanged();

  Remember();
  CmRemoveAllComments(game, prompt);
  ExpectLastMessage("CmRemoveAllComments()", "No comment was found in the game tree.");
  ExpectUntouched();
}

// A collection whose games come into memory when first asked for.
class FakeCollection : public GameCollection {
 public:
  FakeCollection(NodeStore& store, int games) : store_(store), count_(games) {}
  int GameCount() const override { return count_; }
  GameTree* LoadGame(int index) override {
    auto& game = games_[index];
    if (!game) {
      game = std::make_unique<GameTree>(store_);
      GameBuilder build(*game);
      NodeRef move = build.Play("e2e4 e7e5");
      if (index != 1) SetComment(*game, move, NodeStore::kAfter, "note", true);  // game 1 has none
      if (index == 2) SetComment(*game, game->root, NodeStore::kBefore, "intro", true);
      game->changed = false;
    }
    ++loads;
    return game.get();
  }
  void MarkCollectionChanged() override { changed = true; }

  int loads = 0;
  bool changed = false;
  std::map<int, std::unique_ptr<GameTree>> games_;

 private:
  NodeStore& store_;
  int count_;
};

TEST_F(MarkCommandsTest, RemovingCommentsOfAWholeCollection) {
  FakeCollection collection(store, 3);
  prompt.No();
  CmRemovePGNComments(collection, prompt);
  ExpectLastMessage("CmRemovePGNComments()",
                    "Warning.\nAbout to erase all comments from all the games in the collection. \n\nDo you wish to "
                    "continue?");
  EXPECT_EQ(collection.loads, 0);
  EXPECT_FALSE(collection.changed);

  prompt.Yes();
  CmRemovePGNComments(collection, prompt);
  ExpectLastMessage("CmRemovePGNComments()", "3  comments were found and deleted");
  EXPECT_TRUE(collection.changed);
  EXPECT_TRUE(collection.games_[0]->changed);
  EXPECT_FALSE(collection.games_[1]->changed);  // nothing removed: still copied from the file
  EXPECT_TRUE(collection.games_[2]->changed);
  EXPECT_FALSE(game.Node(collection.games_[2]->root).Has(kFlagCommentBefore));

  collection.changed = false;
  prompt.Yes();
  CmRemovePGNComments(collection, prompt);
  ExpectLastMessage("CmRemovePGNComments()", "No comments were found");
  EXPECT_FALSE(collection.changed);
}

}  // namespace
}  // namespace varnock::testing
