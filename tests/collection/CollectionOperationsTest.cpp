// Adding, removing and reordering games, and the bulk header edits: the
// resulting order, the current game, the flags and every question and
// report.
#include <gtest/gtest.h>

#include "HeaderGames.h"
#include "collection/ExcludeSelected.h"
#include "collection/GameAdditions.h"
#include "collection/GameRemovals.h"
#include "collection/HeaderEdits.h"
#include "collection/Reorder.h"
#include "support/CollectionTesting.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ScriptedPrompt;
using testing::TaggedGame;

// The White names of the games in collection order.
std::string Whites(const Collection& c) {
  std::string names;
  for (std::size_t i = 0; i < c.Count(); ++i) {
    if (i) names += ",";
    names += c.Game(i).header.Get(HeaderField::White);
  }
  return names;
}

std::string NamedGames(std::initializer_list<const char*> whites) {
  std::string text;
  for (const char* white : whites) text += TaggedGame({{"White", white}});
  return text;
}

TEST(GameAdditions, ImportedFilesFollowTheAnchorLaterFileFirst) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("main.pgn", NamedGames({"f", "g", "h"})));
  testing::WriteFile(t.folder / "a.pgn", NamedGames({"a1", "a2"}));
  testing::WriteFile(t.folder / "b.pgn", NamedGames({"b1", "b2"}));
  testing::WriteFile(t.folder / "empty.pgn", " \r\n");
  t.collection.SelectGame(1, false);
  t.prompt.DeclineUnscripted();
  std::optional<std::size_t> first =
      CollImport(t.collection, 1, {t.folder / "a.pgn", "", t.folder / "missing.pgn", t.folder / "b.pgn"});
  EXPECT_EQ(Whites(t.collection), "f,g,b1,b2,a1,a2,h");
  ASSERT_EQ(first, std::optional<std::size_t>(2));
  EXPECT_EQ(t.collection.CurrentPosition(), 1u);  // the caller moves on
  EXPECT_TRUE(t.collection.modified);
  const SGridFrame& b1 = t.collection.Game(2);
  EXPECT_EQ(b1.textLength, 0u);
  EXPECT_EQ(b1.stateFlags, 0);
  EXPECT_TRUE(b1.loaded);
  bool reportedA = false, reportedB = false;
  for (const auto& record : t.prompt.Records()) {
    reportedA |= record.caption == "CollImport()" &&
                 record.text == "'" + t.folder / "a.pgn" + "'\n\nFile imported.\r\n2 games were loaded.";
    reportedB |= record.text.find("b.pgn'\n\nFile imported.") != std::string::npos;
  }
  EXPECT_TRUE(reportedA && reportedB);

  // The command asks for a file and makes its first game current.
  t.prompt.Clear();
  testing::WriteFile(t.folder / "one.pgn", NamedGames({"o1"}));
  ScriptedPrompt& p = t.prompt;
  p.File(t.folder / "one.pgn");
  CollImport(t.collection, std::optional<std::size_t>(t.collection.Count() - 1));
  EXPECT_EQ(Whites(t.collection), "f,g,b1,b2,a1,a2,h,o1");
  EXPECT_EQ(t.collection.CurrentPosition(), 7u);
  EXPECT_EQ(p.Records().front().caption, "Import file(s) into Collection");
  EXPECT_EQ(p.Records().front().text, "PGN Files  ( *.pgn )|*.pgn|ECH Files  ( *.ech )|*.ech|All Files  ( *.* )|*.*||");
  EXPECT_EQ(p.Last().text, "'" + t.folder / "one.pgn" + "'\n\nFile imported.\r\n1 game was loaded.");
}

TEST(GameAdditions, PastedPgnFollowsTheCurrentGameInReverse) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("main.pgn", NamedGames({"f", "g", "h"})));
  t.collection.SelectGame(1, false);
  std::optional<GameList> games = ReadPastedPgn(
      t.collection, NamedGames({"p1", "p2"}) + "[White \"p3\"]\n\n1. d4 {a {nested} comment} d5 *\n", true);
  ASSERT_TRUE(games.has_value());
  ASSERT_EQ(games->size(), 3u);
  EXPECT_TRUE(t.prompt.Records().empty());
  CmCollAddPGN(t.collection, std::move(*games));
  EXPECT_EQ(Whites(t.collection), "f,g,p3,p2,p1,h");
  EXPECT_EQ(t.collection.CurrentPosition(), 2u);
  EXPECT_TRUE(t.collection.modified);
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmCollAddPGN()");
  EXPECT_EQ(t.prompt.Last().text, "PGN data imported.\r\n\r\n3 games were loaded.");

  EXPECT_EQ(NestedBracesToBrackets("[Event \"{x\"]\n1. e4 {a {b {c}} d} ; {\n{e}"),
            "[Event \"{x\"]\n1. e4 {a [b [c]] d} ; {\n{e}");

  // A reading error asks whether to go on; Cancel keeps nothing.
  t.prompt.DeclineUnscripted();
  t.prompt.Clear();
  EXPECT_FALSE(ReadPastedPgn(t.collection, "[White \"x\"]\n\n1. e4 Qxz9 *\n", false).has_value());
  EXPECT_EQ(t.prompt.Last().caption, "OnOK()");
  EXPECT_EQ(t.prompt.Last().text, "Some PGN errors were detected.  Lines of play will be truncated.\r\n\r\nContinue?");
}

