// Files Varnock saves are read whole by other programs: every game of the
// corpus that pgn-extract reads without an error, read here and written anew
// as PGN (and through ECH back to PGN), is read by pgn-extract with the same
// main line and variations as the original. The corpus is joined by a
// hand-written file of move numbers without dots and result marks inside
// games.
//
// Each game is numbered by a tag "VarnockGame" put in front of its text (in
// the original) and of its written text (in the copies), so that the games
// pgn-extract writes line up whatever it refuses. Moves are compared in long
// algebraic notation, without comments, NAGs, move numbers and results.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "formats/EchReader.h"
#include "formats/EchWriter.h"
#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "support/Corpus.h"
#include "support/PgnExtract.h"
#include "support/SilentPrompt.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using testing::ShellQuoted;

std::string IndexTag(std::size_t index) { return "[VarnockGame \"" + std::to_string(index) + "\"]\n"; }

// pgn-extract's reading of a file: the movetext of each numbered game it
// read without an error.
std::map<std::size_t, std::string> ExtractedMovetexts(const std::string& program, const std::string& text,
                                                      const fs::path& folder, const std::string& name) {
  const fs::path input = folder / (name + ".pgn"), output = folder / (name + ".out"), log = folder / (name + ".log");
  {
    std::ofstream out(input, std::ios::binary);
    out << text;
  }
  const std::string command = ShellQuoted(program) + " -s --quiet -Wlalg -C -N --noresults --nomovenumbers -w 100000" +
                              " -o" + ShellQuoted(output.string()) + " -l" + ShellQuoted(log.string()) + " " +
                              ShellQuoted(input.string()) + " </dev/null >/dev/null 2>&1";
  std::map<std::size_t, std::string> games;
  if (std::system(command.c_str()) != 0) {
    ADD_FAILURE() << "pgn-extract failed on " << name;
    return games;
  }
  std::ifstream in(output, std::ios::binary);
  std::optional<std::size_t> index;
  std::string movetext;
  auto finish = [&] {
    if (index) games[*index] = movetext;
    index.reset();
    movetext.clear();
  };
  bool inMoves = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (inMoves) finish();
      inMoves = false;
      if (line.starts_with("[VarnockGame \"")) index = std::stoul(line.substr(14));
      continue;
    }
    inMoves = true;
    std::istringstream words(line);
    for (std::string word; words >> word;) movetext += word + ' ';
  }
  finish();
  return games;
}

// What a game of the original tells about how it may be compared.
struct OriginalGame {
  std::size_t start = 0, end = 0;  // its text
  bool reported = false;           // the reader reported an error or a warning
  bool resultInLine = false;       // a result token with moves after it: the end of the game for pgn-extract
  bool variant = false;            // Chess960 and others: pgn-extract plays them by their own rules
};

// Whether the game's tags name a variant other than standard chess.
bool NamesVariant(std::string_view text) {
  const std::size_t tag = text.find("[Variant \"");
  if (tag == std::string_view::npos) return false;
  const std::size_t from = tag + 10, to = text.find('"', from);
  if (to == std::string_view::npos) return false;
  std::string value(text.substr(from, to - from));
  for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return !(value.empty() || value == "standard" || value == "normal" || value == "chess" || value == "from position");
}

struct Copies {
  std::string original;  // the original, each game numbered
  std::string pgn;       // each game written anew
  std::string throughEch;
  std::vector<OriginalGame> games;
};

// Whether a game's text holds a result token that a move follows, where
// pgn-extract ends the game (comments, escape lines and a move number joined
// to the token aside). One that ends a variation ends only that.
bool HasResultInLine(std::string_view text) {
  bool result = false;
  std::string word;
  auto endWord = [&] {
    std::string_view token = word;
    if (const std::size_t dot = token.rfind('.'); dot != std::string_view::npos) token.remove_prefix(dot + 1);
    const bool isResult = token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
    const bool moved = !token.empty() && !isResult;
    word.clear();
    if (result && moved) return true;
    if (isResult) result = true;
    return false;
  };
  char previous = '\n';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && (previous == '\n' || previous == '\r')) {
      while (i < text.size() && text[i] != '\n') ++i;
      previous = '\n';
      continue;
    }
    previous = c;
    if (c == '{' || c == ';') {
      if (endWord()) return true;
      const char close = c == '{' ? '}' : '\n';
      while (i < text.size() && text[i] != close) ++i;
      continue;
    }
    if (c == '[' && word.empty()) {  // a tag
      while (i < text.size() && text[i] != ']') ++i;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(' || c == ')') {
      if (endWord()) return true;
      if (c == ')') result = false;  // a result that ended a variation
      if (c == '(' && result) return true;
      continue;
    }
    word += c;
  }
  return endWord();
}

