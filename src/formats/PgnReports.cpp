#include "formats/PgnReports.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnock {

namespace {

// The LFs among the characters [from, to): the line number of a report deep
// in a large file counts them all.
std::size_t CountLineFeeds(const char* from, const char* to) {
  std::size_t count = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  while (to - from >= 16) {
    // Each byte of the sum counts up to 255 LFs before it is added up.
    __m128i sums = _mm_setzero_si128();
    for (int round = 0; round < 255 && to - from >= 16; ++round, from += 16)
      sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), lf));
    const __m128i total = _mm_sad_epu8(sums, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(total)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(total, 8)));
  }
#endif
  return count + static_cast<std::size_t>(std::count(from, to, '\n'));
}

}  // namespace

int LineCounter::LineAt(std::string_view text, std::size_t position) {
  position = std::min(position, text.size());
  if (position < countedTo_) {
    countedTo_ = 0;
    lines_ = 1;
  }
  lines_ += static_cast<int>(CountLineFeeds(text.data() + countedTo_, text.data() + position));
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
