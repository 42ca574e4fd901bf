#include "collection/WriteBehind.h"

#include <fcntl.h>

namespace varnock {

// Failures are not reported here: a descriptor that cannot be sent on early
// (a pipe, a file system without the call) is simply flushed at the end, and
// a write error on the way is reported by that final flush.
void WriteBehind::Wrote(std::uint64_t bytes) {
  written_ += bytes;
  if (written_ - sent_ < stretch_) return;
  const auto offset = [](std::uint64_t at) { return static_cast<off_t>(at); };
  ::sync_file_range(fd_, offset(sent_), offset(written_ - sent_), SYNC_FILE_RANGE_WRITE);
  // The stretches sent before this one are waited for and released; the
  // pages they free take the next stretches.
  if (sent_ > released_) {
    ::sync_file_range(fd_, offset(released_), offset(sent_ - released_), SYNC_FILE_RANGE_WAIT_BEFORE);
    ::posix_fadvise(fd_, offset(released_), offset(sent_ - released_), POSIX_FADV_DONTNEED);
    released_ = sent_;
  }
  sent_ = written_;
}

}  // namespace varnock
