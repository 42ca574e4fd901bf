// The opening table in memory: its text, one record per line, and the two
// indexes over the lines (by the hash of the moves, by the position at the
// end of the line).
//
// The text has one line per opening, "CODE\tMOVES\tNAME\n", the moves written
// as coordinate pairs from the start position, four characters a half-move
// ("e2e4e7e5g1f3", castling as the king's move).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "openings/EcoIndex.h"
#include "openings/PositionKey.h"

namespace varnock {

struct EcoLine {
  std::uint32_t offset = 0;  // the line's first character in the table text
  std::string_view code;
  std::string_view moves;
  std::string_view name;
  PositionBytes finalPosition{};  // side byte and board after the line's moves

  int HalfMoves() const { return static_cast<int>(moves.size() / 4); }
};

class EcoTable {
 public:
  // Splits the text into lines and indexes them. A line that is not code,
  // moves and name separated by TABs, with moves of whole squares a1..h8, is
  // left out: it can never be a match.
  explicit EcoTable(std::string text);
  EcoTable(const EcoTable&) = delete;
  EcoTable& operator=(const EcoTable&) = delete;

  const std::string& Text() const { return text_; }
  const std::vector<EcoLine>& Lines() const { return lines_; }
  // Lines of the text that were left out as malformed.
  std::size_t SkippedLines() const { return skipped_; }

  // The key lookups: the line that stands latest in the text among those
  // with the key, or nullptr. Keys alone may collide.
  const EcoLine* FirstByMoveKey(std::uint32_t key) const;
  const EcoLine* FirstByPositionKey(std::uint32_t key) const;

  // Lookups that also compare what the key stands for: the latest line whose
  // moves are exactly `moves` (whose hash is `key`), or whose final position
  // is exactly `position` (whose key is `key`).
  const EcoLine* FindMoves(std::string_view moves, std::uint32_t key) const;
  const EcoLine* FindPosition(const PositionBytes& position, std::uint32_t key) const;

 private:
  std::string text_;
  std::vector<EcoLine> lines_;
  EcoIndex byMoves_;
  EcoIndex byPosition_;
  std::size_t skipped_ = 0;
};

// The position at the end of a moves field (four characters a half-move,
// not checked for legality), or false when the field is not whole squares.
bool ReplayEcoMoves(std::string_view moves, PositionBytes& position);

}  // namespace varnock
