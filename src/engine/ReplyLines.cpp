#include "engine/ReplyLines.h"

namespace varnock {

bool ReplyLines::Feed(const char* data, std::size_t size, const LineHandler& handler) {
  for (std::size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (c == '\r') continue;
    if (c == '\n') {
      const std::size_t length = size_;
      size_ = 0;
      started_ = false;
      if (length > 0 && !handler(std::string_view(line_.data(), length))) return false;
      continue;
    }
    if (!started_ && c == ' ') continue;
    started_ = true;
    if (size_ < kCapacity - 1) line_[size_++] = c;
  }
  return true;
}

void ReplyLines::Clear() {
  size_ = 0;
  started_ = false;
}

}  // namespace varnock
