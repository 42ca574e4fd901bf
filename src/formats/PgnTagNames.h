// The tags the PGN reader knows by name: the ones stored in the header, and
// "FEN".
#pragma once

#include <string_view>

#include "formats/GameHeader.h"

namespace varnock::pgn {

struct KnownTag {
  std::string_view name;                   // upper-cased
  HeaderField field = HeaderField::Black;  // where a header tag goes
  bool fen = false;
};

// The known tag of a name, whatever the case of its letters; nullptr for
// any other name.
const KnownTag* FindKnownTag(std::string_view name);

}  // namespace varnock::pgn
