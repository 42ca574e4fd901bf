// What a save writes, gathered before one write: pieces of new text and
// stretches of the retained file text, which are not copied. Stretches
// that follow each other in the retained text join into one, so an
// unchanged collection is written from its text in a single piece.
//
// When the file the text was read from is still open and unchanged, retained
// stretches are copied from it inside the kernel (copy_file_range) rather
// than written from memory. A large file is sent to the disk behind the
// writing (WriteBehind).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collection/WriteBehind.h"

namespace varnock {

// The file the retained text was read from: its descriptor, and where the
// text starts in memory (file offset 0) and how long it is.
struct RetainedSource {
  int fd = -1;
  const char* base = nullptr;
  std::size_t size = 0;
};

class SaveOutput {
 public:
  // New text, copied.
  void Append(std::string_view text);
  // A stretch of the retained text, which must outlive the output.
  void AppendRetained(std::string_view text);

  std::uint64_t Size() const { return size_; }
  // Writes everything to the descriptor, which must be empty and at offset 0:
  // 0, or the error number. With a source, retained stretches are copied from
  // it; should the source change meanwhile, everything is written again from
  // memory.
  int WriteTo(int fd, const RetainedSource* source = nullptr) const;
  std::string ToString() const;

  // How much is written before the disk is sent it (see WriteBehind).
  std::uint64_t writeBehindStretch = WriteBehind::kStretch;

 private:
  struct Piece {
    bool owned;
    const char* data;    // retained text
    std::size_t offset;  // into owned_
    std::size_t size;
  };
  const char* DataOf(const Piece& piece) const { return piece.owned ? owned_.data() + piece.offset : piece.data; }
  int WriteFromMemory(int fd, WriteBehind& behind) const;

  std::vector<Piece> pieces_;
  std::string owned_;
  std::uint64_t size_ = 0;
};

}  // namespace varnock
