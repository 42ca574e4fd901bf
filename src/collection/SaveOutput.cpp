#include "collection/SaveOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "formats/FileIdentity.h"

namespace varnock {

namespace {

// Copies and writes go in pieces of at most this size, so that the disk is
// sent each stretch soon after it was written.
constexpr std::size_t kLargestWrite = std::size_t{4} << 20;

int WriteAll(int fd, const char* data, std::size_t size, WriteBehind& behind) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t put = ::write(fd, data + done, std::min(size - done, kLargestWrite));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    done += static_cast<std::size_t>(put);
    behind.Wrote(static_cast<std::uint64_t>(put));
  }
  return 0;
}

}  // namespace

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

int SaveOutput::WriteFromMemory(int fd, WriteBehind& behind) const {
  for (const Piece& piece : pieces_)
    if (const int error = WriteAll(fd, DataOf(piece), piece.size, behind)) return error;
  return 0;
}

int SaveOutput::WriteTo(int fd, const RetainedSource* source) const {
  WriteBehind behind(fd, writeBehindStretch);
  if (!source || source->fd < 0) return WriteFromMemory(fd, behind);
  struct stat before {};
  if (::fstat(source->fd, &before) != 0) return WriteFromMemory(fd, behind);
  for (const Piece& piece : pieces_) {
    const char* data = DataOf(piece);
    std::size_t done = 0;
    const bool inSource = !piece.owned && data >= source->base && piece.size <= source->size &&
                          static_cast<std::size_t>(data - source->base) <= source->size - piece.size;
    if (inSource) {
      auto offset = static_cast<loff_t>(data - source->base);
      while (done < piece.size) {
        const ssize_t put =
            ::copy_file_range(source->fd, &offset, fd, nullptr, std::min(piece.size - done, kLargestWrite), 0);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;  // not supported here, or the source shrank: the rest from memory
        done += static_cast<std::size_t>(put);
        behind.Wrote(static_cast<std::uint64_t>(put));
      }
    }
    if (const int error = WriteAll(fd, data + done, piece.size - done, behind)) return error;
  }
  // The copies are the retained text only if the source did not change
  // while they were made.
  struct stat after {};
  const bool copied = ::fstat(source->fd, &after) == 0 && FileIdentity::Of(before).SameAs(FileIdentity::Of(after));
  if (copied) return 0;
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) return errno;
  behind.Restart();
  return WriteFromMemory(fd, behind);
}

std::string SaveOutput::ToString() const {
  std::string text;
  text.reserve(size_);
  for (const Piece& piece : pieces_) text.append(DataOf(piece), piece.size);
  return text;
}

}  // namespace varnock
