// The statistics lists: rows, order, scores, refusals, the games shown for
// selected rows and the games marked for export.
#include <gtest/gtest.h>

#include <numeric>

#include "HeaderGames.h"
#include "collection/CollectionList.h"
#include "support/CollectionTesting.h"
#include "support/Corpus.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ScriptedPrompt;
using testing::TaggedGame;

std::vector<std::vector<std::string>> AllCells(const CollectionList& list) {
  std::vector<std::vector<std::string>> rows;
  for (std::size_t row = 0; row < list.RowCount(); ++row) rows.push_back(list.Cells(row));
  return rows;
}

TEST(Statistics, PlayersRowsCountsAndScores) {
  CollectionUnderTest t;
  const std::string text =
      TaggedGame({{"White", "Smith"}, {"Black", "Jones"}, {"Result", "1-0"}}) +
      TaggedGame({{"White", "Smith"}, {"Black", "Jones"}, {"Result", "1/2-1/2"}}) +
      TaggedGame({{"White", "Jones"}, {"Black", "Smith"}, {"Result", "1-0 "}}) +  // a blank after: unfinished
      TaggedGame({{"White", "Jones"}, {"Black", "Smith"}, {"Result", "*"}}) +
      TaggedGame({{"White", "Lone"}, {"Black", "Lone"}, {"Result", "1-0"}}) +  // against himself: not counted
      TaggedGame({{"White", "smith"}, {"Black", ""}, {"Result", "0-1"}}) +     // empty Black: a row of its own
      TaggedGame({{"Event", "no players"}});
  ASSERT_TRUE(t.LoadText("players.pgn", text));
  CollectionList players(t.collection, ListKind::Players);
  EXPECT_EQ(players.Title(), " Players Statistics");
  EXPECT_EQ(players.Headings(),
            (std::vector<std::string>{"", "Player", "White", "Black", "White Score", "Black Score", "Unfinished"}));
  // Byte order: the empty name, then capitals before small letters.
  EXPECT_EQ(AllCells(players), (std::vector<std::vector<std::string>>{
                                   {"1", "", "0", "1", "", "1.00", "0"},
                                   {"2", "Jones", "2", "2", "", "0.25", "2"},
                                   {"3", "Lone", "0", "0", "", "", "0"},
                                   {"4", "Smith", "2", "2", "0.75", "", "2"},
                                   {"5", "smith", "1", "0", "0.00", "", "0"},
                               }));
  EXPECT_FALSE(players.Players()[2].HasGames());

  // Showing the games of Lone and Smith: Lone's row counts no game and is
  // left out of the filter and its title.
  players.selected = {false, false, true, true, false};
  GamesFilter filter = players.FilterOfSelection();
  ASSERT_EQ(filter.players.size(), 1u);
  CollectionList games(t.collection, ListKind::Games, filter);
  EXPECT_EQ(games.Title(), "Smith");
  EXPECT_EQ(games.GamePlaces(), (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(games.selected, (std::vector<bool>{true, false, false, false}));  // the current game

  // Export marks every game of a selected player, Lone's too.
  EXPECT_EQ(players.MarkSelectedRowsGames(), 5);
  EXPECT_TRUE(t.collection.Game(4).selected);
  EXPECT_FALSE(t.collection.Game(5).selected);
}

TEST(Statistics, OpeningsAndEventsRowsAndTitles) {
  CollectionUnderTest t;
  const std::string text = TaggedGame({{"ECO", "B20"},
                                       {"Opening", "Sicilian"},
                                       {"Result", "1-0"},
                                       {"Event", "Open"},
                                       {"Site", "Oslo"},
                                       {"EventDate", "2020.01.01"}}) +
                           TaggedGame({{"ECO", "B20"},
                                       {"Opening", "Sicilian"},
                                       {"Result", "1/2-1/2"},
                                       {"Event", "Open"},
                                       {"Site", "Oslo"},
                                       {"EventDate", "2021.01.01"}}) +
                           TaggedGame({{"ECO", "A00"},
                                       {"Opening", "Sicilian"},
                                       {"Result", "*"},
                                       {"Event", "Open"},
                                       {"Site", "Oslo"},
                                       {"EventDate", "2020.01.01"}}) +
                           TaggedGame({{"Result", "0-1"}});
  ASSERT_TRUE(t.LoadText("openings.pgn", text));
  CollectionList openings(t.collection, ListKind::Openings);
  EXPECT_EQ(openings.Title(), " Openings Statistics ( by Move Order )");
  EXPECT_EQ(openings.Headings(true)[4], "Score");
  EXPECT_EQ(openings.Headings()[4], "White Score");
  EXPECT_EQ(AllCells(openings), (std::vector<std::vector<std::string>>{
                                    {"1", "", "", "1", "0.00", "0"},
                                    {"2", "A00", "Sicilian", "1", "", "1"},
                                    {"3", "B20", "Sicilian", "2", "0.75", "0"},
                                }));
  openings.selected = {false, true, true};
  CollectionList games(t.collection, ListKind::Games, openings.FilterOfSelection());
  EXPECT_EQ(games.Title(), "A00 Sicilian, ... ( 2 )");
  EXPECT_EQ(games.GamePlaces(), (std::vector<std::size_t>{0, 1, 2}));
  // Export of one opening row takes the games of that ECO and name only.
  openings.selected = {false, false, true};
  EXPECT_EQ(openings.MarkSelectedRowsGames(), 2);
  EXPECT_FALSE(t.collection.Game(2).selected);

  // Same Event and Site, different EventDate: two rows.
  CollectionList events(t.collection, ListKind::Events);
  EXPECT_EQ(events.Title(), " Event Statistics");
  EXPECT_EQ(AllCells(events), (std::vector<std::vector<std::string>>{
                                  {"1", "", "", "", "1"},
                                  {"2", "Open", "Oslo", "2020.01.01", "2"},
                                  {"3", "Open", "Oslo", "2021.01.01", "1"},
                              }));
  events.selected = {false, true, false};
  EXPECT_EQ(CollectionList(t.collection, ListKind::Games, events.FilterOfSelection()).Title(), "Open - Oslo");
}

TEST(Statistics, ExportAndReverseFromTheLists) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("x.pgn", TaggedGame({{"White", "a"}, {"Event", "E"}}) + TaggedGame({{"White", "b"}}) +
                                      TaggedGame({{"White", "c"}, {"Event", "E"}})));
  CollectionList events(t.collection, ListKind::Events);
  events.SelectOnly(1);
  t.prompt.File(t.folder / "out.pgn");
  ExportSelectedRows(events, t.files);
  const std::string out = testing::ReadFile(t.folder / "out.pgn");
  EXPECT_NE(out.find("[White \"a\"]"), std::string::npos);
  EXPECT_NE(out.find("[White \"c\"]"), std::string::npos);
  EXPECT_EQ(out.find("[White \"b\"]"), std::string::npos);
  EXPECT_FALSE(t.collection.modified);

  // Nothing selected: nothing marked, no dialog.
  events.selected.assign(events.RowCount(), false);
  t.prompt.Clear();
  ExportSelectedRows(events, t.files);
  EXPECT_TRUE(t.prompt.Records().empty());

  t.collection.SelectGame(1, false);
  CollectionList games(t.collection, ListKind::Games);
  games.selected = {true, false, false};
  ReverseCollectionsList(games);
  EXPECT_EQ(t.collection.Game(0).header.Get(HeaderField::White), "c");
  EXPECT_EQ(t.collection.CurrentGame().header.Get(HeaderField::White), "b");
  EXPECT_EQ(games.selected, (std::vector<bool>{false, false, true}));
  EXPECT_FALSE(t.collection.modified);
}

