#include "collection/ChunkReading.h"

#include <algorithm>
#include <string>

#include "formats/EchReader.h"
#include "formats/PgnReader.h"

namespace varnock {

namespace {

// Games a reading thread reads between two releases of its empty node segments.
constexpr std::size_t kReleaseEvery = 1024;

// Reads a game's moves into `scratch` with the reader settings of
// Collection::EnsureLoaded; `number` is the game's 1-based place.
void ReadMoves(const ReadSource& source, const ScannedGame& game, int number, SGridFrame& scratch, SErrorList& errors,
               UserPrompt& prompt, LineCounter& lines) {
  if (!source.present || game.textOffset >= source.text.size()) return;
  const std::size_t start = static_cast<std::size_t>(game.textOffset);
  if (source.ech) {
    EchReadSource ech;
    ech.text = source.text;
    ech.errors = &errors;
    ech.gameNumber = number;
    ech.lines = lines;
    std::size_t cursor = start;
    bool marked = false;
    ReadEchGame(scratch, ReadMode::Reread, ech, cursor, marked);
    lines = ech.lines;
  } else {
    PgnReadContext pgn;
    pgn.text = source.text;
    pgn.cursor = start;
    pgn.rereadGameNumber = number;
    pgn.errors = &errors;
    pgn.prompt = &prompt;
    pgn.badContinuation = source.badContinuation;
    pgn.lines = lines;
    Do_FilePGN(scratch, ReadMode::Reread, pgn);
    lines = pgn.lines;
  }
  scratch.loaded = true;
  scratch.stateFlags = kFromFileText;
  if (scratch.HasTree()) scratch.Tree().changed = false;
}

// The reports of reading a game again on its own into an empty list, as the
// first reports of the one-thread read reach the list.
SErrorList ReportsIntoEmptyList(const ReadSource& source, const ScannedGame& game, std::size_t place) {
  NodeStore store;
  SGridFrame scratch(store);
  SErrorList errors;
  DeferredPrompt ignored;  // told already by the first read
  LineCounter lines;
  ReadMoves(source, game, static_cast<int>(place + 1), scratch, errors, ignored, lines);
  return errors;
}

}  // namespace

ReadSource ReadSource::Of(const Collection& collection) {
  ReadSource source;
  source.present = collection.rollback.present;
  source.text = source.present ? collection.rollback.text.view() : std::string_view();
  source.ech = collection.fileType == kFileEch;
  source.badContinuation = collection.settings.badContinuation;
  return source;
}

ScannedGame ScannedOf(const SGridFrame& game, std::size_t place) {
  return {place, game.textOffset, game.textLength, game.flipped, game.loaded};
}

void ChunkReader::Read(std::size_t chunk, std::span<const ScannedGame> games, const GameVisitor& visit,
                       ChunkReports& out) {
  try {
    out.errors.Add(std::string(), 0);
    out.ends.reserve(games.size());
    std::size_t place = chunk * kChunkGames;
    for (const ScannedGame& game : games) {
      const bool read = !game.loaded;
      if (read) ReadAndVisit(game, place, visit, out);
      out.ends.push_back({out.errors.Messages().size(), out.prompt.Count(), read});
      ++place;
    }
  } catch (...) {
    out.failure = std::current_exception();
  }
}

void ChunkReader::ReadAndVisit(const ScannedGame& game, std::size_t place, const GameVisitor& visit,
                               ChunkReports& out) {
  {
    SGridFrame scratch(store_);
    scratch.flipped = game.flipped;
    ReadMoves(source_, game, static_cast<int>(place + 1), scratch, out.errors, out.prompt, lines_);
    visit(place, scratch.Tree());
  }
  if (++sinceRelease_ >= kReleaseEvery) {
    store_.ReleaseEmptySegments();
    sinceRelease_ = 0;
  }
}

// The readers head an empty error list with a line of their own, and only
// an empty one. The chunk's list is never empty; so the first game to report
// into the collection's empty list is read again into an empty list of its
// own, and its reports are taken from there.
void PassOn(Collection& collection, const ReadSource& source, std::size_t chunk, const ChunkReports& reports,
            const GameVisitor& visit, const GameDone& done) {
  const std::vector<std::string>& messages = reports.errors.Messages();
  std::size_t reported = std::min<std::size_t>(1, messages.size()), told = 0;
  std::size_t place = chunk * kChunkGames;
  // The readers give each report of a reread the game's place as its number.
  auto passReports = [&](std::size_t upTo, std::size_t toldUpTo) {
    const int number = static_cast<int>(place + 1);
    if (reported < upTo && collection.errors.Empty()) {
      const SErrorList alone = ReportsIntoEmptyList(source, ScannedOf(collection.Game(place), place), place);
      const bool numbered = alone.GameNumbers().count(number) > 0;
      for (const std::string& message : alone.Messages()) collection.errors.Add(message, numbered ? number : 0);
      reported = upTo;
    }
    const bool numbered = reports.errors.GameNumbers().count(number) > 0;
    for (; reported < upTo; ++reported) collection.errors.Add(messages[reported], numbered ? number : 0);
    reports.prompt.ReplayTo(collection.Prompt(), told, toldUpTo);
    told = toldUpTo;
  };
  for (const ChunkReports::GameEnd& end : reports.ends) {
    passReports(end.reports, end.messages);
    if (!end.visited) visit(place, collection.Game(place).Tree());
    if (done) done(place);
    ++place;
  }
  if (reports.failure) {
    passReports(messages.size(), reports.prompt.Count());  // what the failed game reported before it failed
    std::rethrow_exception(reports.failure);
  }
}

}  // namespace varnock
