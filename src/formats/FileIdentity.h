// Which file, in which state: enough of a file's status to tell that it is
// still the very file, unchanged, that was read earlier. Any write to a file
// moves its change time, which no program can set back.
#pragma once

#include <sys/stat.h>

#include <cstdint>

namespace varnock {

struct FileIdentity {
  bool known = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0;
  std::int64_t changedNanoseconds = 0;

  static FileIdentity Of(const struct stat& status) {
    FileIdentity id;
    id.known = true;
    id.device = static_cast<std::uint64_t>(status.st_dev);
    id.inode = static_cast<std::uint64_t>(status.st_ino);
    id.size = static_cast<std::int64_t>(status.st_size);
    id.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    id.modifiedNanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
    id.changedSeconds = static_cast<std::int64_t>(status.st_ctim.tv_sec);
    id.changedNanoseconds = static_cast<std::int64_t>(status.st_ctim.tv_nsec);
    return id;
  }

  // Two unknown identities are never the same file.
  bool SameAs(const FileIdentity& other) const {
    return known && other.known && device == other.device && inode == other.inode && size == other.size &&
           modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds &&
           changedSeconds == other.changedSeconds && changedNanoseconds == other.changedNanoseconds;
  }
};

}  // namespace varnock
