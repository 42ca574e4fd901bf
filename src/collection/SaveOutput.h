// What a save writes, gathered before one write: pieces of new text and
// stretches of the retained file text, which are not copied. Stretches
// that follow each other in the retained text join into one, so an
// unchanged collection is written from its text in a single piece.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnock {

class SaveOutput {
 public:
  // New text, copied.
  void Append(std::string_view text);
  // A stretch of the retained text, which must outlive the output.
  void AppendRetained(std::string_view text);

  std::uint64_t Size() const { return size_; }
  // Writes everything to the descriptor: 0, or the error number.
  int WriteTo(int fd) const;
  std::string ToString() const;

 private:
  struct Piece {
    bool owned;
    const char* data;    // retained text
    std::size_t offset;  // into owned_
    std::size_t size;
  };
  const char* DataOf(const Piece& piece) const { return piece.owned ? owned_.data() + piece.offset : piece.data; }

  std::vector<Piece> pieces_;
  std::string owned_;
  std::uint64_t size_ = 0;
};

}  // namespace varnock
