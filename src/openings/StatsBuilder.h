// Builds the explorer's game statistics from the facts of many games (see
// GamePositions.h) and writes them in the statistics file's format (see
// ExplorerStats.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace varnock {

enum class GameOutcome { kWhiteWins, kBlackWins, kDraw };

// The outcome a PGN result gives: "1-0", "0-1", "1/2-1/2"; nothing for "*"
// and anything else.
std::optional<GameOutcome> OutcomeOfResult(std::string_view result);

class StatsBuilder {
 public:
  StatsBuilder();

  // Counts one game: its outcome for every position it reaches, and one
  // game for every move it plays from a position. `facts` as
  // CollectGamePositions gives them (each fact once).
  void AddGame(std::span<const std::uint64_t> facts, GameOutcome outcome);

  std::size_t Games() const { return games_; }
  std::size_t Positions() const { return positions_.size(); }

  // The statistics as the file holds them once inflated. A count above
  // 65535 does not fit its field: the three counts of such a position are
  // scaled down together, which keeps the percentages. A position keeps
  // its 127 most played moves, the most played first (ties by move word).
  // The pages as PackStatsTree makes them.
  std::vector<std::uint8_t> TreeBytes(std::size_t leafBytes = 4096, std::size_t fanout = 1024) const;

 private:
  struct Position {
    std::uint32_t key;
    std::uint32_t counts[3];  // by GameOutcome
    std::uint32_t firstMove;  // index + 1 into moves_, 0 for none
  };
  struct Move {
    std::uint32_t count;
    std::uint32_t next;  // index + 1 into moves_, 0 at the end
    std::uint16_t move;
  };

  Position& Find(std::uint32_t key);
  void Grow();

  std::vector<std::uint64_t> slots_;  // key << 32 | index + 1 into positions_; 0 for an empty slot
  std::vector<Position> positions_;
  std::vector<Move> moves_;
  std::size_t games_ = 0;
};

// The pages of a statistics tree over leaf entries (key, then the record's
// base-128 length and the record), sorted by key: leaves of up to
// `leafBytes` bytes and 2,047 entries, internal pages of up to `fanout`
// entries, the root first at offset 0. No entries give a root leaf without
// entries.
struct StatsLeafEntry {
  std::uint32_t key;
  std::uint32_t offset;  // into the entry bytes
  std::uint32_t size;
};
std::vector<std::uint8_t> PackStatsTree(std::span<const StatsLeafEntry> entries, std::span<const std::uint8_t> bytes,
                                        std::size_t leafBytes = 4096, std::size_t fanout = 1024);

// Appends a base-128 number, most significant group first.
void AppendBase128(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace varnock
