// printf-style formatting into a std::string, for the program's message
// texts, and the small text comparisons that go with them.
#pragma once

#include <string>
#include <string_view>

namespace varnock {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether two texts are equal when ASCII letters are compared without regard
// to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace varnock
