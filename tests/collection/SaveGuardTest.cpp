// What a save does for files it did not write itself: temporary files left
// by killed saves, a file changed since it was loaded, foreign files in the
// backup folder, and header fields PGN has no tag for. (The file-size limit
// is tried through varnock-cli, in CliGuardTest.)
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "formats/Backups.h"
#include "support/CollectionTesting.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ReadFile;
using testing::WriteFile;

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The id of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void ChangeEvent(CollectionUnderTest& t, std::size_t game, const std::string& event) {
  t.collection.Game(game).header.Set(HeaderField::Event, event);
  t.collection.Game(game).stateFlags |= kHeaderChanged;
  t.collection.modified = true;
}

TEST(SaveGuard, OnlyStaleTemporaryFilesOfTheSameFileAreRemoved) {
  CollectionUnderTest t;
  const std::string original = "[Event \"A\"]\n1. e4 *\n";
  ASSERT_TRUE(t.LoadText("games.pgn", original));
  const std::string dead = std::to_string(EndedProcess()), alive = std::to_string(::getpid());
  const std::vector<std::string> kept = {
      "games.pgn.varnock-" + alive + "-abcdef.tmp",  // a save still running
      "other.pgn.varnock-" + dead + "-abcdef.tmp",   // another file's
      "games.pgn.varnock-" + dead + ".tmp",          // not a name a save gives
      "games.pgn.bak",
  };
  for (const std::string& name : kept) WriteFile(t.folder / name, "keep");
  WriteFile(t.folder / ("games.pgn.varnock-" + dead + "-Xy12_z.tmp"), "stale");
  ChangeEvent(t, 0, "B");
  ASSERT_TRUE(t.files.CmSave().Saved());
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {"Backup", "games.pgn", "temp"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(NamesIn(t.folder.Path()), expected);
  // The save's own temporary file had a recognisable name.
  EXPECT_TRUE(FilePartOf(t.files.lastTempName).starts_with("games.pgn.varnock-" + alive + "-")) << t.files.lastTempName;
}

TEST(SaveGuard, AFileChangedSinceItWasLoadedIsReplacedOnlyWhenTheUserSaysSo) {
  CollectionUnderTest t;
  const std::string name = t.folder / "games.pgn";
  ASSERT_TRUE(t.LoadText("games.pgn", "[Event \"A\"]\n1. e4 *\n"));
  ChangeEvent(t, 0, "Mine");
  // Another program appends a game between the load and the save.
  const std::string theirs = ReadFile(name) + "\n[Event \"Theirs\"]\n1. d4 *\n";
  WriteFile(name, theirs);
  t.prompt.No();
  const SaveResult refused = t.files.CmSave();
  EXPECT_EQ(refused.outcome, SaveResult::kDeclined);
  EXPECT_EQ(t.prompt.Last().caption, "CmSave()");
  EXPECT_TRUE(t.prompt.Last().text.starts_with("Warning.\r\n\r\nThe file '" + name +
                                               "' has changed since it was "
                                               "loaded"))
      << t.prompt.Last().text;
  EXPECT_EQ(ReadFile(name), theirs);
  EXPECT_TRUE(t.collection.modified);
  EXPECT_EQ(NamesIn(t.folder.Path()), (std::vector<std::string>{"Backup", "games.pgn", "temp"}));

  t.prompt.Yes();
  const SaveResult saved = t.files.CmSave();
  ASSERT_TRUE(saved.Saved());
  EXPECT_EQ(saved.games, 1);
  EXPECT_EQ(saved.bytes, ReadFile(name).size());
  EXPECT_NE(ReadFile(name).find("Mine"), std::string::npos);
  // Their version is the backup; the next save asks nothing.
  const std::vector<std::string> backups = NamesIn(t.files.settings.backupFolder);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(ReadFile(t.files.settings.backupFolder + "/" + backups[0]), theirs);
  ChangeEvent(t, 0, "Mine again");
  t.prompt.Clear();
  ASSERT_TRUE(t.files.CmSave().Saved());
  ASSERT_EQ(t.prompt.Records().size(), 1u);
  EXPECT_EQ(t.prompt.Last().kind, testing::ScriptedPrompt::Kind::Inform);
}

TEST(SaveGuard, PruningCountsAndDeletesOnlyWholeBackups) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("games.pgn", "[Event \"A\"]\n1. e4 *\n"));
  const std::string backups = t.files.settings.backupFolder;
  std::filesystem::create_directories(backups);
  // A copy cut off by a killed save (its process gone), one still being
  // made, and a file of the user's own.
  const std::string cut = "games.pgn   20200101 000000_1.pgn.varnock-" + std::to_string(EndedProcess()) + "-abcdef.tmp";
  const std::string running = "games.pgn   20200101 000000_2.pgn.varnock-" + std::to_string(::getpid()) + "-abcdef.tmp";
  WriteFile(backups + "/" + cut, "[Event");
  WriteFile(backups + "/" + running, "[Event");
  WriteFile(backups + "/notes.txt", "mine");
  t.files.settings.backupFiles = 1;
  for (const char* event : {"B", "C", "D"}) {
    ChangeEvent(t, 0, event);
    ASSERT_TRUE(t.files.CmSave().Saved());
  }
  const std::vector<std::string> left = NamesIn(backups);
  ASSERT_EQ(left.size(), 3u) << ::testing::PrintToString(left);
  EXPECT_EQ(left[0], running);
  EXPECT_EQ(left[2], "notes.txt");
  EXPECT_NE(ReadFile(backups + "/" + left[1]).find("[Event \"C\"]"), std::string::npos);
}

TEST(SaveGuard, AnnotatorAndGameCommentAreSavedAndReadBack) {
  CollectionUnderTest t;
  const std::string name = t.folder / "games.pgn";
  ASSERT_TRUE(t.LoadText("games.pgn", "[Event \"A\"]\n\n{Before the first move} 1. e4 *\n\n[Event \"B\"]\n1. d4 *\n"));
  SGridFrame& game = t.collection.Game(1);
  game.header.Set(HeaderField::Annotator, "Me");
  game.header.Set(HeaderField::GameComment, "A quiet game");
  game.stateFlags |= kHeaderChanged;
  ChangeEvent(t, 0, "Renamed");  // the comment before its first move stays
  ASSERT_TRUE(t.files.CmSave().Saved());

  CollectionUnderTest back;
  ASSERT_TRUE(back.files.ReLoad(name));
  EXPECT_EQ(back.collection.Game(0).header.Get(HeaderField::Event), "Renamed");
  EXPECT_EQ(back.collection.Game(1).header.Get(HeaderField::Annotator), "Me");
  for (std::size_t i = 0; i < 2; ++i) {
    SGridFrame& read = back.collection.Game(i);
    back.collection.EnsureLoaded(read);
    const std::string* comment = back.store.Comment(read.Tree().root, NodeStore::kAfter);
    ASSERT_NE(comment, nullptr) << "game " << i + 1;
    EXPECT_EQ(*comment, i == 0 ? "Before the first move" : "A quiet game");
  }
}

}  // namespace
}  // namespace varnock
