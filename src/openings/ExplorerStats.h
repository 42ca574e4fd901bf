// The explorer's game statistics: for a position key, the results of the
// games that reached the position and the moves played from it.
//
// The data (inflated from the file's compressed container) are a B+-tree of
// pages. A page at offset P: byte P unused; at P+1 a 16-bit little-endian
// word, bits 4-14 the number of entries, bit 15 set in leaves; from P+3 a
// big-endian u16 per entry, entry i starting at P+3+offset(i); entries in
// ascending key order. Internal entry: key, child page offset (u32 LE each);
// the child holds the keys from this entry's key to the next one's. Leaf
// entry: key (u32 LE), the record's length in base 128 (most significant
// group first, bit 7 set on every byte but the last), the record. The root
// page is at offset 0.
//
// Record: White wins, Black wins, draws (u16 LE each), the number of moves
// (u8, low seven bits), the moves (u16 LE each: bits 0-5 from square, 6-11
// to square, bit 12 set when the move gives check).
//
// Every offset and length is checked against the data: a damaged tree finds
// nothing where it is damaged.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/UserPrompt.h"

namespace varnock {

inline constexpr std::uint16_t kStoredMoveCheck = 0x1000;
inline constexpr std::size_t kMostRecordMoves = 127;

struct StatsRecord {
  std::uint32_t whiteWins = 0;
  std::uint32_t blackWins = 0;
  std::uint32_t draws = 0;
  std::vector<std::uint16_t> moves;  // stored moves, in stored order

  std::uint32_t Total() const { return whiteWins + blackWins + draws; }
};

// Decodes a record; false when it is shorter than its fixed part. Moves that
// the record's length cannot hold are left out.
bool DecodeStatsRecord(std::span<const std::uint8_t> record, StatsRecord& out);

// Reads a base-128 length at `at` (moved past it); nothing when it runs past
// the end or beyond 32 bits.
std::optional<std::uint32_t> ReadBase128(std::span<const std::uint8_t> data, std::size_t& at);

class ExplorerStats {
 public:
  ExplorerStats() = default;
  explicit ExplorerStats(std::vector<std::uint8_t> data) : data_(std::move(data)) {}

  // The record of the key: its bytes within the data, or nothing.
  std::optional<std::span<const std::uint8_t>> Lookup(std::uint32_t key) const;
  // The record decoded, or nothing.
  std::optional<StatsRecord> Record(std::uint32_t key) const;

  std::span<const std::uint8_t> Data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

// Reads and inflates the statistics file. A file that is missing, cannot be
// read or does not inflate is reported as "'PATH'\n\nUnable to get 'statbuf'
// information for this file", a file too large for memory as "'PATH'\n\nUnable
// to allocate N bytes of memory for this file" (caption "::LoadFile");
// nothing is returned then.
std::optional<ExplorerStats> LoadExplorerStats(const std::string& path, UserPrompt& prompt);

}  // namespace varnock