TEST(GameAdditions, NewGamesGoBeforeTheCurrentGame) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("main.pgn", NamedGames({"f", "g"})));
  t.collection.SelectGame(1, false);
  AddNewGame(t.collection);
  EXPECT_EQ(Whites(t.collection), "f,,g");
  EXPECT_EQ(t.collection.CurrentPosition(), 1u);
  EXPECT_TRUE(t.collection.modified);

  CmCollAddFEN(t.collection, "8/8/8/4k3/8/8/8/4K2R b K - 0 40");
  ASSERT_EQ(t.collection.Count(), 4u);
  EXPECT_EQ(t.collection.CurrentPosition(), 1u);
  GameTree& tree = t.collection.CurrentGame().Tree();
  EXPECT_TRUE(tree.Node(tree.root).Has(kFlagComposed));
  EXPECT_TRUE(tree.Node(tree.root).Has(kFlagBlackToMove));
  EXPECT_TRUE(t.prompt.Records().empty());

  // A refused FEN is reported; the game is added without a position.
  CmCollAddFEN(t.collection, "not a fen");
  EXPECT_EQ(t.collection.Count(), 5u);
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmCollAddFEN()");
  EXPECT_TRUE(t.prompt.Last().text.starts_with("'not a fen'\r\n\r\n"));
  GameTree& refused = t.collection.CurrentGame().Tree();
  EXPECT_FALSE(refused.Node(refused.root).Has(kFlagComposed));
}

TEST(GameRemovals, DeleteCurrentAndEmpty) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("main.pgn", NamedGames({"a", "b", "c"})));
  const std::string question =
      "Warning.\nAbout to remove the current game from the collection.\n\nDo you wish to continue?";
  t.collection.SelectGame(1, false);
  t.prompt.No();
  CmCollDelete(t.collection);
  EXPECT_EQ(t.prompt.Last().caption, "CmCollDelete()");
  EXPECT_EQ(t.prompt.Last().text, question);
  EXPECT_EQ(t.collection.Count(), 3u);
  EXPECT_FALSE(t.collection.modified);

  t.prompt.Yes();
  CmCollDelete(t.collection);  // the next game becomes current
  EXPECT_EQ(Whites(t.collection), "a,c");
  EXPECT_EQ(t.collection.CurrentGame().header.Get(HeaderField::White), "c");
  EXPECT_TRUE(t.collection.modified);
  t.prompt.Yes();
  CmCollDelete(t.collection);  // the last: the new last game
  EXPECT_EQ(Whites(t.collection), "a");
  t.prompt.Clear();
  CmCollDelete(t.collection);  // a single game: nothing, not even a question
  EXPECT_TRUE(t.prompt.Records().empty());
  EXPECT_EQ(t.collection.Count(), 1u);

  t.prompt.No();
  CmCollEmpty(t.collection);
  EXPECT_EQ(t.prompt.Last().caption, "CmCollEmpty()");
  EXPECT_EQ(t.prompt.Last().text, "Unsaved changes will be lost.\r\nDo you wish to create an empty collection?");
  t.prompt.Yes();
  CmCollEmpty(t.collection);
  EXPECT_EQ(Whites(t.collection), "");
  EXPECT_FALSE(t.collection.modified);
  EXPECT_EQ(t.collection.fileName, "");
  t.prompt.No();
  CmCollEmpty(t.collection);
  EXPECT_EQ(t.prompt.Last().text, "Create an empty collection?");
}

