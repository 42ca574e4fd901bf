#include "collection/SaveOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace varnock {

void SaveOutput::Append(std::string_view text) {
  if (text.empty()) return;
  if (!pieces_.empty() && pieces_.back().owned && pieces_.back().offset + pieces_.back().size == owned_.size()) {
    pieces_.back().size += text.size();
  } else {
    pieces_.push_back({true, nullptr, owned_.size(), text.size()});
  }
  owned_.append(text);
  size_ += text.size();
}

void SaveOutput::AppendRetained(std::string_view text) {
  if (text.empty()) return;
  if (!pieces_.empty() && !pieces_.back().owned && pieces_.back().data + pieces_.back().size == text.data()) {
    pieces_.back().size += text.size();
  } else {
    pieces_.push_back({false, text.data(), 0, text.size()});
  }
  size_ += text.size();
}

int SaveOutput::WriteTo(int fd) const {
  for (const Piece& piece : pieces_) {
    const char* data = DataOf(piece);
    for (std::size_t done = 0; done < piece.size;) {
      const ssize_t put = ::write(fd, data + done, std::min<std::size_t>(piece.size - done, std::size_t{4} << 20));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return errno;
      if (put == 0) return EIO;
      done += static_cast<std::size_t>(put);
    }
  }
  return 0;
}

std::string SaveOutput::ToString() const {
  std::string text;
  text.reserve(size_);
  for (const Piece& piece : pieces_) text.append(DataOf(piece), piece.size);
  return text;
}

}  // namespace varnock
