// Building the explorer's statistics from the games of an open collection,
// a chunk of games at a time, so that a window can show progress and offer
// to cancel between the steps.
//
// Games whose moves were never read are read from the collection's retained
// text into a scratch tree of the build's own node store, counted and freed
// again; games read already (edited ones among them) are counted from the
// collection's own trees. Memory grows with the positions counted, not with
// the games. The reports of the reads are not passed on: the collection's
// error list and prompt are left as they are.
//
// The collection must not change while the build runs (the caller keeps
// the user from editing it, e.g. behind a modal progress dialog).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "collection/ChunkReading.h"
#include "collection/Collection.h"
#include "core/UserPrompt.h"
#include "openings/GamePositions.h"
#include "openings/StatsBuilder.h"

namespace varnock {

class CollectionStatsBuild {
 public:
  explicit CollectionStatsBuild(Collection& collection, PositionWalk walk = {});

  // Counts the next chunk of games; false once every game is counted.
  bool Step();
  bool Finished() const { return next_ >= total_; }
  std::size_t GamesDone() const { return next_; }
  std::size_t GamesTotal() const { return total_; }
  // Games left out for want of a result ("*" or none).
  std::size_t Unfinished() const { return unfinished_; }

  const StatsBuilder& Builder() const { return builder_; }

 private:
  void Count(std::size_t place, const GameTree& tree);

  Collection& collection_;
  PositionWalk walk_;
  ReadSource source_;
  ChunkReader reader_;  // reads from source_
  StatsBuilder builder_;
  std::vector<std::uint64_t> facts_;
  std::size_t total_ = 0;
  std::size_t next_ = 0;
  std::size_t unfinished_ = 0;
};

// The caption of the build's reports, the text of its progress, and its
// report when no game could be counted (no database is written then).
inline constexpr const char* kExplorerBuildCaption = "CmExplorerBuild()";
inline constexpr const char* kExplorerBuildProgressText = "Counting the games of the collection...";
inline constexpr const char* kExplorerNothingToBuild =
    "No game of the collection has a result: no explorer database was built.";

// Writes the statistics to `path` through a temporary file and a rename,
// making its folder when missing: the bytes written. Failures are reported
// through `prompt` ("'PATH'\nERROR TEXT\nError Code is N"); nothing is left
// behind then.
std::optional<std::size_t> WriteExplorerDatabase(const std::string& path, const StatsBuilder& builder,
                                                 UserPrompt& prompt);

}  // namespace varnock
