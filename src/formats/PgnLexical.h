// The lexical side of the PGN reader: its states, the classes of the
// characters it steps through, and the scans over comments and escape lines
// that the header-only reading of a game leaps with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "formats/TextScans.h"

namespace varnock::pgn {

enum class State { Between, TagName, TagValue, TagEnd, Token, Comment, PreComment, LineComment, Nag, Symbol, Skip };

inline bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Character classes, looked up rather than compared one by one: the
// characters of movetext follow no pattern a branch predictor could learn.
enum CharClass : std::uint8_t {
  kBlankChar = 1,      // space, tab, CR, LF
  kDelimiterChar = 2,  // a blank, "(", ")" or "{": ends a token
  kTokenEndChar = 4,   // a delimiter, "$", ";" or NUL
  kTokenMarkChar = 8,  // ".", "-", "x", "+", "#", "=": not kept in a token
};
inline constexpr std::array<std::uint8_t, 256> kCharClasses = [] {
  std::array<std::uint8_t, 256> classes{};
  for (unsigned char c : {' ', '\t', '\r', '\n'}) classes[c] |= kBlankChar | kDelimiterChar | kTokenEndChar;
  for (unsigned char c : {'(', ')', '{'}) classes[c] |= kDelimiterChar | kTokenEndChar;
  for (unsigned char c : {'$', ';', '\0'}) classes[c] |= kTokenEndChar;
  for (unsigned char c : {'.', '-', 'x', '+', '#', '='}) classes[c] |= kTokenMarkChar;
  return classes;
}();
inline bool HasClass(char c, std::uint8_t charClass) { return kCharClasses[static_cast<unsigned char>(c)] & charClass; }

inline bool IsBlank(char c) { return HasClass(c, kBlankChar); }
inline bool IsDelimiter(char c) { return HasClass(c, kDelimiterChar); }

// The next character at or after `i` that can end a game or change what a
// scan counts: a bracket, a brace, ";", "[", "%" or NUL; `size` when none.
inline std::size_t FindMovetextEvent(const char* text, std::size_t i, std::size_t size) {
  return scans::FirstOf<'(', ')', '{', ';', '[', '%', '\0'>(text, i, size);
}

// The lexical state after the characters [from, to) of movetext that hold
// no bracket, brace or line comment, starting in `state`. After a blank the
// state is Between whatever it was, so only the last word is stepped through.
State StateOfWord(State state, const char* text, std::size_t from, std::size_t to, std::size_t size);

// Past an escape line at `i` and the line ends after it.
std::size_t SkipLine(const char* text, std::size_t i, std::size_t size);

// The closing brace of a comment whose text begins at `i`, passing over
// escape lines inside it (a "[" or "}" on such a line counts for nothing);
// else where the text or a NUL ends it.
std::size_t SkipComment(const char* text, std::size_t i, std::size_t size);

}  // namespace varnock::pgn
