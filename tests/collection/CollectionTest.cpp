// The collection model and opening files: which games are read, which are
// current, the title, navigation, the questions and messages of a load.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/EchWriter.h"
#include "support/CollectionTesting.h"
#include "tree/MoveEntry.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ScriptedPrompt;

std::string Games(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "[Event \"E" + std::to_string(i) + "\"]\n[White \"W" + std::to_string(i) + "\"]\n[Black \"B" +
            std::to_string(i) + "\"]\n\n1. e4 e5 2. Nf3 *\n\n";
  return text;
}

TEST(Collection, TheFirstGameIsReadInFullTheOthersScanned) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("games.pgn", Games(12)));
  Collection& c = t.collection;
  ASSERT_EQ(c.Count(), 12u);
  EXPECT_TRUE(c.Game(0).loaded);
  EXPECT_EQ(c.CountUnloaded(), 11u);
  EXPECT_EQ(c.CurrentPosition(), 0u);
  EXPECT_EQ(c.Game(7).header.Get(HeaderField::Event), "E8");
  EXPECT_FALSE(c.Game(7).HasTree());
  EXPECT_EQ(c.fileType, kFilePgn);
  EXPECT_EQ(c.TitleText(), "games.pgn  [1/12]  W1 / B1");
  EXPECT_FALSE(c.modified);
  EXPECT_EQ(t.files.recent.Names().front(), t.folder / "games.pgn");

  // Every game's text is where the collection says.
  for (std::size_t i = 0; i < c.Count(); ++i) {
    const SGridFrame& game = c.Game(i);
    EXPECT_EQ(game.stateFlags, kFromFileText);
    EXPECT_TRUE(
        c.rollback.text.view().substr(game.textOffset).starts_with("[Event \"E" + std::to_string(i + 1) + "\"]\n"));
  }

  // Navigation: up eight from the third game goes to the first; down eight
  // from the last does nothing; showing a game reads its moves.
  c.SelectGame(2, false);
  EXPECT_TRUE(c.Game(2).loaded);
  EXPECT_EQ(c.Game(2).Tree().Node(c.Game(2).Tree().root).next != kNoNode, true);
  c.UpEightGames();
  EXPECT_EQ(c.CurrentPosition(), 0u);
  c.DownEightGames();
  EXPECT_EQ(c.CurrentPosition(), 8u);
  c.DownEightGames();
  EXPECT_EQ(c.CurrentPosition(), 11u);
  c.DownEightGames();
  c.NextGame();
  EXPECT_EQ(c.CurrentPosition(), 11u);
  c.FirstGame();
  c.PreviousGame();
  EXPECT_EQ(c.CurrentPosition(), 0u);
  c.LastGame();
  EXPECT_EQ(c.TitleText(), "games.pgn  [12/12]  W12 / B12");
  EXPECT_EQ(c.CountUnloaded(), 12u - 4u);  // games 1, 3, 9 and 12 were shown
  EXPECT_TRUE(t.prompt.Records().empty());
}

TEST(Collection, OneGameAndNoGames) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("one.pgn", "[White \"\"]\n[Black \"Smith\"]\n1. d4 *"));
  EXPECT_EQ(t.collection.Count(), 1u);
  EXPECT_TRUE(t.collection.CurrentGame().loaded);
  EXPECT_EQ(t.collection.TitleText(), "one.pgn  (null) / Smith");

  EXPECT_FALSE(t.LoadText("blank.pgn", " \r\n\t\n"));
  ASSERT_EQ(t.prompt.Records().size(), 1u);
  EXPECT_EQ(t.prompt.Last().caption, "FrameWin::ReLoad()");
  EXPECT_EQ(t.prompt.Last().text, "'" + (t.folder / "blank.pgn") + "'\n\nNo games were loaded.");
  EXPECT_EQ(t.collection.Count(), 1u);
  EXPECT_EQ(t.collection.fileName, "");
  EXPECT_FALSE(t.collection.CurrentGame().HasTree() &&
               t.collection.CurrentGame().Tree().Node(t.collection.CurrentGame().Tree().root).next != kNoNode);
}

