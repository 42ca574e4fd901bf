// count, check, convert and save on real files, and a save killed midway.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/CliRunner.h"
#include "support/Corpus.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::WriteFile;

std::string CorpusText(const char* name) {
  for (const auto& path : testing::CorpusFiles({"big"}))
    if (path.filename() == name) return testing::ReadCorpusFile(path);
  return {};
}

TEST(CliCollection, CountCheckConvertAndSave) {
  testing::TempFolder folder;
  const std::string pgn = folder / "kosteniuk.pgn";
  const std::string text = CorpusText("Kosteniuk.pgn.xz");
  ASSERT_FALSE(text.empty());
  WriteFile(pgn, text);

  auto count = RunCli({"count", pgn});
  EXPECT_EQ(count.status, 0) << count.err;
  EXPECT_EQ(count.out, "4646\n");

  auto check = RunCli({"check", pgn, "--per-game"});
  EXPECT_EQ(check.status, 0) << check.err;
  ASSERT_TRUE(check.out.ends_with("\n"));
  const std::string summary = check.out.substr(check.out.rfind('\n', check.out.size() - 2) + 1);
  EXPECT_TRUE(summary.starts_with("games 4646 nodes ")) << summary;
  EXPECT_EQ(std::count(check.out.begin(), check.out.end(), '\n'), 4647);
  EXPECT_TRUE(check.out.starts_with("1\t")) << check.out.substr(0, 40);

  // To ECH and back: the same counts.
  const std::string ech = folder / "k.ech", back = folder / "back.pgn";
  auto toEch = RunCli({"convert", pgn, ech});
  EXPECT_EQ(toEch.status, 0) << toEch.err;
  EXPECT_NE(toEch.err.find("SaveAs(): File '" + ech + "' saved\\n\\n4646 games stored in collection"),
            std::string::npos)
      << toEch.err;
  auto toPgn = RunCli({"convert", ech, back});
  EXPECT_EQ(toPgn.status, 0) << toPgn.err;
  auto checkBack = RunCli({"check", back});
  EXPECT_EQ(checkBack.out, summary);
  auto checkEch = RunCli({"check", ech});
  EXPECT_EQ(checkEch.out, summary);

  // An unchanged save writes the same bytes; a tag changes one game.
  const std::string backups = folder / "bk";
  auto save = RunCli({"save", pgn, "--backup-dir", backups});
  EXPECT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(ReadFile(pgn), text);
  auto tagged = RunCli({"save", pgn, "--backup-dir", backups, "--tag", "2:Event=Renamed"});
  EXPECT_EQ(tagged.status, 0) << tagged.err;
  EXPECT_NE(ReadFile(pgn).find("[Event \"Renamed\"]"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(backups), std::filesystem::directory_iterator()), 2);

  // The settings of a run: --set "Backup Files=1" keeps one backup.
  auto once = RunCli({"save", pgn, "--backup-dir", backups, "--set", "Backup Files=1"});
  EXPECT_EQ(once.status, 0) << once.err;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(backups), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(RunCli({"count", pgn, "--set", "NoSuchSetting=1"}).status, 2);

  // Unusable input.
  EXPECT_EQ(RunCli({"count", folder / "missing.pgn"}).status, 2);
  const auto unknown = RunCli({"count", pgn, "--long"});  // convert's flag, not count's
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("count: unknown option --long"), std::string::npos) << unknown.err;
  EXPECT_EQ(RunCli({"save", pgn, "--tag", "2:NoSuchTag=x"}).status, 2);
  EXPECT_EQ(RunCli({"save", pgn, "--tag", "99999:Event=x"}).status, 2);
}

// For a large file varnock-cli starts itself once more, with glibc told to
// put small allocations in huge pages; it must do so once and then work.
TEST(CliCollection, ALargeFileIsOpenedAfterOneRestart) {
  testing::TempFolder folder;
  const std::string pgn = folder / "large.pgn";
  std::string text;
  const std::string game = "[Event \"Padding\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n";
  while (text.size() < (std::size_t{33} << 20)) text += game;
  WriteFile(pgn, text);
  const auto count = RunCli({"count", pgn});
  EXPECT_EQ(count.status, 0) << count.err;
  EXPECT_EQ(count.out, std::to_string(text.size() / game.size()) + "\n");
}

TEST(CliCollection, EcoClassifiesEveryGameAndSavesTheResult) {
  testing::TempFolder folder;
  const std::string pgn = folder / "tatamast22.pgn", out = folder / "classified.pgn";
  WriteFile(pgn, CorpusText("tatamast22.pgn.xz"));
  auto count = RunCli({"count", pgn});
  ASSERT_EQ(count.status, 0);
  const int games = std::stoi(count.out);
  ASSERT_GT(games, 10);

  auto eco = RunCli({"eco", pgn, "-o", out});
  EXPECT_EQ(eco.status, 0) << eco.err;
  EXPECT_EQ(std::count(eco.out.begin(), eco.out.end(), '\n'), games + 1);
  EXPECT_TRUE(eco.out.starts_with("1\t")) << eco.out.substr(0, 80);
  const std::string report = eco.out.substr(eco.out.rfind('\n', eco.out.size() - 2) + 1);
  EXPECT_TRUE(report.starts_with("ECO classification") || report.starts_with("Unchanged ECO")) << report;
  // The saved file carries the classifications the lines showed.
  const std::string firstLine = eco.out.substr(0, eco.out.find('\n'));
  const std::string code = firstLine.substr(2, firstLine.find('\t', 2) - 2);
  EXPECT_NE(ReadFile(out).find("[ECO \"" + code + "\"]"), std::string::npos) << code;
  // By transposition, no game loses its classification.
  auto byPosition = RunCli({"eco", pgn, "--transposition"});
  EXPECT_EQ(byPosition.status, 0);
  EXPECT_EQ(std::count(byPosition.out.begin(), byPosition.out.end(), '\n'), games + 1);
}

// A save killed at any moment leaves under the file's name either the old
// contents or the new, whole.
TEST(CliCollection, ASaveKilledMidwayLeavesAWholeFile) {
  testing::TempFolder folder;
  std::string text;
  const std::string one = CorpusText("Carlsen.pgn.xz");
  ASSERT_FALSE(one.empty());
  for (int i = 0; i < 4; ++i) text += one;
  const std::string name = folder / "big.pgn", copy = folder / "copy.pgn";
  const std::vector<std::string> change = {"--backup-dir", folder / "bk", "--tag", "1:Event=Killed"};

  // The contents a completed save leaves.
  WriteFile(copy, text);
  std::vector<std::string> args = {"save", copy};
  args.insert(args.end(), change.begin(), change.end());
  ASSERT_EQ(RunCli(args).status, 0);
  const std::string saved = ReadFile(copy);
  ASSERT_NE(saved, text);

  int old = 0, whole = 0;
  for (int delay : {2, 10, 30, 60, 100, 150, 250, 400}) {
    WriteFile(name, text);
    args = {"save", name};
    args.insert(args.end(), change.begin(), change.end());
    const int pid = testing::StartCli(args);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const std::string now = ReadFile(name);
    EXPECT_TRUE(now == text || now == saved) << "after " << delay << " ms: " << now.size() << " bytes";
    old += now == text;
    whole += now == saved;
  }
  EXPECT_EQ(old + whole, 8);
}

}  // namespace
}  // namespace varnock