TEST(Reorder, StableInBothDirectionsWithEmptyKeysAtTheStart) {
  CollectionUnderTest t;
  const std::string text = TaggedGame({{"White", "1"}, {"Event", "B"}}) + TaggedGame({{"White", "2"}}) +
                           TaggedGame({{"White", "3"}, {"Event", "A"}}) + TaggedGame({{"White", "4"}, {"Event", "B"}}) +
                           TaggedGame({{"White", "5"}}) + TaggedGame({{"White", "6"}, {"Event", "A"}});
  ASSERT_TRUE(t.LoadText("events.pgn", text));
  t.collection.SelectGame(3, false);
  const std::locale c = std::locale::classic();
  ASSERT_TRUE(ReorderGames(t.collection, ReorderKey::Event, false, c));
  EXPECT_EQ(Whites(t.collection), "2,5,3,6,1,4");
  EXPECT_EQ(t.collection.CurrentGame().header.Get(HeaderField::White), "4");
  EXPECT_TRUE(t.collection.modified);
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::ReorderGames()");
  EXPECT_EQ(t.prompt.Last().text, "Completed.  Reordered 6 games, by event");
  ASSERT_TRUE(ReorderGames(t.collection, ReorderKey::Event, true, c));
  EXPECT_EQ(Whites(t.collection), "1,4,3,6,2,5");
  EXPECT_EQ(t.prompt.Last().text, "Completed.  Reordered 6 games, by event ( in descending order )");
  // By White: a plain order, every key different.
  ASSERT_TRUE(ReorderGames(t.collection, ReorderKey::White, true, c));
  EXPECT_EQ(Whites(t.collection), "6,5,4,3,2,1");
}

TEST(Reorder, DateFallsBackToEventDateButMustBeSetSomewhere) {
  CollectionUnderTest t;
  std::string text = TaggedGame({{"White", "a"}, {"EventDate", "2001.01.01"}}) +
                     TaggedGame({{"White", "b"}, {"EventDate", "1999.01.01"}});
  ASSERT_TRUE(t.LoadText("dates.pgn", text));
  EXPECT_FALSE(ReorderGames(t.collection, ReorderKey::Date, false, std::locale::classic()));
  EXPECT_EQ(t.prompt.Last().text,
            "Unable to sort.  The chosen parameter ( date ) is empty for all games of the collection.");
  EXPECT_FALSE(t.collection.modified);
  EXPECT_EQ(Whites(t.collection), "a,b");

  text += TaggedGame({{"White", "c"}, {"Date", "2000.01.01"}});
  ASSERT_TRUE(t.LoadText("dates2.pgn", text));
  ASSERT_TRUE(ReorderGames(t.collection, ReorderKey::Date, false, std::locale::classic()));
  EXPECT_EQ(Whites(t.collection), "b,c,a");
  EXPECT_FALSE(ReorderGames(t.collection, ReorderKey::Black, false, std::locale::classic()));
  EXPECT_EQ(t.prompt.Last().text,
            "Unable to sort.  The chosen parameter ( black player ) is empty for all games of the collection.");
}

