// Writing an output file whole or not at all: the bytes go to a temporary
// file in the same folder, which is renamed over the target when complete.
#pragma once

#include <string>
#include <string_view>

namespace varnock {

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();  // removes a temporary file that was never committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file beside `path`. On failure returns false with
  // errno's text and number in `errorText` and `errorCode`.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes all bytes; false (with the error) when they could not be written.
  bool Write(std::string_view bytes);
  // Flushes the file to disk and renames it over the target.
  bool Commit();
  // Closes and removes the temporary file.
  void Discard();

  std::string errorText;
  int errorCode = 0;

 private:
  bool Fail();
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
};

// Writes a whole file through a temporary one; false with the error on
// failure (nothing is left behind then).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& errorText, int& errorCode);

}  // namespace varnock
