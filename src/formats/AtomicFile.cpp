#include "formats/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace varnock {

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Fail() {
  errorCode = errno;
  errorText = std::strerror(errorCode);
  Discard();
  return false;
}

bool AtomicFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  const std::filesystem::path target(path);
  if (target.filename().empty()) {
    errno = EISDIR;
    return Fail();
  }
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = mkstemp(name.data());
  if (fd_ < 0) return Fail();
  temporary_ = name.data();
  // mkstemp makes the file private; an output file gets the usual rights.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd_, 0666 & ~mask);
  return true;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) {
    errno = EBADF;
    return Fail();
  }
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Fail();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) {
    errno = EBADF;
    return Fail();
  }
  if (fsync(fd_) != 0 || close(fd_) != 0) {
    fd_ = -1;
    return Fail();
  }
  fd_ = -1;
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) return Fail();
  temporary_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& errorText, int& errorCode) {
  AtomicFile file;
  const bool ok = file.Open(path) && file.Write(bytes) && file.Commit();
  errorText = file.errorText;
  errorCode = file.errorCode;
  return ok;
}

}  // namespace varnock
