#include "collection/ReadEveryGame.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "collection/DeferredPrompt.h"
#include "formats/EchReader.h"
#include "formats/PgnReader.h"

namespace varnock {

namespace {

// Games handed out at a time: enough to make the hand-over cheap, few enough
// that the threads finish close together.
constexpr std::size_t kChunkGames = 32;
// Games a reading thread reads between two releases of its empty node segments.
constexpr std::size_t kReleaseEvery = 1024;

// What reading a chunk of consecutive games leaves to pass on.
struct ChunkReports {
  struct GameEnd {
    std::size_t reports = 0;   // where the game's reports end in `errors`
    std::size_t messages = 0;  // where its messages end in `prompt`
    bool visited = false;      // read and visited by the reading thread
  };
  // Never empty: a blank first entry keeps the readers from heading the list
  // as they head an empty one (see PassOn).
  SErrorList errors;
  DeferredPrompt prompt;
  std::vector<GameEnd> ends;  // one for each game read or passed over, in order
  std::exception_ptr failure;
  bool finished = false;
};

// What the readers take from the collection; none of it changes while the
// games are read.
struct ReadSource {
  explicit ReadSource(const Collection& collection)
      : collection(collection),
        present(collection.rollback.present),
        text(present ? collection.rollback.text.view() : std::string_view()),
        ech(collection.fileType == kFileEch),
        badContinuation(collection.settings.badContinuation),
        chunks((collection.Count() + kChunkGames - 1) / kChunkGames) {}

  const Collection& collection;
  const bool present;
  const std::string_view text;
  const bool ech;
  const bool badContinuation;
  const std::size_t chunks;
};

// Reads a game's moves into `scratch` with the reader settings of
// Collection::EnsureLoaded; `number` is the game's 1-based place.
void ReadMoves(const ReadSource& source, const SGridFrame& game, int number, SGridFrame& scratch, SErrorList& errors,
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

// A reading thread's own node store, and the line counter its reports share
// (lines are counted once through the text as the games move on).
class ChunkReader {
 public:
  explicit ChunkReader(const ReadSource& source) : source_(source) {}

  // Reads and visits the games of the chunk that are not loaded yet. An
  // exception ends the chunk and is kept in `out`.
  void Read(std::size_t chunk, const GameVisitor& visit, ChunkReports& out) {
    try {
      out.errors.Add(std::string(), 0);
      const std::size_t first = chunk * kChunkGames;
      const std::size_t end = std::min(first + kChunkGames, source_.collection.Count());
      out.ends.reserve(end - first);
      for (std::size_t place = first; place < end; ++place) {
        const SGridFrame& game = source_.collection.Game(place);
        const bool read = !game.loaded;
        if (read) ReadAndVisit(game, place, visit, out);
        out.ends.push_back({out.errors.Messages().size(), out.prompt.Count(), read});
      }
    } catch (...) {
      out.failure = std::current_exception();
    }
  }

 private:
  void ReadAndVisit(const SGridFrame& game, std::size_t place, const GameVisitor& visit, ChunkReports& out) {
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

  const ReadSource& source_;
  NodeStore store_;
  LineCounter lines_;
  std::size_t sinceRelease_ = 0;
};

// The reports of reading a game again on its own into an empty list, as the
// first reports of the one-thread read reach the list.
SErrorList ReportsIntoEmptyList(const ReadSource& source, std::size_t place) {
  NodeStore store;
  SGridFrame scratch(store);
  SErrorList errors;
  DeferredPrompt ignored;  // told already by the first read
  LineCounter lines;
  ReadMoves(source, source.collection.Game(place), static_cast<int>(place + 1), scratch, errors, ignored, lines);
  return errors;
}

// Passes a read chunk's reports and messages on to the collection, game by
// game, visits its loaded games and tells `done`; then throws the chunk's
// failure, if it had one.
//
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
      const SErrorList alone = ReportsIntoEmptyList(source, place);
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

void ReadOnThisThread(Collection& collection, const ReadSource& source, const GameVisitor& visit,
                      const GameDone& done) {
  ChunkReader reader(source);
  for (std::size_t chunk = 0; chunk < source.chunks; ++chunk) {
    ChunkReports reports;
    reader.Read(chunk, visit, reports);
    PassOn(collection, source, chunk, reports, visit, done);
  }
}

// The reading threads take chunks in order from a shared counter; the calling
// thread passes the finished chunks on in order.
class ReadingThreads {
 public:
  ReadingThreads(const ReadSource& source, const GameVisitor& visit) : source_(source), visit_(visit) {
    reports_.resize(source.chunks);
  }
  ReadingThreads(const ReadingThreads&) = delete;
  ReadingThreads& operator=(const ReadingThreads&) = delete;
  // Stops handing out chunks and waits for every thread.
  ~ReadingThreads() {
    stop_ = true;
    for (std::thread& thread : threads_) thread.join();
  }

  // Starts up to `count` threads; returns how many could be started.
  std::size_t Start(unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
      try {
        threads_.emplace_back([this] { Work(); });
      } catch (const std::system_error&) {
        break;
      }
    }
    return threads_.size();
  }

  // Waits for the chunk, then passes it on and lets its reports go.
  void PassOnInOrder(Collection& collection, const GameDone& done) {
    for (std::size_t chunk = 0; chunk < source_.chunks; ++chunk) {
      {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return reports_[chunk].finished; });
      }
      PassOn(collection, source_, chunk, reports_[chunk], visit_, done);
      reports_[chunk] = ChunkReports();
    }
  }

 private:
  // Every chunk below one taken has been taken too, so a chunk waited for is
  // always finished in the end, even after a failure stopped the hand-out.
  void Work() {
    ChunkReader reader(source_);
    while (!stop_) {
      const std::size_t chunk = next_.fetch_add(1);
      if (chunk >= source_.chunks) return;
      ChunkReports& reports = reports_[chunk];
      reader.Read(chunk, visit_, reports);
      if (reports.failure) stop_ = true;
      {
        std::lock_guard lock(mutex_);
        reports.finished = true;
      }
      finished_.notify_one();
    }
  }

  const ReadSource& source_;
  const GameVisitor& visit_;
  std::vector<ChunkReports> reports_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<std::thread> threads_;
};

}  // namespace

unsigned DefaultReadThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

void ReadEveryGame(Collection& collection, unsigned threads, const GameVisitor& visit, const GameDone& done) {
  const ReadSource source(collection);
  const auto wanted = static_cast<unsigned>(std::min<std::size_t>(threads, source.chunks));
  if (wanted > 1) {
    ReadingThreads reading(source, visit);
    if (reading.Start(wanted) > 0) {
      reading.PassOnInOrder(collection, done);
      return;
    }
  }
  ReadOnThisThread(collection, source, visit, done);
}

}  // namespace varnock
