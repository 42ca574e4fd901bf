#include "support/PgnExtract.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace varnock::testing {

std::string FindPgnExtract() {
  std::vector<std::string> places;
  if (const char* given = std::getenv("PGN_EXTRACT"); given && *given) {
    places.push_back(given);
  } else {
    if (const char* path = std::getenv("PATH")) {
      std::stringstream dirs(path);
      for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty()) places.push_back(dir + "/pgn-extract");
    }
    places.push_back("/usr/games/pgn-extract");
  }
  for (const std::string& place : places) {
    std::error_code error;
    if (std::filesystem::is_regular_file(place, error) && access(place.c_str(), X_OK) == 0) return place;
  }
  return "";
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace varnock::testing
