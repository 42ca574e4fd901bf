// PGN text of small games that differ only in their tags, for the tests of
// bulk operations and statistics.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace varnock::testing {

using Tags = std::initializer_list<std::pair<const char*, const char*>>;

// One game: the tags given (an empty value is left out), then "1. e4 *".
inline std::string TaggedGame(Tags tags) {
  std::string text;
  for (const auto& [name, value] : tags)
    if (*value) text += std::string("[") + name + " \"" + value + "\"]\n";
  return text + "\n1. e4 e5 *\n\n";
}

}  // namespace varnock::testing
