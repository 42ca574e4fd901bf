#include "formats/TextBuffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace varnock {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a block comes from malloc. Above it the block is mapped in
// whole huge pages: reading a file into small pages costs a page fault every
// 4 KB, which on some machines takes longer than the copy.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

}  // namespace

TextBuffer::TextBuffer(std::size_t size) {
  if (size >= SIZE_MAX - kHugePage) throw std::bad_alloc();
  const std::size_t bytes = size + 1;
  if (bytes >= kMappedFrom) {
    const std::size_t mapped = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(block, mapped, MADV_HUGEPAGE);
#endif
    data_ = static_cast<char*>(block);
    mapped_ = mapped;
  } else {
    data_ = static_cast<char*>(std::malloc(bytes));
    if (!data_) throw std::bad_alloc();
  }
  size_ = size;
  data_[size_] = '\0';
}

TextBuffer TextBuffer::CopyOf(std::string_view text) {
  TextBuffer buffer(text.size());
  if (!text.empty()) std::memcpy(buffer.data_, text.data(), text.size());
  return buffer;
}

TextBuffer::~TextBuffer() { Release(); }

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
  }
  return *this;
}

void TextBuffer::Shorten(std::size_t size) {
  if (size >= size_) return;
  size_ = size;
  data_[size_] = '\0';
}

void TextBuffer::Release() {
  if (!data_) return;
  if (mapped_)
    ::munmap(data_, mapped_);
  else
    std::free(data_);
  data_ = nullptr;
  size_ = mapped_ = 0;
}

}  // namespace varnock
