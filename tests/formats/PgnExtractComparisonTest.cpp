// The main line of every corpus game, as the PGN reader builds it, against
// the main line pgn-extract reads from the same file.
//
// pgn-extract runs twice on each file: with --keepbroken it writes every game
// it finds (its moves up to the first error), without it only the games it
// read without an error. Both write the tags, so the reader's games are lined
// up with pgn-extract's by their tags in file order; only games pgn-extract
// read cleanly are compared. Chess960 and the other variants are excluded by
// their Variant tag, and games written in coordinate notation (e2e4, g1f3),
// which is not SAN and which the reader reads only for pawn moves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "support/Corpus.h"
#include "support/PgnExtract.h"
#include "support/SilentPrompt.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using Tags = std::map<std::string, std::string>;

// Says no to every question and shows nothing.
using testing::SilentPrompt;

using testing::FindPgnExtract;

std::string Quoted(const std::string& text) { return testing::ShellQuoted(text); }

std::string Trimmed(std::string_view value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!value.empty() && blank(value.front())) value.remove_prefix(1);
  while (!value.empty() && blank(value.back())) value.remove_suffix(1);
  return std::string(value);
}

// A tag value for lining games up: trimmed, and "" for the unknowns ("?",
// "????.??.??") pgn-extract writes for missing tags.
std::string KeyValue(std::string_view value) {
  std::string trimmed = Trimmed(value);
  if (trimmed.find_first_not_of("?.") == std::string::npos) return "";
  return trimmed;
}

// Event, Site, Date, Round, White and Black, as one string.
std::string GameKey(std::string_view event, std::string_view site, std::string_view date, std::string_view round,
                    std::string_view white, std::string_view black) {
  std::string key;
  for (std::string_view value : {event, site, date, round, white, black}) key += KeyValue(value) + '\x1f';
  return key;
}

// The tag pairs of a tag section: `[Name "Value"]`, with \" and \\ escapes.
Tags ParseTags(std::string_view text) {
  Tags tags;
  for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at)) {
    std::size_t nameEnd = at + 1;
    while (nameEnd < text.size() && text[nameEnd] != ' ' && text[nameEnd] != '"' && text[nameEnd] != ']') ++nameEnd;
    std::string name(text.substr(at + 1, nameEnd - at - 1));
    std::size_t quote = text.find('"', nameEnd);
    const std::size_t close = text.find(']', nameEnd);
    if (quote == std::string_view::npos || (close != std::string_view::npos && close < quote)) {
      at = nameEnd;
      continue;
    }
    std::string value;
    std::size_t i = quote + 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) ++i;
      value += text[i];
    }
    tags.emplace(std::move(name), std::move(value));
    at = i;
  }
  return tags;
}

// Standard chess as lichess, cutechess and others name it; every other
// Variant value is a game the reader does not play by its rules.
std::string VariantOf(const Tags& tags) {
  auto found = tags.find("Variant");
  if (found == tags.end()) return "";
  std::string variant = Trimmed(found->second);
  std::string lower = variant;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower.empty() || lower == "standard" || lower == "normal" || lower == "chess" || lower == "from position")
    return "";
  return variant;
}

struct ExtractGame {
  std::string text;  // as pgn-extract wrote it, for matching its two runs
  Tags tags;
  std::vector<std::string> moves;
  bool clean = false;  // also written without --keepbroken
};

std::string TagOf(const ExtractGame& game, const char* name) {
  auto found = game.tags.find(name);
  return found == game.tags.end() ? std::string() : found->second;
}

// pgn-extract's -Wuci output: tag lines, a blank line, the moves and the
// result on one line, a blank line.
std::vector<ExtractGame> ParseExtractOutput(const std::string& output) {
  std::vector<ExtractGame> games;
  ExtractGame game;
  bool movesSeen = false;
  std::stringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      // Every game's tags begin with Event; a game may have tags only.
      if (movesSeen || (line.starts_with("[Event ") && !game.text.empty())) {
        games.push_back(std::move(game));
        game = ExtractGame();
        movesSeen = false;
      }
      game.tags.merge(ParseTags(line));
    } else {
      std::stringstream tokens(line);
      for (std::string token; tokens >> token;) {
        if (token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*") continue;
        // This pgn-extract writes the promotion piece in upper case (e7e8Q), UCI in lower case.
        if (token.size() == 5) token[4] = static_cast<char>(std::tolower(static_cast<unsigned char>(token[4])));
        game.moves.push_back(token);
      }
      movesSeen = true;
    }
    game.text += line + '\n';
  }
  if (!game.text.empty()) games.push_back(std::move(game));
  return games;
}

