#include "engine/InfoLine.h"

#include <climits>

namespace varnock {

namespace {

// Numbers stop growing here: well inside the long long range, so that
// negating one is safe; a score this large is shown by its digits.
constexpr long long kNumberLimit = 1'000'000'000'000'000LL;

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// A whole token as a number (an optional minus sign and digits), clamped
// well inside the long long range so that negating it is safe.
std::optional<long long> Number(std::string_view token) {
  std::size_t i = 0;
  const bool negative = !token.empty() && token[0] == '-';
  if (negative || (!token.empty() && token[0] == '+')) ++i;
  if (i >= token.size()) return std::nullopt;
  long long value = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return std::nullopt;
    value = value <= (kNumberLimit - 9) / 10 ? value * 10 + (token[i] - '0') : kNumberLimit;
  }
  return negative ? -value : value;
}

}  // namespace

std::string ScoreText(long long value, std::string_view written, long long sign) {
  if (value > -kNumberLimit && value < kNumberLimit) return std::to_string(sign * value);
  bool negative = false;
  if (!written.empty() && (written[0] == '-' || written[0] == '+')) {
    negative = written[0] == '-';
    written.remove_prefix(1);
  }
  while (written.size() > 1 && written[0] == '0') written.remove_prefix(1);
  if (sign < 0) negative = !negative;
  return (negative ? "-" : "") + std::string(written);
}

InfoLine ParseInfoLine(std::string_view line) {
  InfoLine info;
  const std::vector<std::string_view> tokens = Tokens(line);
  const std::size_t count = tokens.size();
  auto numberAt = [&](std::size_t i) { return i < count ? Number(tokens[i]) : std::nullopt; };

  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view token = tokens[i];
    if (token == "string") break;
    if (token == "multipv" || token == "depth" || token == "time" || token == "nodes" || token == "hashfull") {
      const std::optional<long long> value = numberAt(i + 1);
      if (!value) continue;
      ++i;
      if (token == "multipv") {
        info.multipv = value;
      } else if (token == "depth") {
        info.depth = value;
        info.depthText = std::string(tokens[i]);
      } else if (token == "time") {
        info.timeMs = value;
      } else if (token == "nodes") {
        info.nodes = value;
        info.nodesText = std::string(tokens[i]);
      } else {
        info.hashfull = value;
      }
    } else if (token == "currmove") {
      if (i + 1 < count) info.currmove = std::string(tokens[++i]);
    } else if (token == "score") {
      if (i + 2 >= count) continue;
      const std::optional<long long> value = numberAt(i + 2);
      if (!value) continue;
      info.scoreText = std::string(tokens[i + 2]);
      if (tokens[i + 1] == "cp") {
        info.scoreCp = value, info.scoreMate.reset();
      } else if (tokens[i + 1] == "mate") {
        info.scoreMate = value, info.scoreCp.reset();
      } else {
        continue;
      }
      i += 2;
    } else if (token == "pv") {
      info.hasPv = true;
      info.pv.clear();
      info.pvText.clear();
      CoordinateMove move;
      while (i + 1 < count && ParseCoordinateMove(tokens[i + 1], move)) {
        info.pv.push_back(move);
        if (!info.pvText.empty()) info.pvText += ' ';
        info.pvText += tokens[++i];
      }
    }
  }
  return info;
}

}  // namespace varnock
