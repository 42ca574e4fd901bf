// Classifying one game: deepest line, both methods, the 36 half-move limit,
// games that are never classified, the tags and messages, and key
// collisions that must not name a wrong opening.
#include <gtest/gtest.h>

#include "EcoTesting.h"
#include "openings/FetchEco.h"
#include "openings/MoveTextHash.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::PgnGames;
using testing::ScriptedPrompt;

constexpr const char* kCaption = "SGridFrame::FetchECO()";

// The 36 half-moves of the table's longest line.
constexpr const char* kMarshall =
    "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Ba4 Nf6 5.O-O Be7 6.Re1 b5 7.Bb3 O-O 8.c3 d5 9.exd5 Nxd5 10.Nxe5 Nxe5 "
    "11.Rxe5 c6 12.d4 Bd6 13.Re1 Qh4 14.g3 Qh3 15.Be3 Bg4 16.Qd3 Rae8 17.Nd2 Re6 18.a4 Qh5";
constexpr const char* kMarshallMoves =
    "e2e4e7e5g1f3b8c6f1b5a7a6b5a4g8f6e1g1f8e7f1e1b7b5a4b3e8g8c2c3d7d5e4d5f6d5f3e5c6e5e1e5c7c6d2d4e7d6e5e1d8h4g2g3"
    "h4h3c1e3c8g4d1d3a8e8b1d2e8e6a2a4h3h5";

std::string Classified(const std::string& movetext, EcoMethod method, EcoDatabase& database) {
  PgnGames games("[White \"W\"]\n[Black \"B\"]\n\n" + movetext + " *\n");
  ScriptedPrompt prompt;
  FetchECO(games[0], false, 1, method, database, prompt);
  EXPECT_TRUE(prompt.Records().empty());
  return std::string(games[0].header.Get(HeaderField::ECO)) + " " +
         std::string(games[0].header.Get(HeaderField::Opening));
}

TEST(FetchEco, TheDeepestLineWithinThirtySixHalfMoves) {
  EcoDatabase& database = testing::BuiltInDatabase();
  for (EcoMethod method : {EcoMethod::MoveOrder, EcoMethod::Transposition}) {
    // Leaving the book after 3.Bb5: the line of 3.Bb5, not one of its prefixes.
    EXPECT_EQ(Classified("1.e4 e5 2.Nf3 Nc6 3.Bb5 h5 4.a3 a5 5.h3", method, database), "C60 Ruy Lopez");
    // The longest line is reached at the 36th half-move and kept after it.
    EXPECT_EQ(Classified(std::string(kMarshall) + " 19.axb5 axb5 20.Bd1", method, database),
              "C89 Ruy Lopez: Marshall Attack, Main Line, Spassky Variation");
  }
  // A line that needs a 37th half-move is never reached.
  EcoDatabase deep = testing::DatabaseOf(std::string("C89\t") + kMarshallMoves + "\tThirty-six\n" + "C89\t" +
                                         kMarshallMoves + "a4b5\tThirty-seven\n");
  for (EcoMethod method : {EcoMethod::MoveOrder, EcoMethod::Transposition})
    EXPECT_EQ(Classified(std::string(kMarshall) + " 19.axb5", method, deep), "C89 Thirty-six");
}

TEST(FetchEco, MoveOrderAndTransposition) {
  EcoDatabase& database = testing::BuiltInDatabase();
  EXPECT_EQ(Classified("1.Nf3 d5 2.d4", EcoMethod::MoveOrder, database), "A06 Zukertort Opening");
  EXPECT_EQ(Classified("1.d4 d5 2.Nf3", EcoMethod::MoveOrder, database), "D02 Queen's Pawn Game: Zukertort Variation");
  EXPECT_EQ(Classified("1.Nf3 d5 2.d4", EcoMethod::Transposition, database),
            "D02 Queen's Pawn Game: Zukertort Variation");
  EXPECT_EQ(Classified("1.d4 d5 2.Nf3", EcoMethod::Transposition, database),
            "D02 Queen's Pawn Game: Zukertort Variation");
  // The table's transposed pair: by position the later line.
  EXPECT_EQ(Classified("1.Nc3 e5 2.f4 exf4 3.e4", EcoMethod::Transposition, database),
            "C33 King's Gambit Accepted: Mason-Keres Gambit");
  EXPECT_EQ(Classified("1.Nc3 e5 2.f4 exf4 3.e4", EcoMethod::MoveOrder, database),
            "A00 Van Geet Opening: Nowokunski Gambit");
}

