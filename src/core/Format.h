// printf-style formatting into a std::string, for the program's message texts.
#pragma once

#include <string>

namespace varnock {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace varnock
