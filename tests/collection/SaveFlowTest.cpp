// Saving: unchanged games byte for byte, changed games rewritten alone,
// conversion between the formats, backups, the questions before PGN.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "formats/Backups.h"
#include "formats/FileText.h"
#include "formats/PgnWriter.h"
#include "support/CollectionTesting.h"
#include "support/Corpus.h"
#include "tree/Bookmarks.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ReadFile;
using testing::ScriptedPrompt;
using testing::WriteFile;

int Sq(const char* name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

// Every game written as PGN with the escape lines: what the trees hold.
std::vector<std::string> TreesOf(Collection& c) {
  std::vector<std::string> trees;
  for (std::size_t i = 0; i < c.Count(); ++i) {
    SGridFrame& game = c.Game(i);
    c.EnsureLoaded(game);
    std::string text;
    WritePgnGame(game, text, SaveExportOptions(false, true));
    // ECH keeps its text in CR LF lines: comments typed with LF alone come
    // back with CR LF.
    std::string lines;
    for (std::size_t k = 0; k < text.size(); ++k)
      if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) lines += text[k];
    trees.push_back(lines);
  }
  return trees;
}

std::vector<std::string> BackupsIn(const std::string& folder) {
  std::vector<std::string> names;
  if (!std::filesystem::exists(folder)) return names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SaveFlow, UnchangedCollectionsWriteTheBytesTheyWereLoadedFrom) {
  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  ASSERT_FALSE(files.empty());
  int games = 0;
  for (const auto& path : files) {
    SCOPED_TRACE(path.string());
    CollectionUnderTest t;
    std::string text = testing::ReadCorpusFile(path);
    CleanFileText(text);
    t.prompt.DeclineUnscripted();  // reports, if any, are not viewed
    ASSERT_TRUE(t.LoadText("games.pgn", text));
    std::string out;
    games += t.files.Save_File(out, false, kFilePgn, false);
    EXPECT_TRUE(out == text) << "PGN differs";

    // The same games as ECH, loaded and saved unchanged.
    std::string ech;
    t.files.Save_File(ech, false, kFileEch, false);
    CollectionUnderTest e;
    e.prompt.DeclineUnscripted();
    ASSERT_TRUE(e.LoadText("games.ech", ech));
    EXPECT_EQ(e.collection.Count(), t.collection.Count());
    std::string again;
    e.files.Save_File(again, false, kFileEch, false);
    EXPECT_TRUE(again == ech) << "ECH differs";
  }
  if (!testing::CorpusSampled()) {
    EXPECT_GT(games, 13000);
  }
}

TEST(SaveFlow, SaveAsToEchAndBackKeepsEveryTree) {
  for (const char* name : {"annotated", "odd"}) {
    for (const auto& path : testing::CorpusFiles({name})) {
      SCOPED_TRACE(path.string());
      CollectionUnderTest t;
      std::string text = testing::ReadCorpusFile(path);
      CleanFileText(text);
      t.prompt.DeclineUnscripted();
      ASSERT_TRUE(t.LoadText("games.pgn", text));
      const std::vector<std::string> before = TreesOf(t.collection);
      t.prompt.Clear();
      // Save As ECH (which reloads the new file), then Save As PGN.
      t.prompt.File(t.folder / "games.ech");
      ASSERT_TRUE(t.files.SaveAs().Saved());
      EXPECT_EQ(t.collection.fileType, kFileEch);
      EXPECT_EQ(t.collection.fileName, t.folder / "games.ech");
      t.prompt.File(t.folder / "back.pgn");
      ASSERT_TRUE(t.files.SaveAs().Saved());
      CollectionUnderTest back;
      back.prompt.DeclineUnscripted();
      ASSERT_TRUE(back.files.ReLoad(t.folder / "back.pgn"));
      const std::vector<std::string> after = TreesOf(back.collection);
      ASSERT_EQ(after.size(), before.size());
      for (std::size_t g = 0; g < before.size(); ++g) EXPECT_EQ(after[g], before[g]) << "game " << g + 1;
    }
  }
}

