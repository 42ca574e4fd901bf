// The sixteen header fields of a game, kept in a fixed order.
//
// Values are stored exactly as read. The fields share one small buffer so
// that a collection of a million scanned games stays compact.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace varnock {

enum class HeaderField : int {
  Black,
  White,
  Site,
  Annotator,
  Result,
  Date,
  Event,
  GameComment,
  EventDate,
  BlackELO,
  WhiteELO,
  Opening,
  ECO,
  Round,
  Board,
  TimeControl,
};
constexpr int kHeaderFieldCount = 16;

class GameHeader {
 public:
  GameHeader() = default;
  GameHeader(const GameHeader& other);
  GameHeader& operator=(const GameHeader& other);
  GameHeader(GameHeader&&) noexcept = default;
  GameHeader& operator=(GameHeader&&) noexcept = default;

  std::string_view Get(HeaderField field) const;
  void Set(HeaderField field, std::string_view value);
  // Sets all sixteen fields at once (the readers' end-of-game copy).
  void SetAll(const std::array<std::string, kHeaderFieldCount>& values);
  void SetAll(const std::array<std::string_view, kHeaderFieldCount>& values);
  void Clear() { data_.reset(); }
  bool Empty() const { return !data_; }

  bool operator==(const GameHeader& other) const;

 private:
  // kHeaderFieldCount end offsets (uint32), then the characters of every
  // field one after another; null when every field is empty.
  std::unique_ptr<char[]> data_;
};

// The PGN tag name of a field ("Black", "WhiteELO", ...), or "" for the two
// fields PGN has no tag for (Annotator, GameComment).
std::string_view PgnTagName(HeaderField field);

}  // namespace varnock
