#include "formats/PgnLexical.h"

#include <cstring>

namespace varnock::pgn {

State StateOfWord(State state, const char* text, std::size_t from, std::size_t to, std::size_t size) {
  for (std::size_t k = to; k > from; --k) {
    if (IsBlank(text[k - 1])) {
      state = State::Between;
      from = k;
      break;
    }
  }
  for (std::size_t k = from; k < to; ++k) {
    const char c = text[k];
    if (state == State::Between) {
      if (c == '.') continue;
      if (IsLetter(c) || IsDigit(c) || c == '*' ||
          (c == '-' && (k + 1 >= size || (text[k + 1] != '+' && text[k + 1] != '/'))))
        state = State::Token;
      else if (c == '$')
        state = State::Nag;
      else if (c == '!' || c == '?' || c == '=' || c == '+' || c == '-')
        state = State::Symbol;
      else
        state = State::Skip;
    } else if (state == State::Token && c == '$') {
      state = State::Nag;
    }
  }
  return state;
}

std::size_t SkipLine(const char* text, std::size_t i, std::size_t size) {
  while (i < size && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') ++i;
  while (i < size && (text[i] == '\r' || text[i] == '\n')) ++i;
  return i;
}
std::size_t SkipComment(const char* text, std::size_t i, std::size_t size) {
  while (i < size) {
    const void* found = std::memchr(text + i, '}', size - i);
    const std::size_t brace = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text) : size;
    // A "%" at a line start or a NUL before the brace changes the outcome.
    std::size_t at = i;
    bool restarted = false;
    while (at < brace) {
      const void* mark = std::memchr(text + at, '%', brace - at);
      const void* nul = std::memchr(text + at, '\0', brace - at);
      if (nul && (!mark || nul < mark)) return static_cast<std::size_t>(static_cast<const char*>(nul) - text);
      if (!mark) break;
      const std::size_t percent = static_cast<std::size_t>(static_cast<const char*>(mark) - text);
      if (percent > 0 && (text[percent - 1] == '\r' || text[percent - 1] == '\n')) {
        i = SkipLine(text, percent, size);
        restarted = true;
        break;
      }
      at = percent + 1;
    }
    if (!restarted) return brace;
  }
  return size;
}

}  // namespace varnock::pgn
