#include "formats/SErrorList.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "formats/SystemError.h"

namespace varnock {

void SErrorList::Add(std::string message, int gameNumber) {
  messages_.push_back(std::move(message));
  if (gameNumber > 0) games_.insert(gameNumber);
}

void SErrorList::Clear() {
  messages_.clear();
  games_.clear();
}

std::string SErrorList::Joined() const {
  std::string text;
  for (std::size_t i = 0; i < messages_.size(); ++i) {
    if (i) text += "\r\n\r\n--------------------------------------------------\r\n";
    text += messages_[i];
  }
  return text;
}

}  // namespace varnock

namespace varnock {

void SErrorList::Display(UserPrompt& prompt, const std::string& namePrefix, const std::string& viewerTitle,
                         const std::string& tempFolder) const {
  const bool view = prompt.AskYesNo(
      "SErrorList::Display()",
      "Warning.\nSome errors have been detected in the game file.\n\nSome games might not have been loaded.\nSome "
      "games might have been truncated at the error points.\n\nDo you wish to view the errors?");
  if (view) Store(prompt, namePrefix, viewerTitle, tempFolder);
}

std::string SErrorList::Store(UserPrompt& prompt, const std::string& namePrefix, const std::string& viewerTitle,
                              const std::string& tempFolder) const {
  std::string folder = tempFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::string text = Joined();
  for (long long number = static_cast<long long>(std::time(nullptr)) + 1;; ++number) {
    const std::string path = folder + namePrefix + "_" + std::to_string(number) + ".txt";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) {
      prompt.Inform("SErrorList::Store()", FileErrorText(path, errno));
      return {};
    }
    bool written = true;
    for (std::size_t done = 0; written && done < text.size();) {
      const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0)
        written = false;
      else
        done += static_cast<std::size_t>(put);
    }
    const int error = errno;
    if (::close(fd) != 0) written = false;
    if (!written) {
      prompt.Inform("SErrorList::Store()", FileErrorText(path, error));
      ::unlink(path.c_str());
      return {};
    }
    prompt.ShowFile(path, viewerTitle);
    return path;
  }
}

}  // namespace varnock