TEST(Collection, TheMarkedEchGameIsCurrentAndRead) {
  // Three games written as ECH, the third marked current.
  CollectionUnderTest source;
  ASSERT_TRUE(source.LoadText("three.pgn", Games(3)));
  std::string ech;
  for (std::size_t i = 0; i < 3; ++i) {
    SGridFrame& game = source.collection.Game(i);
    source.collection.EnsureLoaded(game);
    WriteEchGame(game, i == 2, ech);
  }
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("three.ech", ech));
  Collection& c = t.collection;
  ASSERT_EQ(c.Count(), 3u);
  EXPECT_EQ(c.fileType, kFileEch);
  EXPECT_EQ(c.CurrentPosition(), 2u);
  EXPECT_EQ(c.markedGameId, c.Game(2).gameId);
  EXPECT_TRUE(c.Game(0).loaded);  // the first game is read in full as always
  EXPECT_FALSE(c.Game(1).loaded);
  EXPECT_TRUE(c.Game(2).loaded);
  EXPECT_EQ(c.Game(1).header.Get(HeaderField::White), "W2");
}

TEST(Collection, LoadQuestionsAndRefusals) {
  CollectionUnderTest t;
  const std::string name = t.folder / "a.pgn";
  testing::WriteFile(name, Games(2));

  // Load: cancelled dialog; then the file; then the same file again.
  t.prompt.CancelFile();
  t.files.Load();
  EXPECT_EQ(t.prompt.Last().kind, ScriptedPrompt::Kind::OpenFile);
  EXPECT_EQ(t.prompt.Last().caption, "Select Game File");
  EXPECT_EQ(t.prompt.Last().text, "PGN Files  ( *.pgn )|*.pgn|ECH Files  ( *.ech )|*.ech|All Files  ( *.* )|*.*||");
  EXPECT_EQ(t.collection.Count(), 1u);
  t.prompt.File(name);
  t.files.Load();
  EXPECT_EQ(t.collection.Count(), 2u);
  t.prompt.File(name).No();
  t.files.Load();
  EXPECT_EQ(t.prompt.Last().caption, "Load()");
  EXPECT_EQ(t.prompt.Last().text, "The file '" + name + "' is currently loaded\n\nDo you wish to reload from disk?");

  // Unsaved changes are asked about first.
  t.collection.modified = true;
  t.prompt.No();
  t.files.Load();
  EXPECT_EQ(t.prompt.Last().text, "Unsaved changes will be lost.\r\nDo you wish to load a new game file?");
  t.prompt.No();
  t.files.From_MRU(name);
  EXPECT_EQ(t.prompt.Last().caption, "From_MRU()");
  t.prompt.Yes().No();
  t.files.From_MRU(name);
  EXPECT_EQ(t.prompt.Last().caption, "ReLoad()");
  EXPECT_EQ(t.prompt.Last().text, "Unsaved changes will be lost.\r\nDo you wish to load the file?");
  t.collection.modified = false;
  t.prompt.No();
  t.files.CmReLoad();
  EXPECT_EQ(t.prompt.Last().caption, "CmReLoad()");
  EXPECT_EQ(t.prompt.Last().text, "No changes have been detected.\n\nDo you wish to reload?");
  EXPECT_TRUE(t.prompt.AllAnswersUsed());

  // Files that cannot be loaded leave the collection as it was.
  t.prompt.Clear();
  EXPECT_FALSE(t.files.ReLoad(""));
  EXPECT_EQ(t.prompt.Last().text, "Unable to proceed - No filename");
  EXPECT_FALSE(t.files.ReLoad(t.folder.Path()));
  EXPECT_EQ(t.prompt.Last().caption, "CreateFile()");
  EXPECT_EQ(t.prompt.Last().text, "'" + t.folder.Path() + "'\nIs a directory\nError Code is 21");
  EXPECT_FALSE(t.files.ReLoad(t.folder / "missing.pgn"));
  EXPECT_EQ(t.prompt.Last().text, "'" + (t.folder / "missing.pgn") + "'\nNo such file or directory\nError Code is 2");
  testing::WriteFile(t.folder / "empty.pgn", "");
  EXPECT_FALSE(t.files.ReLoad(t.folder / "empty.pgn"));
  EXPECT_EQ(t.prompt.Last().caption, "Load_File()");
  EXPECT_EQ(t.prompt.Last().text, "Zero bytes read");
  ASSERT_EQ(::mkfifo((t.folder / "fifo.pgn").c_str(), 0644), 0);
  EXPECT_FALSE(t.files.ReLoad(t.folder / "fifo.pgn"));  // never blocks
  EXPECT_EQ(t.prompt.Last().text, "Zero bytes read");
  testing::WriteFile(t.folder / "bom.pgn", "\xFF\xFE\xFF\xFE");
  EXPECT_FALSE(t.files.ReLoad(t.folder / "bom.pgn"));
  EXPECT_EQ(t.prompt.Last().caption, "ReLoad()");
  EXPECT_EQ(t.prompt.Last().text,
            "'" + (t.folder / "bom.pgn") + "'\r\n\r\nFile is not recognised as being either a PGN or ECH file");
  EXPECT_EQ(t.collection.Count(), 2u);
  EXPECT_EQ(t.collection.fileName, name);
}