TEST(SaveFlow, OnlyTheChangedGameIsWrittenAnew) {
  CollectionUnderTest t;
  const std::string text =
      "[Event \"One\"]\n[Site \"Here\"]\n[MyTag \"kept\"]\n\n1. e4   e5 {spaced  as typed} *\n\n"
      "[Event \"Two\"]\n[WhiteElo \"2500\"]\n\n1.d4 d5 *\n\n"
      "[Event \"Three\"]\n\n1. c4 *\n";
  ASSERT_TRUE(t.LoadText("three.pgn", text));
  Collection& c = t.collection;

  // A header field of a game never opened: its tag section is written anew
  // (the tag the header does not model copied), its movetext kept.
  c.Game(0).header.Set(HeaderField::Event, "Renamed");
  c.Game(0).stateFlags |= kHeaderChanged;
  std::string out;
  t.files.Save_File(out, false, kFilePgn, false);
  const std::string rest = text.substr(text.find("\n\n1. e4") + 2);
  EXPECT_EQ(out,
            "[Event \"Renamed\"]\r\n[EventDate \"?\"]\r\n[Site \"Here\"]\r\n[Date \"?\"]\r\n[Round \"?\"]\r\n[White "
            "\"?\"]\r\n"
            "[Black \"?\"]\r\n[Result \"*\"]\r\n[MyTag \"kept\"]\r\n\r\n" +
                rest)
      << out;

  // Opening the game keeps its header-changed state.
  c.SelectGame(0, false);
  EXPECT_EQ(c.Game(0).StateFlags(), kFromFileText | kHeaderChanged);

  // A move added to the second game rewrites that game only.
  c.SelectGame(1, false);
  GameTree& tree = c.Game(1).Tree();
  tree.current = tree.Node(tree.Node(tree.root).next).next;
  ShowCurrentPosition(tree);
  ASSERT_EQ(PlayMove(tree, Sq("c2"), Sq("c4"), t.prompt), EntryOutcome::Added);
  EXPECT_EQ(c.Game(1).StateFlags() & kMovesChanged, kMovesChanged);
  out.clear();
  t.files.Save_File(out, false, kFilePgn, false);
  EXPECT_NE(out.find("[WhiteELO \"2500\"]\r\n"), std::string::npos);
  EXPECT_NE(out.find("1. d4 d5 2. c4 "), std::string::npos) << out;
  EXPECT_TRUE(out.ends_with("[Event \"Three\"]\n\n1. c4 *\n")) << out;
  EXPECT_NE(out.find(" e5 {spaced  as typed} *\n\n"), std::string::npos);
}

TEST(SaveFlow, SaveKeepsBackupsAndTheOldContents) {
  CollectionUnderTest t;
  const std::string name = t.folder / "games.pgn";
  const std::string original = "[Event \"A\"]\n1. e4 *\n\n[Event \"B\"]\n1. d4 *\n";
  ASSERT_TRUE(t.LoadText("games.pgn", original));
  ASSERT_EQ(::chmod(name.c_str(), 0640), 0);
  t.files.clock = [] { return std::time_t{1796713200}; };  // one fixed second

  t.files.CmSave();
  EXPECT_EQ(t.prompt.Last().caption, "CmSave()");
  EXPECT_EQ(t.prompt.Last().text, "'" + name + "'\r\n\r\nFile saved\r\n2 games stored in collection\r\n\r\n( " +
                                      std::to_string(original.size()) + "  bytes )");
  EXPECT_EQ(ReadFile(name), original);
  struct stat status {};
  ASSERT_EQ(::stat(name.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);

  t.collection.Game(1).header.Set(HeaderField::Event, "Changed");
  t.collection.Game(1).stateFlags |= kHeaderChanged;
  t.collection.modified = true;
  t.files.CmSave();
  EXPECT_FALSE(t.collection.modified);
  const std::string stamp = BackupStamp(1796713200);
  const std::string backupFolder = t.files.settings.backupFolder;
  EXPECT_EQ(BackupsIn(backupFolder),
            (std::vector<std::string>{"games.pgn   " + stamp + "_1.pgn", "games.pgn   " + stamp + "_2.pgn"}));
  EXPECT_EQ(ReadFile(backupFolder + "/games.pgn   " + stamp + "_2.pgn"), original);
  EXPECT_NE(ReadFile(name).find("[Event \"Changed\"]"), std::string::npos);

  // Two backups kept: a third save leaves the two newest; none kept: none.
  t.files.settings.backupFiles = 2;
  t.files.CmSave();
  EXPECT_EQ(BackupsIn(backupFolder),
            (std::vector<std::string>{"games.pgn   " + stamp + "_2.pgn", "games.pgn   " + stamp + "_3.pgn"}));
  t.files.settings.backupFiles = 0;
  t.files.CmSave();
  EXPECT_TRUE(BackupsIn(backupFolder).empty());
  // No temporary file is left beside the collection.
  EXPECT_EQ(BackupsIn(t.folder.Path()), (std::vector<std::string>{"Backup", "games.pgn", "temp"}));
}

// A save copies unchanged stretches from the loaded file, but only while that
// file is untouched: a file changed behind the collection's back, even to the
// same size and modification time, is not copied from.
// The backup folder missing, and there but not to be listed (no descriptor
// left to list it with): each has its own report, and nothing is pruned.
TEST(SaveFlow, BackupFolderThatCannotBeListed) {
  CollectionUnderTest t;
  const std::string missing = t.folder / "no-such-folder";
  std::vector<std::string> files{"stale"};
  EXPECT_FALSE(DirectoryFound(missing, files, t.prompt));
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(t.prompt.Last().caption, "DirectoryFound()");
  EXPECT_EQ(t.prompt.Last().text, "Unable to SetCurrentDirectory() to '" + missing + "'");

  const std::string backups = t.folder / "kept";
  std::filesystem::create_directory(backups);
  WriteFile(backups + "/old.pgn", "1. e4 *\n");
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  rlimit few = limit;
  few.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
  std::vector<int> held;
  for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) held.push_back(fd);
  const bool listed = DirectoryFound(backups, files, t.prompt);
  BackupDelete(backups, 0, t.prompt);
  for (int fd : held) ::close(fd);
  ::setrlimit(RLIMIT_NOFILE, &limit);
  EXPECT_FALSE(listed);
  EXPECT_EQ(t.prompt.Last().caption, "DirectoryFound()");
  EXPECT_EQ(t.prompt.Last().text, "Unable to FindFirstFile() in '" + backups + "'");
  EXPECT_TRUE(std::filesystem::exists(backups + "/old.pgn"));
}