TEST(FetchEco, TagsFlagsAndMessages) {
  EcoDatabase& database = testing::BuiltInDatabase();
  PgnGames games("[White \"Carlsen\"]\n[Black \"Hou\"]\n[ECO \"C60\"]\n\n1.e4 e5 2.Nf3 Nc6 3.Bb5 *\n");
  SGridFrame& game = games[0];
  game.stateFlags = kFromFileText;
  ScriptedPrompt prompt;

  EXPECT_TRUE(FetchECO(game, true, 0, EcoMethod::MoveOrder, database, prompt));
  EXPECT_EQ(game.header.Get(HeaderField::Opening), "Ruy Lopez");
  EXPECT_EQ(game.stateFlags, kFromFileText | kHeaderChanged);
  EXPECT_EQ(prompt.Last().caption, kCaption);
  EXPECT_EQ(prompt.Last().text, "C60\nRuy Lopez\n\ne2e4e7e5g1f3b8c6f1b5\nMoves = 5");

  game.stateFlags = kFromFileText;
  EXPECT_FALSE(FetchECO(game, true, 3, EcoMethod::Transposition, database, prompt));
  EXPECT_EQ(game.stateFlags, kFromFileText);
  EXPECT_EQ(prompt.Last().text, "C60\nRuy Lopez\n\ne2e4e7e5g1f3b8c6f1b5\nMoves = 5\n\nNo change");

  // Not found: the short message, or with the game's number and players.
  EcoDatabase amar = testing::DatabaseOf("A00\tg1h3\tAmar Opening\n");
  EXPECT_FALSE(FetchECO(game, true, 0, EcoMethod::MoveOrder, amar, prompt));
  EXPECT_EQ(prompt.Last().text, "Opening classification could not be found");
  EXPECT_FALSE(FetchECO(game, true, 12, EcoMethod::MoveOrder, amar, prompt));
  EXPECT_EQ(prompt.Last().text,
            "Opening classification could not be found\n\nGame number = 12\nPlayers = 'Carlsen'/'Hou'");
  EXPECT_EQ(game.header.Get(HeaderField::ECO), "C60");
  EXPECT_EQ(prompt.Records().size(), 4u);
  // Not interactive: nothing is shown.
  EXPECT_FALSE(FetchECO(game, false, 12, EcoMethod::MoveOrder, amar, prompt));
  EXPECT_EQ(prompt.Records().size(), 4u);
}

TEST(FetchEco, SetUpPositionsAndEmptyGamesAreLeftAlone) {
  EcoDatabase& database = testing::BuiltInDatabase();
  PgnGames games(
      "[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\"]\n\n1.e4 e5 *\n\n"
      "[White \"Nobody\"]\n\n*\n");
  ScriptedPrompt prompt;
  EXPECT_FALSE(FetchECO(games[0], true, 1, EcoMethod::MoveOrder, database, prompt));
  EXPECT_EQ(prompt.Last().text, "Unable to identify opening.  Starting position is a composed position.");
  EXPECT_EQ(prompt.Last().caption, kCaption);
  EXPECT_FALSE(FetchECO(games[0], false, 1, EcoMethod::Transposition, database, prompt));
  EXPECT_FALSE(FetchECO(games[1], true, 2, EcoMethod::MoveOrder, database, prompt));
  // A game whose moves were never read.
  SGridFrame scanned(games.store);
  scanned.loaded = false;
  EXPECT_FALSE(FetchECO(scanned, true, 3, EcoMethod::Transposition, database, prompt));
  EXPECT_EQ(prompt.Records().size(), 1u);
  EXPECT_TRUE(games[0].header.Get(HeaderField::ECO).empty());
  EXPECT_EQ(games[0].stateFlags & kHeaderChanged, 0);
}

// Two legal move sequences whose move texts share a hash, and two whose
// final positions share a key; found by search over short games. Without a
// comparison of what the key stands for, the game would take the other line.
TEST(FetchEco, KeyCollisionsNameNoWrongOpening) {
  const std::string played = "a2a3a7a6d2d3b7b6b1d2", collider = "a2a3a7a5g2g3g7g6h2h4";
  ASSERT_EQ(MoveTextHash(played), MoveTextHash(collider));
  EcoDatabase byMoves = testing::DatabaseOf("A00\ta2a3\tAnderssen's Opening\nA00\t" + collider + "\tCollider\n");
  EXPECT_EQ(byMoves.Table()->FirstByMoveKey(MoveTextHash(played))->name, "Collider");
  EXPECT_EQ(Classified("1.a3 a6 2.d3 b6 3.Nd2", EcoMethod::MoveOrder, byMoves), "A00 Anderssen's Opening");
  EXPECT_EQ(Classified("1.a3 a5 2.g3 g6 3.h4", EcoMethod::MoveOrder, byMoves), "A00 Collider");

  EcoDatabase byPosition = testing::DatabaseOf("A00\ta2a3\tAnderssen's Opening\nA00\tb2b4b7b6b4b5f7f5e2e3\tCollider\n");
  const EcoLine& line = byPosition.Table()->Lines()[1];
  PositionBytes reached{};
  ASSERT_TRUE(ReplayEcoMoves("a2a3b7b6b2b3b6b5h2h3", reached));
  ASSERT_NE(reached, line.finalPosition);
  ASSERT_EQ(PositionKey(reached), PositionKey(line.finalPosition));
  EXPECT_EQ(Classified("1.a3 b6 2.b3 b5 3.h3", EcoMethod::Transposition, byPosition), "A00 Anderssen's Opening");
  EXPECT_EQ(Classified("1.b4 b6 2.b5 f5 3.e3", EcoMethod::Transposition, byPosition), "A00 Collider");
}

}  // namespace
}  // namespace varnock
