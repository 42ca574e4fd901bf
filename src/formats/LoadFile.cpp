#include "formats/LoadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "core/Format.h"
#include "formats/FileReading.h"
#include "formats/SystemError.h"

namespace varnock {

namespace {

// Closes the descriptor on every way out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The memory the machine has; a file larger than that cannot be held.
std::uint64_t PhysicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return UINT64_MAX;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace

std::optional<LoadedFile> Load_File(const std::string& name, UserPrompt& prompt, const std::string& openCaption) {
  // Non-blocking, so that a FIFO given as the file cannot hang the load.
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) {
    prompt.Inform(openCaption, FileErrorText(name, errno));
    return std::nullopt;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    prompt.Inform("Load_File()", "'" + name + "'\nLoad_File(): GetFileSize failed");
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    prompt.Inform(openCaption, FileErrorText(name, EISDIR));
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode) || status.st_size <= 0) {
    prompt.Inform("Load_File()", "Zero bytes read");
    return std::nullopt;
  }
  return LoadOpenedFile(file.get(), status, name, prompt);
}

std::optional<LoadedFile> LoadOpenedFile(int fd, const struct stat& status, const std::string& name,
                                         UserPrompt& prompt) {
  const auto size = static_cast<std::uint64_t>(status.st_size);
  LoadedFile loaded;
  loaded.size = size;
  try {
    if (size >= PhysicalMemory() || size >= SIZE_MAX / 2) throw std::bad_alloc();
    loaded.text = TextBuffer(static_cast<std::size_t>(size));
  } catch (const std::bad_alloc&) {
    prompt.Inform("Load_File()", "GlobalAlloc failed!");
    return std::nullopt;
  }

  const std::size_t done = ReadFileInto(fd, loaded.text.data(), loaded.text.size());
  // A file that shrank or grew while it was read gives no consistent text.
  char extra = 0;
  ssize_t more = 0;
  do {
    more = done == loaded.text.size() ? ::pread(fd, &extra, 1, static_cast<off_t>(done)) : 0;
  } while (more < 0 && errno == EINTR);
  if (done == 0) {
    prompt.Inform("Load_File()", "Zero bytes read");
    return std::nullopt;
  }
  if (done != loaded.text.size()) {
    prompt.Inform("Load_File()", "'" + name + "'\n\nThe file changed while it was read: nothing was loaded");
    return std::nullopt;
  }
  loaded.opened = FileIdentity::Of(status);
  if (more > 0) {
    // Another program is adding to the file: what was there when it was
    // opened is read, and the file is not taken for the text read.
    prompt.Inform("Load_File()", Format("'%s'\n\nThe file grew while it was read: its first %llu bytes were loaded",
                                        name.c_str(), static_cast<unsigned long long>(size)));
    return loaded;
  }
  // The text is the file's content only if nothing touched the file while
  // it was read.
  struct stat after {};
  if (::fstat(fd, &after) == 0) {
    const FileIdentity before = FileIdentity::Of(status);
    if (before.SameAs(FileIdentity::Of(after))) loaded.identity = before;
  }
  return loaded;
}

}  // namespace varnock