TEST(SaveFlow, CopiesFromTheLoadedFileOnlyWhileItIsUnchanged) {
  const auto files = testing::CorpusSample({"annotated"});
  ASSERT_FALSE(files.empty());
  const std::string original = testing::ReadCorpusFile(files.front());
  std::string cleaned = original;
  CleanFileText(cleaned);
  ASSERT_EQ(cleaned, original) << "the test wants a file with nothing to clean";

  {
    // Unchanged, with one header edited: the stretches around it are copied.
    CollectionUnderTest t;
    ASSERT_TRUE(t.LoadText("games.pgn", original));
    ASSERT_TRUE(t.collection.rollback.source.known);
    t.collection.Game(1).header.Set(HeaderField::Event, "Edited");
    t.collection.Game(1).stateFlags |= kHeaderChanged;
    std::string expected;
    t.files.Save_File(expected, false, kFilePgn, false);
    t.files.CmSave();
    EXPECT_EQ(t.prompt.Last().caption, "CmSave()");
    EXPECT_TRUE(ReadFile(t.folder / "games.pgn") == expected);
  }
  {
    // Changed in place behind the collection: same size, the old times put back.
    CollectionUnderTest t;
    const std::string name = t.folder / "games.pgn";
    ASSERT_TRUE(t.LoadText("games.pgn", original));
    struct stat loaded {};
    ASSERT_EQ(::stat(name.c_str(), &loaded), 0);
    std::string tampered = original;
    for (char& c : tampered)
      if (c == 'e') c = 'E';
    {
      std::FILE* file = std::fopen(name.c_str(), "r+b");
      ASSERT_NE(file, nullptr);
      ASSERT_EQ(std::fwrite(tampered.data(), 1, tampered.size(), file), tampered.size());
      std::fclose(file);
    }
    const timespec times[2] = {loaded.st_atim, loaded.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, name.c_str(), times, 0), 0);
    t.files.CmSave();
    EXPECT_EQ(t.prompt.Last().caption, "CmSave()");
    EXPECT_TRUE(ReadFile(name) == original) << "the save copied the changed file";
  }
  {
    // Bytes cleaned out at load: the text is no longer the file's, and the
    // save writes the cleaned text.
    CollectionUnderTest t;
    std::string withNul = original;
    withNul.insert(withNul.find("1."), std::string("\0\xFF", 2));
    ASSERT_TRUE(t.LoadText("games.pgn", withNul));
    EXPECT_FALSE(t.collection.rollback.source.known);
    t.files.CmSave();
    EXPECT_TRUE(ReadFile(t.folder / "games.pgn") == original);
  }
}

