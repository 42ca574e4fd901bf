// Reading a whole collection file into memory.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/UserPrompt.h"
#include "formats/FileIdentity.h"
#include "formats/TextBuffer.h"

namespace varnock {

struct LoadedFile {
  TextBuffer text;         // every byte of the file
  std::uint64_t size = 0;  // the file's size
  FileIdentity identity;   // the file as read; unknown when it changed meanwhile
  FileIdentity opened;     // the file as it was when opened (its size is `size`)
};

// Reads the file in one go. Every failure is reported (under
// `openCaption` when the file cannot be opened, else "Load_File()") and
// gives nothing: a folder or an unreadable file, a size that cannot be had,
// a file larger than memory can hold ("GlobalAlloc failed!"), an empty file
// ("Zero bytes read") or one that shrank while it was read. A file that grew
// while it was read gives what it held when it was opened, after a warning.
std::optional<LoadedFile> Load_File(const std::string& name, UserPrompt& prompt,
                                    const std::string& openCaption = "Load_File(): CreateFile()");

// The reading half of Load_File, on a regular file already open as `fd`
// whose size `status` gives (taken when it was opened): what the file held
// then is read, and a file that changed since is reported as Load_File does.
std::optional<LoadedFile> LoadOpenedFile(int fd, const struct stat& status, const std::string& name,
                                         UserPrompt& prompt);

}  // namespace varnock
