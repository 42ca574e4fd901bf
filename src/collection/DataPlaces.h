// Where the program keeps its backups and temporary files: below
// $XDG_DATA_HOME/varnock (default ~/.local/share/varnock).
#pragma once

#include <string>

namespace varnock {

std::string UserDataFolder();
std::string DefaultBackupFolder();  // ".../Backup"
std::string DefaultTempFolder();    // ".../Temp", created when missing

}  // namespace varnock
