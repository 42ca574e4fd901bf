// The pieces of moves given in coordinate text ("e2e4", "e7e8q") in tests.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Board.h"

namespace varnock::testing {

// The square a name such as "e4" names.
inline int SquareOf(std::string_view name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

// The piece a promotion letter ("q", "r", "b", "n") names; 0 for any other.
inline std::uint8_t PromotionOf(char letter) {
  switch (letter) {
    case 'q':
      return kQueen;
    case 'r':
      return kRook;
    case 'b':
      return kBishop;
    case 'n':
      return kKnight;
    default:
      return 0;
  }
}

}  // namespace varnock::testing
