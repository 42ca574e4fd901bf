#include "app/TemporaryText.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/Format.h"

namespace varnock {

std::optional<std::string> WriteTemporaryText(const std::string& folder, const std::string& prefix,
                                              const std::string& suffix, const std::string& text, UserPrompt& prompt) {
  std::string pattern = folder + "/" + prefix + "XXXXXX" + suffix;
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) {
    const int error = errno;
    prompt.Inform("GetPGN(): CreateFile()",
                  Format("'%s'\n%s\nError Code is %d", "PGN_CopyText", std::strerror(error), error));
    return std::nullopt;
  }
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (written != text.size()) {
    prompt.Inform("SGridFrame::GetPGN()", "WriteFile failed");
    ::unlink(name.data());
    return std::nullopt;
  }
  return std::string(name.data());
}

}  // namespace varnock