TEST(HeaderEdits, SetEventRenameAndEventDetails) {
  CollectionUnderTest t;
  const std::string text = TaggedGame({{"White", "Smith"}, {"Black", "Smith"}, {"Event", "Open"}, {"Site", "Oslo"}}) +
                           TaggedGame({{"White", "Jones"}, {"Black", "Smith"}, {"Event", "Open"}, {"Site", "Oslo"}}) +
                           TaggedGame({{"White", "smith"}, {"Black", "Jones"}, {"Event", "Open"}, {"Site", "Bergen"}});
  ASSERT_TRUE(t.LoadText("edits.pgn", text));

  // Renaming a player who played both sides of a game: two edits there.
  CollectionList players(t.collection, ListKind::Players);
  players.SelectOnly(1);  // Smith
  ASSERT_EQ(players.Players()[1].name, "Smith");
  EditOutcome renamed = EditPlayerNames(players, [](const std::string& old) {
    EXPECT_EQ(old, "Smith");
    return std::optional<std::string>("Smyth");
  });
  EXPECT_EQ(renamed.edits, 3);
  EXPECT_EQ(t.prompt.Last().caption, "SListCtrl::EditPlayerNames()");
  EXPECT_EQ(t.prompt.Last().text, "3 player name edits were made.\r\n\r\nFrom\t'Smith'\r\nto\t'Smyth'");
  EXPECT_EQ(t.collection.Game(0).header.Get(HeaderField::Black), "Smyth");
  EXPECT_EQ(t.collection.Game(2).header.Get(HeaderField::White), "smith");
  EXPECT_EQ(t.collection.Game(2).stateFlags, kFromFileText);
  EXPECT_EQ(t.collection.Game(1).stateFlags, kFromFileText | kHeaderChanged);
  EXPECT_EQ(players.Players()[1].name, "Smyth");  // rebuilt
  EXPECT_TRUE(t.collection.modified);
  EXPECT_EQ(RenamePlayer(t.collection, "smith", "Smith").report,
            "1 player name edit was made.\r\n\r\nFrom\t'smith'\r\nto\t'Smith'");
  EXPECT_EQ(RenamePlayer(t.collection, "Nobody", "X").report, "No player name edits were made");

  CollectionList events(t.collection, ListKind::Events);
  events.SelectOnly(1);  // Open, Oslo
  EditOutcome moved = EditEventDetails(events, [](const EventDetails& old) {
    EXPECT_EQ(old.site, "Oslo");
    return std::optional<EventDetails>({"Open", "Bergen", ""});
  });
  EXPECT_EQ(moved.edits, 2);
  EXPECT_EQ(t.prompt.Last().caption, "SListCtrl::EditEventDetails()");
  EXPECT_EQ(t.prompt.Last().text, "2 event edits were made");
  EXPECT_EQ(events.RowCount(), 1u);
  events.SelectOnly(0);
  EXPECT_EQ(EditEventDetails(events, [](const EventDetails& d) { return std::optional<EventDetails>(d); }).report,
            "3 event edits were made");

  CmSetEvent(t.collection, {"Cup", "Rome", "2024.05.01"});
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmSetEvent()");
  EXPECT_EQ(t.prompt.Last().text, "Event information for 3 games were changed");
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(t.collection.Game(i).header.Get(HeaderField::EventDate), "2024.05.01");
    EXPECT_TRUE(t.collection.Game(i).stateFlags & kHeaderChanged);
    EXPECT_FALSE(t.collection.Game(i).stateFlags & kMovesChanged);
  }
  // Opening a game edited unread keeps its header change for the save.
  ASSERT_FALSE(t.collection.Game(2).loaded);
  t.collection.SelectGame(2, false);
  EXPECT_EQ(t.collection.Game(2).StateFlags(), kFromFileText | kHeaderChanged);
  std::string saved;
  t.files.Save_File(saved, false, kFilePgn, false);
  EXPECT_EQ(saved.find("Open"), std::string::npos);
  EXPECT_NE(saved.find("[Site \"Rome\"]"), std::string::npos);

  t.collection.NewCollection();
  CmSetEvent(t.collection, {"Cup", "", ""});
  EXPECT_EQ(t.prompt.Last().text, "Event information for one game was changed");
}

TEST(HeaderEdits, GameInformationWithItsExtraTags) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("info.pgn", "[White \"A\"]\n[WhiteFideId \"123\"]\n[Mode \"OTB\"]\n\n1. e4 *\n\n" +
                                         TaggedGame({{"White", "B"}})));
  SGridFrame& game = t.collection.Game(1);
  GameInformation info = ReadGameInformation(t.collection, t.collection.Game(0));
  EXPECT_EQ(info.extraTags, "[WhiteFideId \"123\"]\r\n[Mode \"OTB\"]");
  info = ReadGameInformation(t.collection, game);
  EXPECT_EQ(info.extraTags, "");
  EXPECT_FALSE(AcceptGameInformation(t.collection, game, info.fields));
  EXPECT_FALSE(t.collection.modified);
  info.fields[static_cast<std::size_t>(HeaderField::Annotator)] = "me";
  EXPECT_TRUE(AcceptGameInformation(t.collection, game, info.fields));
  EXPECT_EQ(game.header.Get(HeaderField::Annotator), "me");
  EXPECT_EQ(game.stateFlags, kFromFileText | kHeaderChanged);
  EXPECT_FALSE(game.loaded);  // a header edit reads no moves
  EXPECT_TRUE(t.collection.modified);
  EXPECT_EQ(GameInformationLabel(HeaderField::Site), "Place");
}

