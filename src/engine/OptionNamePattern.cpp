#include "engine/OptionNamePattern.h"

#include <string>

namespace varnock {

namespace {

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(char c) { return IsLower(c) || IsUpper(c); }
bool IsAlnum(char c) { return IsLetter(c) || (c >= '0' && c <= '9'); }
char Lower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr std::size_t kLongestWord = 126;

struct Group {
  std::vector<std::string_view> alternatives;
  bool starBefore = false;  // words may pass before this group matches
};

std::vector<Group> ParsePattern(std::string_view pattern) {
  std::vector<Group> groups(1);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= pattern.size(); ++i) {
    const char c = i < pattern.size() ? pattern[i] : '\0';
    if (c != '|' && c != '*' && c != '-' && c != '\0') continue;
    if (i > start) groups.back().alternatives.push_back(pattern.substr(start, i - start));
    start = i + 1;
    if (c == '*' || c == '-') groups.push_back(Group{{}, c == '*'});
  }
  return groups;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::vector<NameWord> SplitNameWords(std::string_view name) {
  std::vector<NameWord> words;
  std::size_t i = 0;
  while (i < name.size()) {
    if (!IsAlnum(name[i])) {
      ++i;
      continue;
    }
    NameWord word{i, i};
    while (i < name.size()) {
      const char c = name[i];
      if (c == ' ' || c == '\t') break;
      const char next = i + 1 < name.size() ? name[i + 1] : '\0';
      ++i;
      if (IsLower(c) && !IsLower(next)) break;
      if (IsUpper(c) && !IsLetter(next)) break;
    }
    word.end = i;
    if (word.end - word.start > kLongestWord) word.end = word.start + kLongestWord;
    words.push_back(word);
  }
  return words;
}

std::size_t MatchNamePattern(std::string_view name, std::string_view pattern) {
  const std::vector<Group> groups = ParsePattern(pattern);
  std::size_t group = 0;
  for (const NameWord& word : SplitNameWords(name)) {
    const std::string_view text = name.substr(word.start, word.end - word.start);
    bool matched = false;
    for (std::string_view alternative : groups[group].alternatives) matched = matched || SameWord(text, alternative);
    if (matched) {
      if (++group == groups.size()) return word.end;
      continue;
    }
    if (!groups[group].starBefore) return 0;
  }
  return 0;
}

}  // namespace varnock
