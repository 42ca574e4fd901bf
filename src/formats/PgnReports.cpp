#include "formats/PgnReports.h"

#include <algorithm>

#include "formats/TextScans.h"

namespace varnock {

int LineCounter::LineAt(std::string_view text, std::size_t position) {
  position = std::min(position, text.size());
  if (position < countedTo_) {
    countedTo_ = 0;
    lines_ = 1;
  }
  lines_ += static_cast<int>(scans::CountLineFeeds(text.data() + countedTo_, text.data() + position));
  countedTo_ = position;
  return lines_;
}

std::string ExtractAround(std::string_view text, std::size_t gameStart, std::size_t position) {
  position = std::min(position, text.size());
  std::size_t start = position >= 90 ? position - 90 : 0;
  start = std::max(start, std::min(gameStart, position));
  return std::string(text.substr(start, 180));
}

std::string NormaliseSkippedText(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\t' || c == '\n') c = ' ';
    if (c == ' ' && (result.empty() || result.back() == ' ')) continue;
    result += c;
  }
  while (!result.empty() && result.back() == ' ') result.pop_back();
  return result;
}

int MovesFromRoot(const GameTree& tree, NodeRef node) {
  int moves = 0;
  for (NodeRef at = node; at != kNoNode && tree.Node(at).parent != kNoNode; at = tree.Node(at).parent) ++moves;
  return moves;
}

}  // namespace varnock
