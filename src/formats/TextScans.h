// The scans of the PGN reader that look at sixteen characters at a time,
// each beside a plain twin that looks at one at a time. The twins are always
// compiled: they serve where SSE2 is missing, and the tests hold every fast
// scan to its twin.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnock::scans {

// Whether the fast scans look at sixteen characters at a time here.
#if defined(__SSE2__)
inline constexpr bool kSixteenAtATime = true;
#else
inline constexpr bool kSixteenAtATime = false;
#endif

// The first place at or after `i` where the text holds one of `Chars`;
// `size` when there is none.
template <char... Chars>
std::size_t FirstOfPlain(const char* text, std::size_t i, std::size_t size) {
  for (; i < size; ++i)
    if (((text[i] == Chars) || ...)) return i;
  return size;
}

template <char... Chars>
std::size_t FirstOf(const char* text, std::size_t i, std::size_t size) {
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Chars)))), ...);
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#endif
  return FirstOfPlain<Chars...>(text, i, size);
}

// Whether a move token may hold the character: "a" to "h", "1" to "8", the
// piece letters, "x", "+" and "#".
constexpr bool IsMoveChar(char c) {
  return (c >= 'a' && c <= 'h') || (c >= '1' && c <= '8') || c == 'N' || c == 'B' || c == 'R' || c == 'Q' || c == 'K' ||
         c == 'x' || c == '+' || c == '#';
}

// The length of the run of move-token characters that starts `text`, up to
// 16; sixteen characters must be there to read.
inline std::size_t MoveCharRunPlain(const char* text) {
  std::size_t length = 0;
  while (length < 16 && IsMoveChar(text[length])) ++length;
  return length;
}

// As MoveCharRunPlain, with no branch per character: the characters of
// movetext follow no pattern a branch predictor could learn.
inline std::size_t MoveCharRun(const char* text) {
#if defined(__SSE2__)
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  auto within = [&](char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(chars, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(chars, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  auto is = [&](char c) { return _mm_cmpeq_epi8(chars, _mm_set1_epi8(c)); };
  const __m128i moveChars =
      _mm_or_si128(_mm_or_si128(_mm_or_si128(within('a', 'h'), within('1', '8')), _mm_or_si128(is('N'), is('B'))),
                   _mm_or_si128(_mm_or_si128(_mm_or_si128(is('R'), is('Q')), _mm_or_si128(is('K'), is('x'))),
                                _mm_or_si128(is('+'), is('#'))));
  const unsigned run = ~static_cast<unsigned>(_mm_movemask_epi8(moveChars));
  return static_cast<std::size_t>(std::countr_zero(run));
#else
  return MoveCharRunPlain(text);
#endif
}

// The length of the run of characters above the space and below 0x80 that
// starts `text`, up to 16: where a token ended by a blank ends. Sixteen
// characters must be there to read.
inline std::size_t WordLengthPlain(const char* text) {
  std::size_t length = 0;
  while (length < 16 && static_cast<signed char>(text[length]) > 0x20) ++length;
  return length;
}

inline std::size_t WordLength(const char* text) {
#if defined(__SSE2__)
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  // A signed comparison: bytes from 0x80 on are below the space too.
  const __m128i stops = _mm_cmplt_epi8(chars, _mm_set1_epi8(0x21));
  return static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(stops)) | 0x10000u));
#else
  return WordLengthPlain(text);
#endif
}

// The LFs among the characters [from, to).
inline std::size_t CountLineFeedsPlain(const char* from, const char* to) {
  return static_cast<std::size_t>(std::count(from, to, '\n'));
}

// As CountLineFeedsPlain: the line number of a report deep in a large file
// counts them all.
inline std::size_t CountLineFeeds(const char* from, const char* to) {
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
  return count + CountLineFeedsPlain(from, to);
}

}  // namespace varnock::scans
