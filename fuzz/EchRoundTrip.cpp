// Reading ECH text in every mode, writing each game back and reading it again.
#include <memory>
#include <vector>

#include "MainLine.h"
#include "RoundTrips.h"
#include "formats/EchReader.h"
#include "formats/EchWriter.h"
#include "formats/FileText.h"

namespace varnock::fuzz {

namespace {

struct Game {
  std::unique_ptr<SGridFrame> frame;
  bool marked = false;
};
using Games = std::vector<Game>;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads games from the start of the text, at most kMaxGames, each knowing
// where its text lies.
std::string ReadGames(EchReadSource& source, ReadMode mode, NodeStore& store, Games& games) {
  const std::string_view text = source.text;
  std::size_t cursor = 0;
  while (games.size() < kMaxGames) {
    while (cursor < text.size() && IsBlank(text[cursor])) ++cursor;
    if (cursor >= text.size()) break;
    Game game{std::make_unique<SGridFrame>(store)};
    source.gameNumber = static_cast<int>(games.size()) + 1;
    const std::size_t start = cursor;
    if (!ReadEchGame(*game.frame, mode, source, cursor, game.marked)) break;
    if (cursor <= start || cursor > text.size())
      return "game " + std::to_string(games.size() + 1) + ", read from " + std::to_string(start) +
             ", left the cursor at " + std::to_string(cursor) + " of " + std::to_string(text.size());
    game.frame->textOffset = start;
    game.frame->textLength = cursor - start;
    game.frame->stateFlags = kFromFileText;
    games.push_back(std::move(game));
  }
  return {};
}

// The heading of the error list, and a written set-up position that earns
// the warning its original earned; nothing else may be reported.
bool ExpectedReport(const std::string& message, std::string_view fileName) {
  if (message == "\r\n" + std::string(fileName)) return true;
  return message.starts_with("Warning.") && message.find("The FEN string is invalid.") != std::string::npos;
}

std::string ScanAndReread(std::string_view text, NodeStore& store, const Games& games) {
  SErrorList errors;
  EchReadSource source;
  source.text = text;
  source.errors = &errors;
  Games scanned;
  if (std::string failure = ReadGames(source, ReadMode::Scan, store, scanned); !failure.empty())
    return "scan: " + failure;
  if (scanned.size() != games.size())
    return "the scan found " + std::to_string(scanned.size()) + " games, the full read " + std::to_string(games.size());
  for (std::size_t i = 0; i < games.size(); ++i) {
    SGridFrame& full = *games[i].frame;
    SGridFrame& game = *scanned[i].frame;
    const std::string where = "game " + std::to_string(i + 1) + ": ";
    if (game.textOffset != full.textOffset || game.textLength != full.textLength)
      return where + "the scan found its text at " + std::to_string(game.textOffset) + "+" +
             std::to_string(game.textLength) + ", the full read at " + std::to_string(full.textOffset) + "+" +
             std::to_string(full.textLength);
    if (!(game.header == full.header)) return where + "the scan read another header";
    if (scanned[i].marked != games[i].marked) return where + "the scan and the full read disagree on XS[]";
    source.gameNumber = static_cast<int>(i) + 1;
    std::size_t cursor = game.textOffset;
    bool marked = false;
    if (!ReadEchGame(game, ReadMode::Reread, source, cursor, marked)) return where + "the reread found no game";
    if (cursor != full.textOffset + full.textLength) return where + "the reread ended at " + std::to_string(cursor);
    if (!(game.header == full.header)) return where + "the reread changed the header";
    const std::string expected = MainLine(full, false), got = MainLine(game, false);
    if (got != expected)
      return where + "the reread gives another main line\n--- full read\n" + expected + "--- reread\n" + got;
  }
  return {};
}

std::string WriteAndReadBack(NodeStore& store, const Game& game, std::size_t index) {
  const std::string where = "game " + std::to_string(index + 1) + ": ";
  std::string written;
  WriteEchGame(*game.frame, game.marked, written);

  SErrorList errors;
  EchReadSource source;
  source.text = written;
  source.errors = &errors;
  Games back;
  if (std::string failure = ReadGames(source, ReadMode::Full, store, back); !failure.empty())
    return where + "reading the written text: " + failure + "\n--- written\n" + written;
  if (back.size() != 1)
    return where + "the written text reads as " + std::to_string(back.size()) + " games\n--- written\n" + written;
  if (back[0].marked != game.marked) return where + "XS[] was not read back\n--- written\n" + written;
  const std::string expected = MainLine(*game.frame, false), got = MainLine(*back[0].frame, false);
  if (got != expected)
    return where + "the written text gives another main line\n--- written\n" + written + "\n--- first read\n" +
           expected + "--- read back\n" + got;
  for (const std::string& message : errors.Messages())
    if (!ExpectedReport(message, source.fileName))
      return where + "reading the written text reported\n" + message + "\n--- written\n" + written;

  std::string rewritten;
  WriteEchGame(*back[0].frame, back[0].marked, rewritten);
  if (rewritten != written)
    return where + "the game read back is written differently\n--- first\n" + written + "\n--- second\n" + rewritten;
  return {};
}

}  // namespace

std::string CheckEchText(std::string_view bytes) {
  std::string text(bytes);
  CleanFileText(text);
  DetectFileType(text);  // looked at as a load looks at it; the text is read as ECH whatever it says

  NodeStore store;
  SErrorList errors;
  EchReadSource source;
  source.text = text;
  source.fileName = "fuzz.ech";
  source.errors = &errors;
  Games games;
  if (std::string failure = ReadGames(source, ReadMode::Full, store, games); !failure.empty())
    return "full read: " + failure;
  if (std::string failure = ScanAndReread(text, store, games); !failure.empty()) return failure;
  for (std::size_t i = 0; i < games.size(); ++i)
    if (std::string failure = WriteAndReadBack(store, games[i], i); !failure.empty()) return failure;
  return {};
}

}  // namespace varnock::fuzz
