#include "openings/ExplorerPlaces.h"

#include <filesystem>

#include "collection/DataPlaces.h"

#ifndef VARNOCK_BUILD_DATA_DIR
#define VARNOCK_BUILD_DATA_DIR ""
#endif

namespace varnock {

namespace {

std::string InFolder(const std::filesystem::path& folder) {
  return (folder / "Explorer" / kExplorerDatabaseName).string();
}

}  // namespace

std::string UserExplorerDatabasePath() { return UserDataFolder() + "/Explorer/" + kExplorerDatabaseName; }

std::string ShippedExplorerDatabasePath() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path exeFolder = error ? std::filesystem::path() : exe.parent_path();
  if (!exeFolder.empty()) {
    const std::string installed = InFolder(exeFolder.parent_path() / "share" / "varnock");
    if (std::filesystem::is_regular_file(installed, error)) return installed;
  }
  if (*VARNOCK_BUILD_DATA_DIR) {
    const std::string built = InFolder(VARNOCK_BUILD_DATA_DIR);
    if (std::filesystem::is_regular_file(built, error)) return built;
  }
  return InFolder(exeFolder.empty() ? std::filesystem::path(".") : exeFolder);
}

std::string ExplorerDatabasePath() {
  std::error_code error;
  const std::string user = UserExplorerDatabasePath();
  if (std::filesystem::is_regular_file(user, error)) return user;
  return ShippedExplorerDatabasePath();
}

}  // namespace varnock