// Marks the games of the --keepbroken run that the plain run also wrote; the
// plain run's games are a subsequence of the other's. False when one of them
// cannot be found.
bool MarkCleanGames(std::vector<ExtractGame>& all, const std::vector<ExtractGame>& clean) {
  std::size_t at = 0;
  for (const ExtractGame& game : clean) {
    while (at < all.size() && all[at].text != game.text) ++at;
    if (at == all.size()) return false;
    all[at++].clean = true;
  }
  return true;
}

// Whether movetext holds a move in coordinate notation (e2e4, g1f3, e7e8q),
// which is not SAN: the reader reads only the pawn moves of that notation.
bool HasCoordinateMoves(std::string_view movetext) {
  std::string token;
  bool inComment = false;
  const auto isCoordinate = [](std::string_view t) {
    t.remove_prefix(std::min(t.find_first_not_of("0123456789."), t.size()));  // a move number stuck to the move
    while (!t.empty() && (t.back() == '+' || t.back() == '#')) t.remove_suffix(1);
    if (t.size() == 5 && std::string_view("qrbnQRBN").find(t[4]) != std::string_view::npos) t.remove_suffix(1);
    return t.size() == 4 && t[0] >= 'a' && t[0] <= 'h' && t[1] >= '1' && t[1] <= '8' && t[2] >= 'a' && t[2] <= 'h' &&
           t[3] >= '1' && t[3] <= '8';
  };
  for (char c : movetext) {
    if (inComment) {
      inComment = c != '}';
      continue;
    }
    if (c == '{' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(' || c == ')') {
      if (isCoordinate(token)) return true;
      token.clear();
      inComment = c == '{';
      continue;
    }
    token += c;
  }
  return isCoordinate(token);
}

struct ReaderGame {
  std::string key;
  std::string variant;
  bool coordinateMoves = false;
  std::vector<std::string> moves;
  bool reported = false;  // the reader reported an error in this game
  int line = 0;           // where its text starts
};

// The main line as pgn-extract writes it: from and to squares, a promotion
// letter, "--" for a pass.
std::vector<std::string> MainLine(GameTree& tree) {
  std::vector<std::string> moves;
  for (NodeRef at = tree.Node(tree.root).next; at != kNoNode; at = tree.Node(at).next) {
    const MoveNode& node = tree.Node(at);
    if (node.From() == node.To()) {
      moves.push_back("--");
      continue;
    }
    std::string move = SquareName(node.From()) + SquareName(node.To());
    if (node.Kind() == kPromotion) {
      switch (BoardAt(tree.Store(), at)[static_cast<std::size_t>(node.To())] & kTypeMask) {
        case kQueen:
          move += 'q';
          break;
        case kRook:
          move += 'r';
          break;
        case kBishop:
          move += 'b';
          break;
        case kKnight:
          move += 'n';
          break;
        default:
          move += '?';
          break;
      }
    }
    moves.push_back(std::move(move));
  }
  return moves;
}

// Every game of the text, read in full as a file load reads it.
std::vector<ReaderGame> ReadWithVarnock(const std::string& text, const std::string& fileName) {
  std::vector<ReaderGame> games;
  NodeStore store;
  SErrorList errors;
  SilentPrompt prompt;
  PgnReadContext ctx;
  ctx.text = text;
  ctx.fileName = fileName;
  ctx.errors = &errors;
  ctx.prompt = &prompt;
  LineCounter lines;
  while (true) {
    SGridFrame game(store);
    const std::size_t start = ctx.cursor;
    const std::size_t reportsBefore = errors.Messages().size();
    if (!Do_FilePGN(game, ReadMode::Full, ctx)) break;
    const std::size_t headerEnd = game.headerLength ? start + game.headerLength : ctx.cursor;
    const Tags raw = ParseTags(std::string_view(text).substr(start, headerEnd - start));
    const GameHeader& h = game.header;
    ReaderGame read;
    read.key = GameKey(h.Get(HeaderField::Event), h.Get(HeaderField::Site), h.Get(HeaderField::Date),
                       h.Get(HeaderField::Round), h.Get(HeaderField::White), h.Get(HeaderField::Black));
    read.variant = VariantOf(raw);
    read.coordinateMoves = HasCoordinateMoves(std::string_view(text).substr(headerEnd, ctx.cursor - headerEnd));
    read.moves = MainLine(game.Tree());
    read.reported = errors.Messages().size() != reportsBefore;
    std::size_t first = start;
    while (first < ctx.cursor &&
           (text[first] == ' ' || text[first] == '\t' || text[first] == '\r' || text[first] == '\n'))
      ++first;
    read.line = lines.LineAt(text, first);
    games.push_back(std::move(read));
    if (ctx.cursor <= start) break;  // no progress: stop rather than loop
  }
  return games;
}

