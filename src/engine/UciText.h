// Recognising engine replies and reading values out of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace varnock {

inline constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);

// Whether `line` starts with `keyword`, ignoring case. A TAB in the line
// matches a space in the keyword, and after a matched space any further
// spaces and TABs of the line are skipped ("id name" matches "ID\t  Name").
// Returns the offset just past the match, or kNoMatch.
std::size_t MatchReply(std::string_view line, std::string_view keyword);

// The text after a matched reply keyword, without its leading spaces and TABs.
std::string_view ReplyRest(std::string_view line, std::size_t offset);

// The offset of `word` in `text`, ignoring case, or kNoMatch.
std::size_t FindIgnoringCase(std::string_view text, std::string_view word, std::size_t from = 0);

// Whether `text` begins with `word` (ignoring case) followed by a space, a TAB
// or the end of the text.
bool BeginsWithWord(std::string_view text, std::string_view word);

// The number that follows `keyword` where the keyword stands as a word of its
// own (ignoring case) and a number follows it; earlier occurrences that are
// part of a longer word or not followed by a number (an option called
// "Max CPUs") are passed over. Values beyond the int range are clamped.
std::optional<int> NumberAfter(std::string_view text, std::string_view keyword);

// A decimal number with an optional sign at the start of `text`, clamped to
// the int range; nothing when no digit follows.
std::optional<int> LeadingNumber(std::string_view text);

}  // namespace varnock