TEST(ExcludeSelected, QuestionsRefusalsAndWhatGoes) {
  CollectionUnderTest t;
  const std::string text = TaggedGame({{"White", "a"}, {"Event", "E"}, {"Site", "S"}, {"EventDate", "D"}}) +
                           TaggedGame({{"White", "b"}, {"Event", "E"}, {"Site", "S"}}) +
                           TaggedGame({{"White", "c"}, {"Event", "F"}, {"Site", "S"}, {"EventDate", "D"}}) +
                           TaggedGame({{"White", "d"}, {"Event", "E"}, {"Site", "S"}, {"EventDate", "D"}});
  ASSERT_TRUE(t.LoadText("ex.pgn", text));
  CollectionList events(t.collection, ListKind::Events);
  ASSERT_EQ(events.RowCount(), 3u);  // (E,S,""), (E,S,D), (F,S,D)
  EXPECT_EQ(ExcludeSelected(events, false, {}), 0);
  EXPECT_EQ(t.prompt.Last().caption, "ExcludeSelected()");
  EXPECT_EQ(t.prompt.Last().text, "No records have been selected");
  events.selected = {true, true, true};
  EXPECT_EQ(ExcludeSelected(events, true, {}), 0);
  EXPECT_EQ(t.prompt.Last().text, "All records have been selected");

  // Keeping (E,S,D): the other event goes, and so does the game without an
  // EventDate.
  CollectionList players(t.collection, ListKind::Players);
  events.selected = {false, true, false};
  t.prompt.Yes();
  EXPECT_EQ(ExcludeSelected(events, true, {&players}), 2);
  EXPECT_EQ(t.prompt.Records()[t.prompt.Records().size() - 2].text,
            "Warning.\nAbout to remove the 'other' event games.\n\nDo you wish to continue?");
  EXPECT_EQ(t.prompt.Last().text, "Number of games removed = 2");
  EXPECT_EQ(Whites(t.collection), "a,d");
  EXPECT_EQ(events.RowCount(), 1u);
  EXPECT_EQ(players.RowCount(), 3u);  // recomputed: a, d and the empty Black
  EXPECT_TRUE(t.collection.modified);

  // A games list: removing all but one game reports no count; the row after
  // the last game kept before the first removed one is selected.
  GameList more;
  more.push_back(t.collection.MakeGame());
  more.back()->header.Set(HeaderField::White, "e");
  CmCollAddPGN(t.collection, std::move(more));
  CollectionList games(t.collection, ListKind::Games);
  games.selected = {false, true, true};
  t.prompt.Clear();
  t.prompt.Yes();
  EXPECT_EQ(ExcludeSelected(games, false, {}), 2);
  ASSERT_EQ(t.prompt.Records().size(), 1u);
  EXPECT_EQ(t.prompt.Last().text,
            "Warning.\nAbout to remove the selected games ( 2 in total ) from the collection.\n\nDo you wish to "
            "continue?");
  EXPECT_EQ(Whites(t.collection), "a");
  EXPECT_EQ(games.selected, (std::vector<bool>{true}));
  for (std::size_t i = 0; i < t.collection.Count(); ++i) EXPECT_FALSE(t.collection.Game(i).selected);
}

TEST(ExcludeSelected, KeepingASelectedRowNeverRemovesItsGames) {
  CollectionUnderTest t;
  const std::string text = TaggedGame({{"White", "a"}, {"Event", "E"}}) + TaggedGame({{"White", "b"}, {"Event", "F"}}) +
                           TaggedGame({{"White", "c"}, {"ECO", "B20"}}) + TaggedGame({{"White", "d"}, {"ECO", "B21"}});
  ASSERT_TRUE(t.LoadText("keep.pgn", text));
  CollectionList events(t.collection, ListKind::Events);  // ("",...), (E,...), (F,...)
  events.selected = {false, true, false};
  t.prompt.Yes();
  bool close = false;
  EXPECT_EQ(ExcludeSelected(events, true, {}, &close), 3);
  EXPECT_EQ(Whites(t.collection), "a");  // its EventDate is empty, yet it was kept
  EXPECT_FALSE(close);

  t.prompt.Yes();  // unsaved changes
  ASSERT_TRUE(t.LoadText("keep2.pgn", text));
  CollectionList openings(t.collection, ListKind::Openings);  // ("",""), (B20,""), (B21,"")
  ASSERT_EQ(openings.RowCount(), 3u);
  openings.selected = {false, true, false};
  t.prompt.Clear();
  t.prompt.Yes();
  EXPECT_EQ(ExcludeSelected(openings, true, {}), 3);
  EXPECT_EQ(t.prompt.Records()[0].text,
            "Warning.\nAbout to remove the games of the 'other' openings ( 2 ).\n\nDo you wish to continue?");
  EXPECT_EQ(Whites(t.collection), "c");

  // Erasing the last player's games empties the list: it closes.
  CollectionList players(t.collection, ListKind::Players);
  players.selected = {false, true};  // "", c
  t.prompt.Clear();
  t.prompt.Yes();
  EXPECT_EQ(ExcludeSelected(players, false, {}, &close), 1);
  EXPECT_EQ(t.prompt.Records()[0].text, "Warning.\nAbout to remove the player games.\n\nDo you wish to continue?");
  EXPECT_EQ(t.prompt.Last().text, "Final item in the list has been deleted.");
  EXPECT_TRUE(close);
  EXPECT_EQ(t.collection.Count(), 1u);
}

}  // namespace
}  // namespace varnock
