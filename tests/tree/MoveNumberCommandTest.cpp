#include "CommandFixture.h"
#include "tree/MoveNumberCommand.h"

namespace varnock::testing {
namespace {

class MoveNumberCommandTest : public CommandTest {
 protected:
  void MoveTo(const std::string& answer) {
    prompt.Type(answer);
    CmMoveTo(game, prompt);
  }
};

TEST_F(MoveNumberCommandTest, GoesToWhitesMoveOfTheActiveLine) {
  build.Play("e2e4 e7e5 g1f3 b8c6 f1b5");
  game.current = game.root;
  MoveTo("3");
  EXPECT_EQ(game.current, build.OnActiveLine(5));
  EXPECT_EQ(prompt.Records().size(), 1u);
  MoveTo(" 2 ");
  EXPECT_EQ(game.current, build.OnActiveLine(3));

  MoveTo("4");
  ExpectLastMessage("CmMoveTo()", "Number 4 could not be found.");
  EXPECT_EQ(game.current, build.OnActiveLine(3));

  Remember();
  for (const char* ignored : {"-1", "x", "", "2b", "99999999999999999999"}) MoveTo(ignored);
  prompt.CancelPick();
  CmMoveTo(game, prompt);
  EXPECT_EQ(prompt.Records().size(), 10u);  // four before, then six unanswered questions
  ExpectUntouched();
}

TEST_F(MoveNumberCommandTest, SetUpPositionsRestartTheCount) {
  build.SetUpRoot("4k3/8/8/8/8/8/4P3/4K3 w - - 0 20");
  build.Play("e2e4 e8d7");
  MoveTo("19");
  EXPECT_EQ(game.current, game.root);
  MoveTo("20");
  EXPECT_EQ(game.current, build.OnActiveLine(1));
  MoveTo("1");
  ExpectLastMessage("CmMoveTo()", "Number 1 could not be found.");

  // A second set-up position with Black to move at move 20 also matches 20.
  build.Compose("3k4/8/8/8/4P3/8/8/4K3 b - - 0 20");
  MoveTo("20");
  ExpectLastMessage("CmMoveTo()", "Warning - 2 numbers 20 were found.");
  EXPECT_EQ(game.current, build.OnActiveLine(1));
}

}  // namespace
}  // namespace varnock::testing
