#include "support/TempFolder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace varnock::testing {

TempFolder::TempFolder() {
  std::string pattern = "/tmp/varnock-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Folders a test made unwritable are opened up again first.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, error))
    if (entry.is_directory(error)) ::chmod(entry.path().c_str(), 0755);
  ::chmod(path_.c_str(), 0755);
  std::filesystem::remove_all(path_, error);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace varnock::testing
