// The fields of an engine's "info" line that the analysis display uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineLineText.h"

namespace varnock {

struct InfoLine {
  std::optional<long long> multipv;
  std::optional<long long> depth;
  std::string depthText;  // as written
  std::optional<long long> timeMs;
  std::optional<long long> nodes;
  std::string nodesText;  // as written
  std::optional<long long> hashfull;
  std::string currmove;
  std::optional<long long> scoreCp;
  std::optional<long long> scoreMate;
  std::string scoreText;  // the score's number as written
  bool hasPv = false;
  std::vector<CoordinateMove> pv;
  std::string pvText;  // the coordinate moves, space-separated
};

// Walks the tokens of the line (spaces, TABs and LFs separate them). A
// keyword takes the number after it; tokens the display does not use are
// passed over one by one; "pv" takes the coordinate moves that follow it, and
// the first other token ends the line and is read as a token again. "string"
// ends the walk: the rest of the line is free text.
InfoLine ParseInfoLine(std::string_view line);

// A score from White's side (`sign` -1 when Black is to move): the number,
// or, for one too large to hold, the engine's own digits with the sign set.
std::string ScoreText(long long value, std::string_view written, long long sign);

}  // namespace varnock
