// Sends a file to the disk while it is still being written, a stretch at a
// time, and lets go of the cached pages of stretches already on the disk.
//
// A save flushes its file before it takes the old one's place. Written in
// one go and flushed at the end, a large file first fills the page cache
// with dirty pages and then waits for all of them; sent on behind the
// writing, the disk works while the copy goes on, the final flush waits
// only for the last stretches, and the file's cache stays a few stretches
// long instead of the whole file (the collection holds the text in memory
// already). A file shorter than two stretches is left to the final flush
// and stays in the cache.
#pragma once

#include <cstdint>

namespace varnock {

class WriteBehind {
 public:
  static constexpr std::uint64_t kStretch = std::uint64_t{32} << 20;

  explicit WriteBehind(int fd, std::uint64_t stretch = kStretch) : fd_(fd), stretch_(stretch) {}

  // `bytes` more were written at the end of the file.
  void Wrote(std::uint64_t bytes);
  // The file was emptied, to be written again from its start.
  void Restart() { written_ = sent_ = released_ = 0; }

 private:
  int fd_;
  std::uint64_t stretch_;
  std::uint64_t written_ = 0;   // bytes written so far
  std::uint64_t sent_ = 0;      // bytes whose writing to the disk was started
  std::uint64_t released_ = 0;  // bytes on the disk and out of the cache
};

}  // namespace varnock