TEST(Statistics, RefusalsWhenThereIsNothingToList) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("bare.pgn", TaggedGame({{"Result", "1-0"}}) + TaggedGame({{"Date", "2020.??.??"}})));
  EXPECT_FALSE(CmEvents(t.collection, t.prompt));
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmEvents()");
  EXPECT_EQ(t.prompt.Last().text, "No event information could be found for any of the games in the collection.");
  EXPECT_FALSE(CmOpenings(t.collection, t.prompt));
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmOpenings()");
  EXPECT_EQ(t.prompt.Last().text, "No openings could be found for any of the games in the collection.");
  EXPECT_FALSE(CmPlayers(t.collection, t.prompt));
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::CmPlayers()");
  EXPECT_EQ(t.prompt.Last().text, "No players could be found");

  // One field is enough; an ECO alone is no opening.
  t.collection.Game(1).header.Set(HeaderField::EventDate, "2020.01.01");
  t.collection.Game(1).header.Set(HeaderField::ECO, "C00");
  t.collection.Game(0).header.Set(HeaderField::Black, "X");
  t.prompt.Clear();
  EXPECT_TRUE(CmEvents(t.collection, t.prompt));
  EXPECT_FALSE(CmOpenings(t.collection, t.prompt));
  EXPECT_TRUE(CmPlayers(t.collection, t.prompt));
  EXPECT_EQ(t.prompt.Records().size(), 1u);
}

