#include "settings/SettingsLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace varnock {

namespace {

// $HOME, else the home folder of this user's entry in /etc/passwd. The entry
// is read from the file itself rather than through the name service, which a
// statically linked program could only reach by loading the system's shared
// modules at run time.
std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::FILE* users = std::fopen("/etc/passwd", "re");
  if (!users) return {};
  std::string folder;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  const uid_t uid = ::getuid();
  // The search ends at the first entry too long for the buffer: the reader
  // rewinds to that entry's start, so it would be met again and again.
  while (::fgetpwent_r(users, &entry, buffer, sizeof buffer, &found) == 0 && found) {
    if (found->pw_uid == uid && found->pw_dir && *found->pw_dir) {
      folder = found->pw_dir;
      break;
    }
  }
  std::fclose(users);
  return folder;
}

}  // namespace

std::string SettingsFilePath(const std::string& executableFolder) {
  if (!executableFolder.empty()) {
    const std::string portable = executableFolder + "/" + kSettingsFileName;
    std::error_code error;
    if (std::filesystem::is_regular_file(portable, error) && ::access(portable.c_str(), W_OK) == 0) return portable;
  }
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    return std::string(config) + "/varnock/" + kSettingsFileName;
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return home + "/.config/varnock/" + kSettingsFileName;
}

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

}  // namespace varnock
