// Turns the engine's output, read in pieces of any size, into lines.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

namespace varnock {

class ReplyLines {
 public:
  // Room for one line; a longer line is cut to its first kCapacity - 1
  // characters, the rest up to its LF is dropped.
  static constexpr std::size_t kCapacity = 4000;

  using LineHandler = std::function<bool(std::string_view line)>;

  // Appends the data to the unfinished line, without CR characters, and hands
  // on every line completed by an LF: leading spaces skipped, empty lines left
  // out. A final piece without LF is kept for the next call. Stops early and
  // returns false when the handler returns false (the rest of the data is
  // dropped).
  bool Feed(const char* data, std::size_t size, const LineHandler& handler);

  // Forgets the unfinished line.
  void Clear();

  std::size_t PendingSize() const { return size_; }

 private:
  std::array<char, kCapacity> line_{};
  std::size_t size_ = 0;
  bool started_ = false;  // a non-space character of the current line was seen
};

}  // namespace varnock