TEST(Statistics, CorpusTotalsAgreeWithTheGames) {
  const auto files = testing::CorpusFiles({"big"});
  if (files.empty()) GTEST_SKIP() << "no corpus";
  for (const auto& path : files) {
    if (path.filename() != "Kosteniuk.pgn.xz" && path.filename() != "TCEC_Cup_5_Final.pgn.xz") continue;
    CollectionUnderTest t;
    t.prompt.DeclineUnscripted();
    ASSERT_TRUE(t.LoadText("c.pgn", testing::ReadCorpusFile(path)));
    const Collection& c = t.collection;
    std::size_t countedGames = 0, unfinished = 0;
    for (std::size_t i = 0; i < c.Count(); ++i) {
      const auto& h = c.Game(i).header;
      const bool hasPlayers = !h.Get(HeaderField::White).empty() || !h.Get(HeaderField::Black).empty();
      if (hasPlayers && h.Get(HeaderField::White) != h.Get(HeaderField::Black)) {
        ++countedGames;
        if (ResultOf(h.Get(HeaderField::Result)) == GameResult::Unfinished) ++unfinished;
      }
    }
    int asWhite = 0, asBlack = 0, unfinishedWhite = 0, points = 0;
    const auto players = BuildPlayers(c);
    for (std::size_t i = 0; i < players.size(); ++i) {
      asWhite += players[i].gamesAsWhite;
      asBlack += players[i].gamesAsBlack;
      unfinishedWhite += players[i].unfinishedAsWhite;
      points += players[i].whitePoints + players[i].blackPoints;
      if (i > 0) {
        EXPECT_LT(players[i - 1].name, players[i].name);
      }
    }
    EXPECT_EQ(asWhite, static_cast<int>(countedGames)) << path;
    EXPECT_EQ(asBlack, static_cast<int>(countedGames)) << path;
    EXPECT_EQ(unfinishedWhite, static_cast<int>(unfinished)) << path;
    EXPECT_EQ(points, 2 * static_cast<int>(countedGames - unfinished)) << path;  // two half points a game

    auto sum = [](const auto& rows) {
      return std::accumulate(rows.begin(), rows.end(), 0, [](int n, const auto& row) { return n + row.games; });
    };
    EXPECT_EQ(sum(BuildEvents(c)), static_cast<int>(c.Count())) << path;
    EXPECT_EQ(sum(BuildOpenings(c)), static_cast<int>(c.Count())) << path;
    EXPECT_EQ(c.CountUnloaded(), c.Count() - 1);  // from the headers alone
  }
}

}  // namespace
}  // namespace varnock
