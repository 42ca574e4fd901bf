#include "engine/UciText.h"

#include <climits>

namespace varnock {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'z') || c == '_'; }

}  // namespace

std::size_t MatchReply(std::string_view line, std::string_view keyword) {
  std::size_t i = 0;
  for (char k : keyword) {
    if (i >= line.size()) return kNoMatch;
    if (k == ' ') {
      if (!IsBlank(line[i])) return kNoMatch;
      while (i < line.size() && IsBlank(line[i])) ++i;
      continue;
    }
    if (Lower(line[i]) != Lower(k)) return kNoMatch;
    ++i;
  }
  return i;
}

std::string_view ReplyRest(std::string_view line, std::size_t offset) {
  if (offset > line.size()) return {};
  while (offset < line.size() && IsBlank(line[offset])) ++offset;
  return line.substr(offset);
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view word, std::size_t from) {
  if (word.empty()) return from <= text.size() ? from : kNoMatch;
  for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
    std::size_t j = 0;
    while (j < word.size() && Lower(text[i + j]) == Lower(word[j])) ++j;
    if (j == word.size()) return i;
  }
  return kNoMatch;
}

bool BeginsWithWord(std::string_view text, std::string_view word) {
  if (MatchReply(text, word) != word.size()) return false;
  return text.size() == word.size() || IsBlank(text[word.size()]);
}

std::optional<int> LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
  long long value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (value < 10'000'000'000LL) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::optional<int> NumberAfter(std::string_view text, std::string_view keyword) {
  for (std::size_t at = FindIgnoringCase(text, keyword); at != kNoMatch; at = FindIgnoringCase(text, keyword, at + 1)) {
    const std::size_t end = at + keyword.size();
    if (at > 0 && IsWordChar(text[at - 1])) continue;
    if (end < text.size() && IsWordChar(text[end])) continue;
    std::size_t i = end;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (std::optional<int> value = LeadingNumber(text.substr(i))) return value;
  }
  return std::nullopt;
}

}  // namespace varnock
