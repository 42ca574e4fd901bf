// The entry point of the fuzz targets: a failed check aborts, so that
// libFuzzer keeps the input as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace varnock::fuzz {

inline int RunCheck(std::string (*check)(std::string_view), const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string failure = check(input);
  if (failure.empty()) return 0;
  std::fprintf(stderr, "\n== round trip failed on an input of %zu bytes: %s\n", size, failure.c_str());
  std::abort();
}

}  // namespace varnock::fuzz
