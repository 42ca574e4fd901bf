// Around the analysis window: playing a listed line into the game, the launch
// checks, the options dialog's checks and the engine list setting.
#include <gtest/gtest.h>

#include "engine/AnalysisCommands.h"
#include "engine/EngineList.h"
#include "engine/UciOptionsForm.h"
#include "support/GameBuilder.h"
#include "support/ScriptedPrompt.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

SUCISequence Line(const GameTree& game, const std::string& coordinates) {
  SUCISequence line;
  line.coordinates = coordinates;
  line.position = {game.current, game.gameId};
  return line;
}

TEST(PlayingALine, TheFirstMoveIsEnteredAsOnTheBoard) {
  for (bool flipped : {false, true}) {
    NodeStore store;
    GameTree game(store);
    game.boardFlipped = flipped;
    ScriptedPrompt prompt;
    EXPECT_EQ(CmAddSequence(game, Line(game, "g1f3 g8f6"), prompt), EntryOutcome::Added);
    EXPECT_EQ(store.Node(game.current).From(), kG1);
    EXPECT_EQ(store.Node(game.current).To(), SquareAt(5, 5));
    EXPECT_TRUE(prompt.Records().empty());
  }
}

TEST(PlayingALine, PromotionPieceComesFromTheLine) {
  for (auto [letter, piece] : {std::pair{'q', kQueen}, {'r', kRook}, {'b', kBishop}, {'n', kKnight}, {'k', kKnight}}) {
    NodeStore store;
    GameTree game(store);
    testing::GameBuilder(game).SetUpRoot("8/4P3/8/8/8/k7/8/K7 w - - 0 1");
    ShowCurrentPosition(game);
    ScriptedPrompt prompt;
    EXPECT_EQ(CmAddSequence(game, Line(game, std::string("e7e8") + letter + " a3b3"), prompt), EntryOutcome::Added);
    EXPECT_EQ(BoardAt(store, game.current)[kE8], piece | kWhite) << letter;
  }
}

TEST(PlayingALine, OnlyFromThePositionItWasFoundFor) {
  NodeStore store;
  GameTree game(store);
  testing::GameBuilder builder(game);
  builder.Play("e2e4");
  GoToRoot(game);
  const SUCISequence atRoot = Line(game, "d2d4");
  GoToLineEnd(game);
  ScriptedPrompt prompt;
  EXPECT_EQ(CmAddSequence(game, atRoot, prompt), EntryOutcome::Refused);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CmAddSequence ()");
  EXPECT_EQ(prompt.Last().text,
            "Unable to do the action.\n\nThe main application window is showing a different position to that which "
            "was used for the UCI prediction.");

  // A line of another game is ignored without a word.
  SUCISequence other = Line(game, "e7e5");
  other.position.game = game.gameId + 1;
  prompt.Clear();
  EXPECT_EQ(CmAddSequence(game, other, prompt), EntryOutcome::Refused);
  EXPECT_TRUE(prompt.Records().empty());
}

TEST(LaunchChecks, OneEngineAtATimeAndAComposedPositionMustParse) {
  ScriptedPrompt prompt;
  EXPECT_TRUE(MayLaunchAnalysis(false, prompt));
  EXPECT_FALSE(MayLaunchAnalysis(true, prompt));
  EXPECT_EQ(prompt.Last().caption, "CmUCILaunch()");
  EXPECT_EQ(prompt.Last().text, "A UCI engine is already running");
  EXPECT_FALSE(MayLaunchComposedAnalysis(true, "", prompt));
  EXPECT_EQ(prompt.Last().caption, "SDlgCompose::CmUCI()");
  EXPECT_FALSE(MayLaunchComposedAnalysis(false, "8/8/8/8/8/8/8/8 w - - 0 1", prompt));
  EXPECT_EQ(prompt.Last().caption, "SDlgCompose()::CmUCI()");
  EXPECT_EQ(prompt.Last().text.rfind("'8/8/8/8/8/8/8/8 w - - 0 1'\r\n\r\nInvalid FEN string.\r\n", 0), 0u);
  EXPECT_TRUE(MayLaunchComposedAnalysis(false, "4k3/8/8/8/8/8/8/4K3 w - - 0 1", prompt));
}

