#include "collection/OpenWhileReading.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "collection/ChunkReading.h"
#include "collection/GameFeed.h"
#include "collection/ReadEveryGame.h"
#include "collection/ReadingCrew.h"

namespace varnock {

namespace {

// Feeds the games the open builds to a crew of reading threads, which it
// starts one by one as chunks of games are published: a file too small to
// make a chunk starts none.
class FeedingObserver final : public BuildObserver {
 public:
  FeedingObserver(const Collection& collection, std::size_t readers, const GameVisitor& visit)
      : collection_(collection), readers_(readers), visit_(visit) {}

  void TextStarted(std::string_view text, FileType type) override {
    if (started_) {
      Spoil();  // a second build: what was read was of another text
      return;
    }
    started_ = true;
    source_ = {true, text, type == kFileEch, collection_.settings.badContinuation};
    try {
      crew_.emplace(source_, feed_, visit_);
    } catch (...) {
      spoiled_ = true;
    }
  }

  void GameScanned(const ScannedGame& game) override {
    if (spoiled_ || !crew_) return;
    try {
      if (feed_.Add(game)) StartReaders(readers_, 1);
      if (feed_.Broken()) Spoil();
    } catch (...) {
      Spoil();
    }
  }

  // Once the open is done: closes the feed, and tells whether the games
  // read are the collection's games as they are now.
  bool CloseAndMatch() {
    if (spoiled_ || !crew_) return false;
    feed_.Close();
    const SRollback_Params& rollback = collection_.rollback;
    if (!rollback.present || rollback.text.view().data() != source_.text.data() ||
        rollback.text.size() != source_.text.size() || (collection_.fileType == kFileEch) != source_.ech ||
        collection_.settings.badContinuation != source_.badContinuation || feed_.Count() != collection_.Count())
      return false;
    for (std::size_t place = 0; place < feed_.Count(); ++place) {
      const ScannedGame& scanned = feed_.Game(place);
      const SGridFrame& game = collection_.Game(place);
      if (scanned.textOffset != game.textOffset || scanned.loaded != game.loaded || scanned.flipped != game.flipped)
        return false;
    }
    return true;
  }

  // Starts reading threads up to `count`, one each call at most when `step`.
  void StartReaders(std::size_t count, std::size_t step = SIZE_MAX) {
    for (; canStart_ && step > 0 && crew_->Threads() < count; --step) canStart_ = crew_->StartThread();
  }

  // Stops the threads and drops what they read.
  void Spoil() {
    spoiled_ = true;
    if (crew_) crew_->Stop();
  }

  ReadingCrew& Crew() { return *crew_; }
  std::size_t Chunks() const { return feed_.Chunks(); }

 private:
  const Collection& collection_;
  const std::size_t readers_;
  const GameVisitor& visit_;
  bool started_ = false, spoiled_ = false, canStart_ = true;
  ReadSource source_;
  GameFeed feed_;
  std::optional<ReadingCrew> crew_;  // ends before the feed and the source
};

// Sets the collection's build observer for a while.
class ObserverScope {
 public:
  ObserverScope(Collection& collection, BuildObserver& observer)
      : collection_(collection), previous_(collection.buildObserver) {
    collection.buildObserver = &observer;
  }
  ~ObserverScope() { collection_.buildObserver = previous_; }
  ObserverScope(const ObserverScope&) = delete;
  ObserverScope& operator=(const ObserverScope&) = delete;

 private:
  Collection& collection_;
  BuildObserver* previous_;
};

}  // namespace

bool OpenWhileReading(Collection& collection, unsigned threads, const std::function<bool()>& open,
                      const GameVisitor& visit, const GameDone& done) {
  if (threads <= 1) {
    if (!open()) return false;
    ReadEveryGame(collection, 1, visit, done);
    return true;
  }
  // `threads` threads read beside the scan, and the calling thread joins
  // them once the open is done. On two cores this measured a little faster
  // than leaving a core to the scan (threads - 1 readers), though the
  // threads outnumber the cores.
  FeedingObserver observer(collection, threads, visit);
  bool opened = false;
  {
    const ObserverScope scope(collection, observer);
    opened = open();
  }
  if (!opened) return false;
  if (!observer.CloseAndMatch()) {
    observer.Spoil();
    ReadEveryGame(collection, threads, visit, done);
    return true;
  }
  // The calling thread reads now too; a file of few chunks may have started
  // fewer threads during the open than it can use.
  observer.StartReaders(std::min<std::size_t>(threads - 1, observer.Chunks() - 1));
  observer.Crew().PassOnInOrder(collection, done);
  return true;
}

}  // namespace varnock
