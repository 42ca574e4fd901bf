#include "settings/SettingsLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace varnock {

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir && *found->pw_dir)
    return found->pw_dir;
  return {};
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