TEST(Collection, AUtf16FileLosesItsZeroBytes) {
  CollectionUnderTest t;
  const std::string plain = "[Event \"Wide\"]\r\n1. e4 e5 *\r\n";
  std::string wide = "\xFF\xFE";
  for (char c : plain) wide += std::string{c, '\0'};
  ASSERT_TRUE(t.LoadText("wide.pgn", wide));
  EXPECT_EQ(t.collection.CurrentGame().header.Get(HeaderField::Event), "Wide");
  EXPECT_EQ(t.collection.rollback.length, wide.size());
  EXPECT_EQ(t.collection.rollback.text.view(), plain);
}

TEST(Collection, ReadErrorsAreOfferedForViewing) {
  CollectionUnderTest t;
  t.prompt.Yes();
  ASSERT_TRUE(t.LoadText("bad.pgn", "[Event \"x\"]\n1. e4 e5 2. Ke3 *\n"));
  ASSERT_GE(t.prompt.Records().size(), 2u);
  EXPECT_EQ(t.prompt.Records()[0].caption, "SErrorList::Display()");
  EXPECT_EQ(
      t.prompt.Records()[0].text,
      "Warning.\nSome errors have been detected in the game file.\n\nSome games might not have been loaded.\nSome "
      "games might have been truncated at the error points.\n\nDo you wish to view the errors?");
  const auto& shown = t.prompt.Records()[1];
  EXPECT_EQ(shown.kind, ScriptedPrompt::Kind::ShowFile);
  EXPECT_TRUE(shown.text.starts_with(t.collection.settings.tempFolder + "/Varnock_")) << shown.text;
  EXPECT_EQ(testing::ReadFile(shown.text), t.collection.errors.Joined());
  EXPECT_NE(testing::ReadFile(shown.text).find("Ke3"), std::string::npos);
}

TEST(Collection, RemovingGamesReleasesTheirNodes) {
  CollectionUnderTest t;
  // Enough moves in one game to fill several pool segments.
  std::string moves;
  for (int i = 0; i < 800; ++i) moves += i % 2 ? "Nb1 Nb8 " : "Nc3 Nc6 ";
  ASSERT_TRUE(t.LoadText("long.pgn", "[Event \"long\"]\n1. " + moves + "*\n\n[Event \"short\"]\n1. e4 *\n"));
  const std::size_t before = t.store.LiveNodes();
  EXPECT_GT(before, 1600u);
  t.collection.RemoveGames({0});
  EXPECT_EQ(t.collection.Count(), 1u);
  EXPECT_LT(t.store.LiveNodes(), 10u);
  t.collection.RemoveGames({0});
  EXPECT_EQ(t.collection.Count(), 1u);  // never empty
}

}  // namespace
}  // namespace varnock
