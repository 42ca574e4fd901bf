#include "formats/FileReading.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

namespace varnock {

namespace {

// Reads [from, to) into the same offsets of `text`; the bytes read from
// `from` on without a gap.
std::size_t ReadRange(int fd, char* text, std::size_t from, std::size_t to) {
  std::size_t done = from;
  while (done < to) {
    const std::size_t chunk = std::min<std::size_t>(to - done, std::size_t{1} << 30);
    const ssize_t got = ::pread(fd, text + done, chunk, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done - from;
}

}  // namespace

std::size_t ReadFileInto(int fd, char* text, std::size_t size) {
  if (size < kReadInTwoFrom || std::thread::hardware_concurrency() < 2) return ReadRange(fd, text, 0, size);
  // The halves meet on a 2 MB boundary, so that no huge page of the buffer
  // is cleared by both threads.
  constexpr std::size_t kBoundary = std::size_t{2} << 20;
  const std::size_t half = (size / 2 + kBoundary - 1) / kBoundary * kBoundary;
  std::size_t second = 0;
  std::thread helper;
  try {
    helper = std::thread([&second, fd, text, half, size] { second = ReadRange(fd, text, half, size); });
  } catch (const std::system_error&) {
    return ReadRange(fd, text, 0, size);  // no thread to be had: one reads it all
  }
  const std::size_t first = ReadRange(fd, text, 0, half);
  helper.join();
  return first == half ? first + second : first;
}

}  // namespace varnock
