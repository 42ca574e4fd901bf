// The key of the opening table's move-order index: a 32-bit hash of a move
// text such as "e2e4e7e5" (start at 5381; for each character, multiply by 33
// and exclusive-or the character in, wrapping).
#pragma once

#include <cstdint>
#include <string_view>

namespace varnock {

constexpr std::uint32_t kMoveTextHashStart = 5381;

// Continues a hash over more characters, so that a text built up a move at a
// time can be hashed as it grows.
constexpr std::uint32_t ExtendMoveTextHash(std::uint32_t hash, std::string_view more) {
  for (char c : more) hash = (hash * 33u) ^ static_cast<std::uint8_t>(c);
  return hash;
}

constexpr std::uint32_t MoveTextHash(std::string_view text) { return ExtendMoveTextHash(kMoveTextHashStart, text); }

static_assert(MoveTextHash("") == 0x1505);
static_assert(MoveTextHash("e2e4") == 0x7c6cb703);

}  // namespace varnock
