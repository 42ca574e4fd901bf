// Where the explorer's statistics file is looked for and built.
#pragma once

#include <string>

namespace varnock {

inline constexpr const char* kExplorerDatabaseName = "Varnock.db";

// The user's own database: $XDG_DATA_HOME/varnock/Explorer/Varnock.db (the
// place a database built from a collection goes).
std::string UserExplorerDatabasePath();

// The database the program ships: Explorer/Varnock.db in the data folder
// (<prefix>/share/varnock when installed, the build tree's data folder when
// run from a build, else the folder of the executable).
std::string ShippedExplorerDatabasePath();

// The database the explorer reads: the user's when it exists, else the
// shipped one.
std::string ExplorerDatabasePath();

}  // namespace varnock