// Runs pgn-extract on a file; its output, or nullopt when it failed.
std::optional<std::string> RunPgnExtract(const std::string& program, const fs::path& input, const fs::path& dir,
                                         bool keepBroken) {
  const fs::path output = dir / (keepBroken ? "all.pgn" : "clean.pgn");
  const fs::path log = dir / (keepBroken ? "all.log" : "clean.log");
  std::string command = Quoted(program) + " -Wuci --nocomments --novars --nonags --quiet -s" +
                        (keepBroken ? " --keepbroken" : "") + " -o" + Quoted(output.string()) + " -l" +
                        Quoted(log.string()) + " " + Quoted(input.string()) + " </dev/null >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  std::ifstream in(output, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Counts {
  int readerGames = 0;
  int extractGames = 0;
  int compared = 0;
  int skippedByExtract = 0;  // pgn-extract reported an error, or wrote nothing for the game
  int excludedVariants = 0;
  int variantPieces = 0;  // pieces of a variant game that pgn-extract wrote as games of their own
  int excludedCoordinate = 0;
  int unaligned = 0;  // games of pgn-extract's (read cleanly) without a partner among the reader's
  int mismatches = 0;
  std::map<std::string, int> variants;

  void Add(const Counts& other) {
    readerGames += other.readerGames;
    extractGames += other.extractGames;
    compared += other.compared;
    skippedByExtract += other.skippedByExtract;
    excludedVariants += other.excludedVariants;
    variantPieces += other.variantPieces;
    excludedCoordinate += other.excludedCoordinate;
    unaligned += other.unaligned;
    mismatches += other.mismatches;
    for (const auto& [name, count] : other.variants) variants[name] += count;
  }
};

std::string Describe(const std::vector<std::string>& moves, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < moves.size() && i < from + 6; ++i) text += moves[i] + ' ';
  if (from >= moves.size()) text = "(end of line) ";
  return text;
}

// Lines up the reader's games with pgn-extract's by their tags, in order: a
// pair whose keys differ is resynchronised on the nearest pair of games
// further on whose keys agree (and whose successors agree too).
std::vector<std::pair<std::size_t, std::size_t>> Align(const std::vector<ReaderGame>& reader,
                                                       const std::vector<ExtractGame>& extract,
                                                       const std::vector<std::string>& extractKeys) {
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  const auto agree = [&](std::size_t i, std::size_t j) {
    if (i >= reader.size() || j >= extract.size()) return false;
    if (reader[i].key != extractKeys[j]) return false;
    return i + 1 == reader.size() || j + 1 == extract.size() || reader[i + 1].key == extractKeys[j + 1];
  };
  constexpr std::size_t kWindow = 40;
  std::size_t i = 0, j = 0;
  while (i < reader.size() && j < extract.size()) {
    if (reader[i].key == extractKeys[j]) {
      pairs.emplace_back(i++, j++);
      continue;
    }
    bool found = false;
    for (std::size_t distance = 1; distance <= 2 * kWindow && !found; ++distance)
      for (std::size_t di = 0; di <= distance && !found; ++di)
        if (agree(i + di, j + distance - di)) {
          i += di;
          j += distance - di;
          found = true;
        }
    if (!found) ++i, ++j;
  }
  return pairs;
}

