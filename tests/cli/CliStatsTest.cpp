// stats, reorder and rename-player on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "collection/Collection.h"
#include "collection/Reorder.h"
#include "support/CliRunner.h"
#include "support/Corpus.h"
#include "support/SilentPrompt.h"
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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The games of a file, each told by its headers.
std::vector<std::string> HeaderRecords(const std::string& path) {
  testing::SilentPrompt prompt;
  NodeStore store;
  Collection c(store, prompt);
  std::string text = ReadFile(path);
  CleanFileText(text);
  c.BuildFromText(TextBuffer::CopyOf(text), kFilePgn, path, text.size());
  std::vector<std::string> records;
  for (std::size_t i = 0; i < c.Count(); ++i) {
    std::string record;
    for (int f = 0; f < kHeaderFieldCount; ++f) (record += c.Game(i).header.Get(static_cast<HeaderField>(f))) += '|';
    records.push_back(record);
  }
  return records;
}

TEST(CliStats, PlayersEventsAndOpeningsLists) {
  testing::TempFolder folder;
  const std::string pgn = folder / "kosteniuk.pgn";
  const std::string text = CorpusText("Kosteniuk.pgn.xz");
  ASSERT_FALSE(text.empty());
  WriteFile(pgn, text);

  auto players = RunCli({"stats", "players", pgn});
  EXPECT_EQ(players.status, 0) << players.err;
  std::vector<std::string> lines = Lines(players.out);
  ASSERT_GT(lines.size(), 100u);
  EXPECT_EQ(lines[0], "\tPlayer\tWhite\tBlack\tWhite Score\tBlack Score\tUnfinished");
  int asWhite = 0, asBlack = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string> cells;
    std::istringstream row(lines[i]);
    for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
    ASSERT_GE(cells.size(), 6u) << lines[i];
    EXPECT_EQ(cells[0], std::to_string(i));
    asWhite += std::stoi(cells[2]);
    asBlack += std::stoi(cells[3]);
  }
  EXPECT_EQ(asWhite, 4646);
  EXPECT_EQ(asBlack, 4646);
  EXPECT_NE(players.out.find("\tKosteniuk,A\t"), std::string::npos);

  auto events = RunCli({"stats", "events", pgn});
  EXPECT_EQ(events.status, 0);
  EXPECT_TRUE(events.out.starts_with("\tEvent\tPlace\tDate\tNumber\n1\t")) << events.out.substr(0, 80);

  // The file has ECO codes but no opening names: the list is refused.
  auto openings = RunCli({"stats", "openings", pgn});
  EXPECT_EQ(openings.status, 1);
  EXPECT_EQ(openings.out, "");
  EXPECT_NE(openings.err.find("FrameWin::CmOpenings(): No openings could be found"), std::string::npos);

  EXPECT_EQ(RunCli({"stats", "rounds", pgn}).status, 2);
  EXPECT_EQ(RunCli({"stats", "players", folder / "missing.pgn"}).status, 2);
}

TEST(CliStats, ReorderIsStableBothWays) {
  ::setenv("LC_ALL", "C", 1);  // byte collation, for the children too
  testing::TempFolder folder;
  const std::string pgn = folder / "carlsen.pgn";
  const std::string text = CorpusText("Carlsen.pgn.xz");
  ASSERT_FALSE(text.empty());
  WriteFile(pgn, text);
  const std::vector<std::string> before = HeaderRecords(pgn);
  const std::size_t eventAt = static_cast<std::size_t>(HeaderField::Event);
  auto eventOf = [&](const std::string& record) {
    std::size_t start = 0;
    for (std::size_t f = 0; f < eventAt; ++f) start = record.find('|', start) + 1;
    return record.substr(start, record.find('|', start) - start);
  };
  for (bool descending : {false, true}) {
    const std::string out = folder / (descending ? "desc.pgn" : "asc.pgn");
    std::vector<std::string> args = {"reorder", pgn, "-o", out, "--by", "event"};
    if (descending) args.push_back("--desc");
    auto run = RunCli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("Completed.  Reordered " + std::to_string(before.size()) + " games, by event"),
              std::string::npos);
    std::vector<std::string> expected = before;
    std::stable_sort(expected.begin(), expected.end(), [&](const std::string& a, const std::string& b) {
      const std::string ea = eventOf(a), eb = eventOf(b);
      if (ea.empty() || eb.empty()) return descending ? !ea.empty() && eb.empty() : ea.empty() && !eb.empty();
      return descending ? eb < ea : ea < eb;
    });
    EXPECT_EQ(HeaderRecords(out), expected);
  }
  EXPECT_EQ(RunCli({"reorder", pgn, "-o", folder / "x.pgn", "--by", "round"}).status, 2);
  EXPECT_EQ(RunCli({"reorder", pgn, "--by", "eco"}).status, 2);
}

TEST(CliStats, RenamePlayerCountsBothSides) {
  testing::TempFolder folder;
  const std::string pgn = folder / "rename.pgn", out = folder / "renamed.pgn";
  WriteFile(pgn,
            "[White \"Anna\"]\n[Black \"Anna\"]\n[Result \"1-0\"]\n\n1. e4 1-0\n\n"
            "[White \"Bert\"]\n[Black \"Anna\"]\n[Result \"0-1\"]\n\n1. d4 0-1\n\n"
            "[White \"Bert\"]\n[Black \"Carl\"]\n[Result \"*\"]\n\n1. c4 *\n\n");
  auto run = RunCli({"rename-player", pgn, "Anna", "Anne", "-o", out});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "3 player name edits were made.\\n\\nFrom\t'Anna'\\nto\t'Anne'\n");
  const std::string renamed = ReadFile(out);
  EXPECT_EQ(renamed.find("Anna"), std::string::npos);
  EXPECT_NE(renamed.find("[Black \"Carl\"]"), std::string::npos);
  auto none = RunCli({"rename-player", pgn, "Nobody", "X", "-o", folder / "same.pgn"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "No player name edits were made\n");
  EXPECT_EQ(RunCli({"rename-player", pgn, "Anna", "-o", out}).status, 2);
}

}  // namespace
}  // namespace varnock