// Reads every game of the text as a load does and writes it anew: as PGN
// with the escape lines, and as ECH, read back and written as PGN without
// them, as the save flow writes them with "PGNExtensions" on and off.
Copies CopiesOf(const std::string& raw) {
  std::string text = raw;
  CleanFileText(text);
  Copies copies;
  NodeStore store;
  SErrorList errors;
  testing::SilentPrompt prompt;
  PgnReadContext ctx;
  ctx.text = text;
  ctx.errors = &errors;
  ctx.prompt = &prompt;
  while (true) {
    SGridFrame game(store);
    const std::size_t start = ctx.cursor, reports = errors.Messages().size();
    if (!Do_FilePGN(game, ReadMode::Full, ctx)) break;
    const std::size_t index = copies.games.size();
    const std::string_view gameText = std::string_view(text).substr(start, ctx.cursor - start);
    const std::size_t movetext = game.headerLength ? game.headerLength : gameText.size();
    OriginalGame original{start, ctx.cursor, errors.Messages().size() != reports, HasResultInLine(gameText),
                          NamesVariant(gameText.substr(0, movetext))};
    copies.games.push_back(original);
    copies.original += IndexTag(index) + text.substr(start, ctx.cursor - start) + "\n";

    game.stateFlags = kFromFileText;
    game.textOffset = start;
    game.textLength = ctx.cursor - start;
    std::string written;
    WritePgnGame(game, written, SaveExportOptions(false, true), std::string_view(text));
    copies.pgn += IndexTag(index) + written;

    std::string ech;
    WriteEchGame(game, false, ech);
    SGridFrame back(store);
    EchReadSource source;
    source.text = ech;
    source.errors = &errors;
    std::size_t cursor = 0;
    bool marked = false;
    ReadEchGame(back, ReadMode::Full, source, cursor, marked);
    written.clear();
    WritePgnGame(back, written, SaveExportOptions(true, false));
    copies.throughEch += IndexTag(index) + written;
    if (ctx.cursor <= start) break;
  }
  return copies;
}

struct Tally {
  int compared = 0, excluded = 0;
};

Tally ExpectReadWhole(const std::string& program, const std::string& raw, const std::string& name,
                      const fs::path& folder) {
  SCOPED_TRACE(name);
  const Copies copies = CopiesOf(raw);
  const auto original = ExtractedMovetexts(program, copies.original, folder, "original");
  const auto pgn = ExtractedMovetexts(program, copies.pgn, folder, "pgn");
  const auto throughEch = ExtractedMovetexts(program, copies.throughEch, folder, "ech");
  Tally tally;
  for (const auto& [index, movetext] : original) {
    if (index >= copies.games.size()) continue;
    const OriginalGame& game = copies.games[index];
    // A game the reader here read otherwise (it reported an error), a game
    // of a variant, or one that pgn-extract ends early is left out.
    if (game.reported || game.resultInLine || game.variant) {
      ++tally.excluded;
      continue;
    }
    ++tally.compared;
    for (const auto* copy : {&pgn, &throughEch}) {
      const auto found = copy->find(index);
      const std::string how = copy == &pgn ? "PGN" : "PGN, ECH, PGN";
      if (found == copy->end()) {
        ADD_FAILURE() << "game " << index + 1 << " (" << how << "): pgn-extract refused the copy";
        continue;
      }
      EXPECT_EQ(found->second, movetext) << "game " << index + 1 << " (" << how << ")";
    }
  }
  return tally;
}

TEST(SavedGames, PgnExtractReadsEveryMoveOfTheCorpusWrittenAnew) {
  const std::string program = testing::FindPgnExtract();
  if (program.empty()) GTEST_SKIP() << "pgn-extract is not installed";
  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  ASSERT_FALSE(files.empty()) << "no corpus below " << VARNOCK_SHARED_DIR;
  testing::TempFolder folder;
  Tally total;
  for (const auto& path : files) {
    const Tally tally =
        ExpectReadWhole(program, testing::ReadCorpusFile(path), path.filename().string(), folder.Path());
    total.compared += tally.compared;
    total.excluded += tally.excluded;
  }
  std::cout << "compared " << total.compared << " games, left out " << total.excluded << "\n";
  if (!testing::CorpusSampled()) {
    EXPECT_GT(total.compared, 13000);
  }
}

TEST(SavedGames, MoveNumbersWithoutDotsAndResultsInsideGames) {
  const std::string program = testing::FindPgnExtract();
  if (program.empty()) GTEST_SKIP() << "pgn-extract is not installed";
  const fs::path file = fs::path(VARNOCK_SOURCE_DIR) / "tests/formats/data/dotless-numbers-and-results.pgn";
  std::ifstream in(file, std::ios::binary);
  ASSERT_TRUE(in) << file;
  std::ostringstream text;
  text << in.rdbuf();
  testing::TempFolder folder;
  const Tally tally = ExpectReadWhole(program, text.str(), file.filename().string(), folder.Path());
  EXPECT_EQ(tally.excluded, 0);
  EXPECT_GE(tally.compared, 4);
}

}  // namespace
}  // namespace varnock