Counts CompareFile(const std::string& program, const fs::path& path, const fs::path& dir) {
  Counts counts;
  const std::string name = fs::relative(path, fs::path(VARNOCK_SHARED_DIR) / "corpus").string();
  SCOPED_TRACE(name);
  const std::string raw = testing::ReadCorpusFile(path);
  EXPECT_FALSE(raw.empty()) << "cannot decompress " << path;
  const fs::path input = dir / "input.pgn";
  {
    std::ofstream out(input, std::ios::binary);
    out << raw;
  }
  std::optional<std::string> all = RunPgnExtract(program, input, dir, true);
  std::optional<std::string> clean = RunPgnExtract(program, input, dir, false);
  EXPECT_TRUE(all && clean) << "pgn-extract failed on " << name;
  if (!all || !clean) return counts;
  std::vector<ExtractGame> extract = ParseExtractOutput(*all);
  const std::vector<ExtractGame> cleanGames = ParseExtractOutput(*clean);
  EXPECT_TRUE(MarkCleanGames(extract, cleanGames))
      << "pgn-extract's games without errors are not among its games with --keepbroken";

  std::string text = raw;
  CleanFileText(text);
  const std::vector<ReaderGame> reader = ReadWithVarnock(text, name);
  counts.readerGames = static_cast<int>(reader.size());
  counts.extractGames = static_cast<int>(extract.size());

  std::vector<std::string> keys;
  for (const ExtractGame& game : extract)
    keys.push_back(GameKey(TagOf(game, "Event"), TagOf(game, "Site"), TagOf(game, "Date"), TagOf(game, "Round"),
                           TagOf(game, "White"), TagOf(game, "Black")));
  // For each of pgn-extract's games, the reader's game it is, or the last
  // one before it that has a partner.
  std::vector<std::size_t> partner(extract.size(), reader.size());
  std::vector<bool> paired(extract.size(), false), readerPaired(reader.size(), false);
  const auto pairs = Align(reader, extract, keys);
  for (const auto& [i, j] : pairs) {
    paired[j] = true;
    readerPaired[i] = true;
    for (std::size_t k = j; k < extract.size() && (k == j || !paired[k]); ++k) partner[k] = i;
  }
  for (std::size_t i = 0; i < reader.size(); ++i)
    if (!readerPaired[i] && reader[i].variant.empty()) ++counts.skippedByExtract;
  for (const auto& [i, j] : pairs) {
    const ReaderGame& ours = reader[i];
    const ExtractGame& theirs = extract[j];
    const std::string variant = ours.variant.empty() ? VariantOf(theirs.tags) : ours.variant;
    if (!variant.empty()) {
      ++counts.excludedVariants;
      ++counts.variants[variant];
      continue;
    }
    if (!theirs.clean) {
      ++counts.skippedByExtract;
      continue;
    }
    if (ours.coordinateMoves) {
      ++counts.excludedCoordinate;
      continue;
    }
    ++counts.compared;
    if (ours.moves == theirs.moves) continue;
    ++counts.mismatches;
    std::size_t ply = 0;
    while (ply < ours.moves.size() && ply < theirs.moves.size() && ours.moves[ply] == theirs.moves[ply]) ++ply;
    ADD_FAILURE() << name << " game " << i + 1 << " (line " << ours.line << ", " << TagOf(theirs, "White") << " - "
                  << TagOf(theirs, "Black") << ", round " << TagOf(theirs, "Round") << "): main lines differ at ply "
                  << ply + 1 << " (move " << ply / 2 + 1 << (ply % 2 ? "..." : ".")
                  << ")\n  pgn-extract: " << Describe(theirs.moves, ply) << "(" << theirs.moves.size()
                  << " plies)\n  reader:      " << Describe(ours.moves, ply) << "(" << ours.moves.size() << " plies"
                  << (ours.reported ? ", with error reports" : "") << ")";
  }
  for (std::size_t j = 0; j < extract.size(); ++j) {
    if (paired[j] || !extract[j].clean) continue;
    const std::string variant = partner[j] < reader.size() && !reader[partner[j]].variant.empty()
                                    ? reader[partner[j]].variant
                                    : VariantOf(extract[j].tags);
    if (!variant.empty()) {
      ++counts.variantPieces;
      continue;
    }
    ++counts.unaligned;
    ADD_FAILURE() << name << ": pgn-extract's game " << j + 1 << " (" << TagOf(extract[j], "White") << " - "
                  << TagOf(extract[j], "Black") << ") has no game of the reader's with its tags";
  }
  return counts;
}

TEST(PgnExtractComparison, MainLinesAgreeOnEveryCorpusGame) {
  const std::string program = FindPgnExtract();
  ASSERT_FALSE(program.empty()) << "pgn-extract is not installed (Debian: apt-get install pgn-extract; it lands in "
                                   "/usr/games), or set PGN_EXTRACT to its path";
  const std::vector<fs::path> files = testing::CorpusSample({"annotated", "big", "odd"});
  ASSERT_FALSE(files.empty()) << "no corpus below " << VARNOCK_SHARED_DIR;

  std::string pattern = (fs::temp_directory_path() / "varnock-pgn-extract-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern;

  Counts total;
  for (const fs::path& path : files) {
    const Counts counts = CompareFile(program, path, dir);
    if (counts.readerGames != counts.extractGames)
      std::cout << "  " << fs::relative(path, fs::path(VARNOCK_SHARED_DIR) / "corpus").string() << ": reader games "
                << counts.readerGames << ", pgn-extract games " << counts.extractGames << '\n';
    total.Add(counts);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);

  std::cout << "pgn-extract comparison over " << files.size() << " files: reader games " << total.readerGames
            << ", pgn-extract games " << total.extractGames << "; compared " << total.compared
            << ", skipped (pgn-extract errors) " << total.skippedByExtract << ", excluded variants "
            << total.excludedVariants << " (and " << total.variantPieces
            << " pieces pgn-extract made of them), excluded coordinate movetext " << total.excludedCoordinate
            << ", unaligned " << total.unaligned << ", mismatches " << total.mismatches << '\n';
  for (const auto& [variant, count] : total.variants) std::cout << "  Variant \"" << variant << "\": " << count << '\n';
  EXPECT_GT(total.compared, 0);
  EXPECT_EQ(total.mismatches, 0);
  EXPECT_EQ(total.unaligned, 0);
}

}  // namespace
}  // namespace varnock
