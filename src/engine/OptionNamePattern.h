// Matching an engine option's name against a word pattern, so that an
// option such as "Max CPUs" or "Number of Processors" is recognised whatever
// the engine calls it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace varnock {

// The pattern of the processor-count option.
inline constexpr std::string_view kProcessorOptionPattern = "nbr|number|max|maximum*processors|cpus|cores";

// The words of a name: letters and digits; other characters between words
// are skipped. A word ends before a space, a TAB or the end of the text,
// after a lowercase letter not followed by another lowercase letter, or after
// an uppercase letter not followed by a letter ("MaxCPUs" is "Max" and
// "CPUs"). A word longer than 126 characters is cut.
struct NameWord {
  std::size_t start = 0;
  std::size_t end = 0;  // one past the last character in the text
};
std::vector<NameWord> SplitNameWords(std::string_view name);

// Matches the words of `name` against `pattern`: groups of alternatives
// separated by "|"; between groups "*" lets any number of words pass before
// the next group's word, "-" requires the very next word to match. Words are
// compared ignoring case. On success returns the offset in `name` just past
// the last matched word; on failure 0.
std::size_t MatchNamePattern(std::string_view name, std::string_view pattern);

}  // namespace varnock
