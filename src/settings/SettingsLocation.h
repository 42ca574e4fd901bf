// Where the settings file lives.
#pragma once

#include <string>

namespace varnock {

inline constexpr const char* kSettingsFileName = "varnock.ini";

// The settings file of a program whose executable stands in
// `executableFolder`: the "varnock.ini" beside the executable when one
// stands there and may be written (a portable install); otherwise
// $XDG_CONFIG_HOME/varnock/varnock.ini, with ~/.config when XDG_CONFIG_HOME
// is unset or not an absolute path. Empty when no home folder is known.
std::string SettingsFilePath(const std::string& executableFolder);

// The folder of the running executable; empty when it cannot be found.
std::string ExecutableFolder();

// The settings file of this process.
inline std::string SettingsFilePath() { return SettingsFilePath(ExecutableFolder()); }

}  // namespace varnock
