#include "collection/DataPlaces.h"

#include <cstdlib>

#include "formats/Backups.h"

namespace varnock {

std::string UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') return std::string(data) + "/varnock";
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share/varnock";
  return "/tmp/varnock";
}

std::string DefaultBackupFolder() { return UserDataFolder() + "/Backup"; }

std::string DefaultTempFolder() {
  const std::string folder = UserDataFolder() + "/Temp";
  ForceDirectories(folder);
  return folder;
}

}  // namespace varnock