TEST(EngineListSetting, RelativeEntriesRoundTripAndDuplicatesGo) {
  const std::string data = "/usr/share/varnock";
  EXPECT_EQ(EngineFromPath("/usr/share/varnock/engines/sf", data), (SEngine{"sf", "./engines/"}));
  EXPECT_EQ(EngineFromPath("/usr/share/varnock2/sf", data), (SEngine{"sf", "/usr/share/varnock2/"}));
  EXPECT_EQ(EngineFromPath("/usr/games/stockfish", data), (SEngine{"stockfish", "/usr/games/"}));
  EXPECT_EQ(FullPath(SEngine{"sf", "./engines/"}, data + "/"), "/usr/share/varnock/engines/sf");

  const std::vector<SEngine> list = ParseEngineList(";/usr/games/stockfish;;./engines/sf;/usr/games/stockfish;/opt/SF");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(FormatEngineList(list), "/usr/games/stockfish;./engines/sf;/opt/SF");
  EXPECT_TRUE(ParseEngineList("NULL").empty());
  EXPECT_EQ(FormatEngineList({}), "NULL");
}

TEST(OptionsDialog, AddRemoveAndTheChecksOfOk) {
  std::vector<SEngine> engines;
  UciOptionsForm form(engines, "/data", 1, false);
  EXPECT_FALSE(form.OneProcessorShown());
  ScriptedPrompt prompt;
  const char* add = "SDlgUCIOptions::CmAddEngine()";
  const char* ok = "SDlgUCIOptions::OnOK()";

  EXPECT_FALSE(form.OnOK(prompt));
  EXPECT_EQ(prompt.Last().text, "No UCI chess engines are in the list");
  EXPECT_EQ(prompt.Last().caption, ok);
  form.CmAddEngine(std::string(), prompt);
  EXPECT_EQ(prompt.Last().text, "No EXE filename");
  EXPECT_EQ(prompt.Last().caption, add);
  form.CmAddEngine(std::string("/usr/games/stockfish"), prompt);
  EXPECT_EQ(prompt.Last().text, "'/usr/games/stockfish'\r\n\r\nProgram added to the list");
  form.CmAddEngine(std::string("/usr/games/stockfish"), prompt);
  EXPECT_EQ(prompt.Last().text, "'/usr/games/stockfish'\r\n\r\nis already in the list");
  form.CmAddEngine(std::string("/data/engines/fake"), prompt);
  EXPECT_EQ(engines.back(), (SEngine{"fake", "./engines/"}));
  EXPECT_EQ(form.LastDirectory(), "/data/engines/");
  const std::size_t before = prompt.Records().size();
  form.CmAddEngine(std::nullopt, prompt);  // the file dialog was cancelled
  EXPECT_EQ(prompt.Records().size(), before);

  EXPECT_FALSE(form.OnOK(prompt));
  EXPECT_EQ(prompt.Last().text, "A UCI chess engine needs to be selected from the list");
  form.selection = {0, 1};
  EXPECT_FALSE(form.OnOK(prompt));
  EXPECT_EQ(prompt.Last().text, "Multiple UCI chess engines cannot be selected");
  form.selection = {1};
  form.useFen = true;
  form.fen = "8/8/8/8/8/8/8/8 w - - 0 1";
  EXPECT_FALSE(form.OnOK(prompt));
  EXPECT_EQ(prompt.Last().text.rfind("'8/8/8/8/8/8/8/8 w - - 0 1'\r\n\r\nInvalid FEN string.\r\n", 0), 0u);
  form.fen = "4k3/8/8/8/8/8/8/4K3 w - - 0 1";
  EXPECT_TRUE(form.OnOK(prompt));
  EXPECT_EQ(form.EnginePath(), "/data/engines/fake");

  // Removing the last entry selects the new last one.
  form.RemoveSelected();
  EXPECT_EQ(engines.size(), 1u);
  EXPECT_EQ(form.selection, std::vector<int>{0});
  form.RemoveSelected();
  EXPECT_TRUE(engines.empty());
  EXPECT_TRUE(form.selection.empty());
}

}  // namespace
}  // namespace varnock
