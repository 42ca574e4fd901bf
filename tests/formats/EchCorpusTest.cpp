// Every game of the PGN corpus, read as PGN, written as ECH and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "formats/PgnReader.h"
#include "support/Corpus.h"
#include "support/EchTesting.h"
#include "support/ScriptedPrompt.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using namespace varnock::testing;

// The file's text as a load cleans it: bytes 0x00, 0xFE and 0xFF removed.
// The file text as a load keeps it: bytes 0x00, 0xFE and 0xFF removed.
std::string DecompressedText(const std::filesystem::path& path) {
  std::string text = testing::ReadCorpusFile(path);
  std::erase_if(text, [](char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte == 0x00 || byte == 0xFE || byte == 0xFF;
  });
  return text;
}

std::string WithoutCRs(std::string text) {
  std::erase(text, '\r');
  return text;
}

bool ReachesLineEnd(const GameTree& game, NodeRef node) {
  for (NodeRef at = node; at != kNoNode; at = game.Node(at).next)
    if (at == game.lineEnd) return true;
  return false;
}

// Set-up positions that the PGN reader warned about are warned about again.
bool OnlyWarnings(const SErrorList& errors) {
  for (std::size_t i = 1; i < errors.Messages().size(); ++i)
    if (!errors.Messages()[i].starts_with("Warning.\r\n")) return false;
  return true;
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t from = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
  return "pgn: " + a.substr(from, i - from + 80) + "\necho: " + b.substr(from, i - from + 80);
}

TEST(EchCorpus, EveryGameSurvivesTheRoundTrip) {
  const std::filesystem::path corpus = std::filesystem::path(VARNOCK_SHARED_DIR) / "corpus";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  const std::vector<std::filesystem::path> files = testing::CorpusSample({"annotated", "big", "odd"});

  int games = 0, failures = 0;
  for (const auto& path : files) {
    const std::string text = DecompressedText(path);
    NodeStore store;
    std::string collection;
    std::vector<GameHeader> headers;
    SErrorList errors;
    ScriptedPrompt prompt;
    PgnReadContext pgn;
    pgn.text = text;
    pgn.errors = &errors;
    pgn.prompt = &prompt;
    for (;;) {
      SGridFrame original(store);
      if (!Do_FilePGN(original, ReadMode::Full, pgn)) break;
      ++games;
      // A current node inside a variation comes back as the end of the root's
      // line (a rule of the format, tested on its own).
      GameTree& tree = original.Tree();
      if (!ReachesLineEnd(tree, tree.current)) {
        tree.current = tree.lineEnd;
        ShowCurrentPosition(tree);
      }
      const std::string written = Written(original);
      collection += written;
      headers.push_back(original.header);
      EchReadSource source;
      source.text = written;
      SErrorList echErrors;
      source.errors = &echErrors;
      SGridFrame echo(store);
      std::size_t cursor = 0;
      bool marked = false;
      ASSERT_EQ(ReadEchGame(echo, ReadMode::Full, source, cursor, marked), 1);
      // Text values come back with CR LF line ends, whatever the PGN file had.
      const std::string expected = WithoutCRs(Describe(original)), actual = WithoutCRs(Describe(echo));
      const std::string rewritten = Written(echo);
      const bool same = expected == actual && WithoutCRs(rewritten) == WithoutCRs(written) && OnlyWarnings(echErrors) &&
                        cursor == written.size() - 4;
      if (!same && ++failures <= 5)
        ADD_FAILURE() << path << " game " << pgn.gameCounter << "\n"
                      << FirstDifference(expected, actual) << "\n"
                      << FirstDifference(WithoutCRs(written), WithoutCRs(rewritten)) << "\n"
                      << echErrors.Joined() << "\ncursor " << cursor << " of " << written.size();
    }

    // The games as one collection, scanned as a load scans it.
    EchLoad load(store, collection);
    ASSERT_EQ(load.games.size(), headers.size()) << path;
    for (std::size_t i = 0; i < headers.size(); ++i) {
      EXPECT_EQ(load.games[i]->header, headers[i]) << path << " game " << i + 1;
      EXPECT_EQ(load.games[i]->loaded, i == 0);
    }
  }
  EXPECT_EQ(failures, 0);
  if (!testing::CorpusSampled()) {
    EXPECT_GT(games, 14000);
  }
}

}  // namespace
}  // namespace varnock
