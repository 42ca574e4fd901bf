#include "formats/TempNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace varnock {

namespace {

constexpr std::string_view kMarker = ".varnock-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kUniqueLength = 6;  // the XXXXXX of mkstemps
// The file part is shortened so that the name stays within the 255 bytes a
// folder entry may hold.
constexpr std::size_t kPartLength = 160;

std::string_view ShortPart(std::string_view filePart) { return filePart.substr(0, kPartLength); }

bool ProcessEnded(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

}  // namespace

int CreateTempFileFor(const std::string& folder, const std::string& filePart, std::string& name) {
  name = folder + "/" + std::string(ShortPart(filePart)) + std::string(kMarker) + std::to_string(::getpid()) + "-" +
         std::string(kUniqueLength, 'X') + std::string(kSuffix);
  return ::mkstemps(name.data(), static_cast<int>(kSuffix.size()));
}

std::optional<long> TempFileOwner(std::string_view entry, std::string_view filePart, bool prefixOnly) {
  if (!entry.ends_with(kSuffix)) return std::nullopt;
  entry.remove_suffix(kSuffix.size());
  if (entry.size() < kUniqueLength + 1) return std::nullopt;
  entry.remove_suffix(kUniqueLength);
  if (!entry.ends_with('-')) return std::nullopt;
  entry.remove_suffix(1);
  std::size_t digits = 0;
  while (digits < entry.size() && digits < 10 && entry[entry.size() - 1 - digits] >= '0' &&
         entry[entry.size() - 1 - digits] <= '9')
    ++digits;
  if (digits == 0) return std::nullopt;
  const std::string_view number = entry.substr(entry.size() - digits);
  entry.remove_suffix(digits);
  if (!entry.ends_with(kMarker)) return std::nullopt;
  entry.remove_suffix(kMarker.size());
  const std::string_view part = ShortPart(filePart);
  if (!filePart.empty() && (prefixOnly ? !entry.starts_with(part) : entry != part)) return std::nullopt;
  return std::strtol(std::string(number).c_str(), nullptr, 10);
}

int RemoveStaleTempFiles(const std::string& folder, const std::string& filePart, bool prefixOnly) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::optional<long> owner = TempFileOwner(entry->d_name, filePart, prefixOnly);
    if (!owner || !ProcessEnded(*owner)) continue;
    const std::string path = folder + "/" + entry->d_name;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace varnock