TEST(SaveFlow, ALinkIsSavedThroughToItsTarget) {
  CollectionUnderTest t;
  const std::string target = t.folder / "real.pgn", link = t.folder / "link.pgn";
  WriteFile(target, "[Event \"A\"]\n1. e4 *\n");
  ASSERT_EQ(::symlink("real.pgn", link.c_str()), 0);
  ASSERT_TRUE(t.files.ReLoad(link));
  t.collection.Game(0).header.Set(HeaderField::Event, "B");
  t.collection.Game(0).stateFlags |= kHeaderChanged;
  t.files.CmSave();
  struct stat status {};
  ASSERT_EQ(::lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_NE(ReadFile(target).find("[Event \"B\"]"), std::string::npos);
}

TEST(SaveFlow, WriteProtectionAndMissingNames) {
  CollectionUnderTest t;
  t.prompt.CancelFile();
  const SaveResult cancelled = t.files.CmSave();  // no name: Save As, cancelled
  EXPECT_EQ(t.prompt.Last().kind, ScriptedPrompt::Kind::SaveFile);
  EXPECT_EQ(t.prompt.Last().caption, "Save File");
  EXPECT_EQ(cancelled.outcome, SaveResult::kDeclined);
  EXPECT_EQ(t.collection.fileName, "");
}

TEST(SaveFlow, QuestionsBeforeWritingPgn) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("g.pgn", "[Event \"A\"]\n1. e4 e5 *\n\n[Event \"B\"]\n1. d4 *\n"));
  GameTree& tree = t.collection.Game(0).Tree();
  SetBookmark(tree, tree.Node(tree.root).next, 1);
  t.prompt.No();
  EXPECT_FALSE(t.files.PgnWarnings(false, "CmSave()", false));
  EXPECT_EQ(t.prompt.Last().caption, "CmSave()");
  EXPECT_EQ(t.prompt.Last().text,
            "Warning.\r\n\r\nBookmarks cannot be stored using the PGN format.\r\n\r\nDo you wish to continue?");
  t.files.settings.pgnExtensions = true;
  EXPECT_TRUE(t.files.PgnWarnings(false, "CmSave()", false));  // the escape lines carry them

  // An irregular move: a pass made with the invalid-move permission.
  tree.current = tree.Node(tree.Node(tree.root).next).next;
  ShowCurrentPosition(tree);
  ASSERT_EQ(CmPass(tree, t.prompt), EntryOutcome::Added);
  const std::string irregular =
      "Warning.\r\n\r\nIrregular moves or internal compositions have been detected in the game(s) marked for saving "
      "or export.  Such moves cannot be stored using the PGN format.  The lines of play in the stored PGN file may be "
      "truncated at these moves.";
  t.prompt.No().No();
  EXPECT_FALSE(t.files.PgnWarnings(false, "CmSave()", false));
  EXPECT_EQ(t.prompt.Last().text,
            irregular +
                "\r\n\r\nAlso, bookmarks cannot be stored using the standard PGN format\r\n\r\nDo "
                "you wish to continue?");
  EXPECT_FALSE(t.files.PgnWarnings(false, "SaveAs()", true));
  EXPECT_EQ(t.prompt.Last().caption, "SaveAs()");
  EXPECT_EQ(t.prompt.Last().text,
            irregular +
                "\r\n\r\nAlso, bookmarks cannot be stored using the standard PGN format.\r\n\r\nDo "
                "you wish to continue?");
  // Export of the other game asks nothing.
  t.collection.Game(1).selected = true;
  EXPECT_TRUE(t.files.PgnWarnings(true, "SaveAs()", true));
}

TEST(SaveFlow, ExportAndLongAlgebraic) {
  CollectionUnderTest t;
  ASSERT_TRUE(t.LoadText("g.pgn", "[Event \"A\"]\n1. e4 e5 2. Nf3 *\n\n[Event \"B\"]\n1. d4 *\n"));
  t.collection.Game(0).Tree().MarkChanged();  // written anew
  t.files.settings.pgnLongAlgebraic = true;
  t.files.CmSave();  // Save writes short algebraic whatever the setting says
  EXPECT_NE(ReadFile(t.folder / "g.pgn").find("1. e4 e5 2. Nf3 "), std::string::npos);

  t.prompt.File(t.folder / "current.pgn");
  t.files.ExportCurrentGame();
  EXPECT_EQ(t.prompt.Records()[t.prompt.Records().size() - 2].caption, "Export");
  EXPECT_EQ(t.prompt.Last().text, "File '" + (t.folder / "current.pgn") + "' saved\r\n\r\n( " +
                                      std::to_string(ReadFile(t.folder / "current.pgn").size()) + "  bytes )");
  const std::string exported = ReadFile(t.folder / "current.pgn");
  EXPECT_NE(exported.find("1. e2-e4 e7-e5 2. Ng1-f3 "), std::string::npos) << exported;
  EXPECT_EQ(exported.find("[Event \"B\"]"), std::string::npos);
  EXPECT_EQ(t.collection.fileName, t.folder / "g.pgn");  // Export keeps the collection's name
  EXPECT_EQ(t.files.recent.Names().front(), t.folder / "current.pgn");

  // Save As and Export of two games or more: a blank line after "saved"
  // (Save puts one line end there).
  for (const bool exportSelected : {false, true}) {
    const std::string path = t.folder / (exportSelected ? "both.pgn" : "all.pgn");
    t.collection.Game(0).selected = t.collection.Game(1).selected = true;
    t.prompt.File(path);
    exportSelected ? t.files.Export() : t.files.SaveAs();
    EXPECT_EQ(t.prompt.Last().caption, "SaveAs()");
    EXPECT_EQ(t.prompt.Last().text, "File '" + path + "' saved\r\n\r\n2 games stored in collection\r\n\r\n( " +
                                        std::to_string(ReadFile(path).size()) + "  bytes )");
  }
}

}  // namespace
}  // namespace varnock
