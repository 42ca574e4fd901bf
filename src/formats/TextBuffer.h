// A file's whole text in memory: one block, not zero-filled first, with a
// NUL after the last byte. Large blocks ask the system for huge pages, so
// that reading a file of hundreds of megabytes costs few page faults.
#pragma once

#include <cstddef>
#include <string_view>

namespace varnock {

class TextBuffer {
 public:
  TextBuffer() = default;
  // Room for `size` bytes (their contents undefined until written); throws
  // std::bad_alloc when the memory cannot be had.
  explicit TextBuffer(std::size_t size);
  // A copy of a text (tests, pasted text).
  static TextBuffer CopyOf(std::string_view text);
  ~TextBuffer();
  TextBuffer(TextBuffer&& other) noexcept;
  TextBuffer& operator=(TextBuffer&& other) noexcept;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return data_ ? std::string_view(data_, size_) : std::string_view(); }
  // Makes the text shorter (after cleaning); the NUL follows the new end.
  void Shorten(std::size_t size);

 private:
  void Release();

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mapped_ = 0;  // bytes mapped when the block came from mmap
};

}  // namespace varnock
