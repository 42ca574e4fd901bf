#include <gtest/gtest.h>

#include "PgnTestGame.h"
#include "formats/PgnTagSection.h"
#include "formats/PgnWriter.h"

namespace varnock {
namespace {

using testing::kEmptyTags;
using testing::PgnTestGame;

std::string Tags(SGridFrame& game, bool applicationLine = false,
                 std::optional<std::string_view> fileText = std::nullopt) {
  std::string out;
  WritePgnTagSection(game, out, applicationLine, fileText);
  return out;
}

// Places a game's text inside a file text, as a load records it.
void FromFile(SGridFrame& game, const std::string& file, std::string_view gameText) {
  game.stateFlags = kFromFileText;
  game.textOffset = file.find(gameText);
  game.textLength = gameText.size();
}

TEST(PgnTagSection, EmptyHeaderWritesTheRosterWithPlaceholders) {
  PgnTestGame g;
  EXPECT_EQ(Tags(g.game), std::string(kEmptyTags) + "\r\n");
  EXPECT_EQ(Tags(g.game, true), std::string(kEmptyTags) + "\r\n%AP[Varnock:17 Portable]\r\n");
  EXPECT_EQ(g.Written(SaveExportOptions(false, false)), std::string(kEmptyTags) + "\r\n  *\r\n\r\n");
}

TEST(PgnTagSection, ValuesInOrderWithSquareBracketsRounded) {
  PgnTestGame g;
  GameHeader& h = g.game.header;
  h.Set(HeaderField::White, "Smith [GM]");
  h.Set(HeaderField::Black, "Jo\"e");
  h.Set(HeaderField::Result, "1-0");
  h.Set(HeaderField::Event, "Open");
  h.Set(HeaderField::ECO, "C20");
  h.Set(HeaderField::Opening, "King's pawn");
  h.Set(HeaderField::BlackELO, "2100");
  h.Set(HeaderField::WhiteELO, "2200");
  h.Set(HeaderField::TimeControl, "40/7200");
  h.Set(HeaderField::Board, "3");
  // The annotator has a standard tag; the game comment, which has none, is
  // the comment before the first move. A double quote never ends a value
  // early, and a closing brace never ends the comment early.
  h.Set(HeaderField::Annotator, "A. Notator");
  h.Set(HeaderField::GameComment, " From {the} club\r\n%bulletin ");
  EXPECT_EQ(Tags(g.game),
            "[Event \"Open\"]\r\n[EventDate \"?\"]\r\n[Site \"?\"]\r\n[Date \"?\"]\r\n[Round \"?\"]\r\n"
            "[White \"Smith (GM)\"]\r\n[Black \"Jo'e\"]\r\n[Result \"1-0\"]\r\n"
            "[Board \"3\"]\r\n[TimeControl \"40/7200\"]\r\n[WhiteELO \"2200\"]\r\n[BlackELO \"2100\"]\r\n"
            "[Opening \"King's pawn\"]\r\n[ECO \"C20\"]\r\n[Annotator \"A. Notator\"]\r\n\r\n"
            "{From [the] club\r\n %bulletin}\r\n");
}

TEST(PgnTagSection, SetUpAndFenOnlyForAGameThatDoesNotStartFromTheInitialPosition) {
  PgnTestGame plain;
  plain.Read("e2e4");
  EXPECT_EQ(Tags(plain.game).find("SetUp"), std::string::npos);

  PgnTestGame initialSetUp;  // set up, but exactly the initial position
  initialSetUp.SetUpRoot("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(Tags(initialSetUp.game).find("SetUp"), std::string::npos);

  PgnTestGame composed;
  composed.SetUpRoot("4k3/8/8/8/8/8/4P3/4K3 b - - 0 30");
  EXPECT_EQ(Tags(composed.game),
            std::string(kEmptyTags) + "[SetUp \"1\"]\r\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 30\"]\r\n\r\n");

  // The initial board with Black to move must say so, or the moves after it
  // would be read for the wrong side.
  PgnTestGame blackFirst;
  blackFirst.SetUpRoot("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
  EXPECT_NE(Tags(blackFirst.game).find("[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1\"]"),
            std::string::npos);
}

TEST(PgnTagSection, TagsNotModelledAreCopiedAfterSetUpAndTheModelledOnesAreNotRepeated) {
  const std::string gameText =
      "[Event \"E\"]\r\n[Source \"Ann [x]\"]\r\n[SetUp \"1\"]\r\n"
      "[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 30\"]\r\n[ whiteelo \"9\"]\r\n[PlyCount \"  3\"]\r\n"
      "[Empty \"\"]\n[ VeryLongTagNameForTesting \"kept\"]\r\n\r\n1... Kd7 *\r\n";
  const std::string file = "[Event \"before\"]\r\n\r\n1. e4 *\r\n\r\n" + gameText + "[Event \"after\"]\r\n";
  PgnTestGame g;
  g.SetUpRoot("4k3/8/8/8/8/8/4P3/4K3 b - - 0 30");
  g.Read("e8d7");
  FromFile(g.game, file, gameText);
  g.game.header.Set(HeaderField::Event, "E");
  EXPECT_EQ(Tags(g.game, false, file),
            "[Event \"E\"]\r\n[EventDate \"?\"]\r\n[Site \"?\"]\r\n[Date \"?\"]\r\n[Round \"?\"]\r\n"
            "[White \"?\"]\r\n[Black \"?\"]\r\n[Result \"*\"]\r\n"
            "[SetUp \"1\"]\r\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 30\"]\r\n"
            "[Source \"Ann [x]\"]\r\n[PlyCount \"3\"]\r\n[VeryLongTagNameForTesting \"kept\"]\r\n\r\n");

  // Without the file text, or for a game that was not split out of it,
  // nothing is copied.
  EXPECT_EQ(Tags(g.game).find("Source"), std::string::npos);
  g.game.stateFlags = kMovesChanged;
  EXPECT_EQ(Tags(g.game, false, file).find("Source"), std::string::npos);
}

TEST(PgnTagSection, CopyScanStopsAtTheMovetextAndAtTheEndOfTheText) {
  std::string out;
  EXPECT_FALSE(CopyTagsNotModelled(out, ""));
  EXPECT_FALSE(CopyTagsNotModelled(out, "1. e4 [Annotator \"late\"] *"));
  EXPECT_FALSE(CopyTagsNotModelled(out, "[Event \"x\"] [White \"y\"]"));
  EXPECT_EQ(out, "");
  EXPECT_TRUE(CopyTagsNotModelled(out, "\xEF\xBB\xBF[A \"1\"]  \t\n[B \"2\"] {comment} [C \"3\"]"));
  EXPECT_EQ(out, "[A \"1\"]\r\n[B \"2\"]");
  out.clear();
  EXPECT_TRUE(CopyTagsNotModelled(out, "[Cut \"no closing quote"));
  EXPECT_EQ(out, "[Cut \"no closing quote\"]");
  out.clear();
  EXPECT_FALSE(CopyTagsNotModelled(out, "[NoQuote]"));
}

TEST(PgnTagSection, GameTextOutsideTheFileTextIsIgnored) {
  const std::string file = "[Source \"A\"]\r\n1. e4 *";
  PgnTestGame g;
  g.game.stateFlags = kFromFileText;
  g.game.textOffset = 0;
  g.game.textLength = 1000;  // longer than the text: cut at its end
  EXPECT_NE(Tags(g.game, false, file).find("[Source \"A\"]\r\n\r\n"), std::string::npos);
  EXPECT_EQ(GameTextOf(g.game, file), file);
  g.game.textOffset = file.size();
  EXPECT_EQ(GameTextOf(g.game, file), "");
  g.game.textOffset = ~std::uint64_t{0};
  g.game.textLength = ~std::uint64_t{0};
  EXPECT_EQ(Tags(g.game, false, file), std::string(kEmptyTags) + "\r\n");
}

TEST(PgnTagSection, HeaderOfAGameNotYetReadKeepsTheFenOfItsText) {
  const std::string file =
      "[Event \"x\"]\r\n[SetUp \"1\"]\r\n[FEN \"8/8/8/4k3/8/8/4K3/8 b - - 0 9\"]\r\n\r\n9... Kd6 *";
  NodeStore store;
  SGridFrame game(store);
  game.loaded = false;
  FromFile(game, file, file);
  const std::string tags = Tags(game, false, file);
  EXPECT_NE(tags.find("[Result \"*\"]\r\n[SetUp \"1\"]\r\n[FEN \"8/8/8/4k3/8/8/4K3/8 b - - 0 9\"]\r\n\r\n"),
            std::string::npos);
  EXPECT_FALSE(game.HasTree());
}

}  // namespace
}  // namespace varnock
