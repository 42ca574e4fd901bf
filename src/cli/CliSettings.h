// The settings of one varnock-cli run: the user's "varnock.ini" (or the file
// named by --ini FILE), read but never written, with --set KEY=VALUE
// overriding keys of the "Settings" section for this run only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "core/UserPrompt.h"
#include "formats/PgnExportOptions.h"
#include "render/RtfOptions.h"
#include "settings/Settings.h"

namespace varnock::cli {

struct SettingsOptions {
  std::string iniPath;  // empty: the user's settings file
  std::vector<std::pair<std::string, std::string>> overrides;
};

// Takes every --ini FILE and --set KEY=VALUE out of `args`, leaving the
// command's own arguments. 0, or 2 after a usage message (a missing value,
// a --set without "=", a key the "Settings" section does not have).
int TakeSettingsOptions(const std::string& command, Args& args, SettingsOptions& out);

// Reads the settings for the run. 0, or 2 after a message when a file named
// by --ini cannot be read.
int LoadRunSettings(const SettingsOptions& options, UserPrompt& prompt, Settings& out);

// Both of the above, for a command's arguments.
int SettingsForRun(const std::string& command, Args& args, UserPrompt& prompt, Settings& out);

// The settings of this run, as main() read them before the command.
Settings& RunSettings();

}  // namespace varnock::cli
