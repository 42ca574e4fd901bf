#include "cli/CliSettings.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>

#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"

namespace varnock::cli {

namespace {

bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool KnownSettingsKey(std::string_view key) {
  const auto& keys = SettingsSectionKeys();
  return std::any_of(keys.begin(), keys.end(), [key](std::string_view known) { return SameKey(known, key); });
}

}  // namespace

int TakeSettingsOptions(const std::string& command, Args& args, SettingsOptions& out) {
  Args rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg != "--ini" && arg != "--set") {
      rest.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) return UsageError(command + ": " + arg + " needs a value");
    const std::string& value = args[++i];
    if (arg == "--ini") {
      if (value.empty()) return UsageError(command + ": --ini needs a file name");
      out.iniPath = value;
      continue;
    }
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0) return UsageError(command + ": --set takes KEY=VALUE");
    std::string key = value.substr(0, equals);
    if (!KnownSettingsKey(key)) return UsageError(command + ": --set: unknown setting '" + key + "'");
    out.overrides.emplace_back(std::move(key), value.substr(equals + 1));
  }
  args = std::move(rest);
  return 0;
}

int LoadRunSettings(const SettingsOptions& options, UserPrompt& prompt, Settings& out) {
  std::string path = options.iniPath;
  if (!path.empty()) {
    if (::access(path.c_str(), R_OK) != 0) {
      std::cerr << "varnock-cli: cannot read '" << path << "'\n";
      return 2;
    }
  } else {
    path = SettingsFilePath();
  }
  // A batch run leaves the user's settings file as it is, first run or not.
  IniFile ini = OpenSettingsFile(path, FirstRun::kReadOnly);
  for (const auto& [key, value] : options.overrides) ini.SetText(kSettingsSection, key, value);
  out = ReadSettings(ini, prompt);
  return 0;
}

int SettingsForRun(const std::string& command, Args& args, UserPrompt& prompt, Settings& out) {
  SettingsOptions options;
  if (const int status = TakeSettingsOptions(command, args, options)) return status;
  return LoadRunSettings(options, prompt, out);
}

Settings& RunSettings() {
  static Settings settings;
  return settings;
}

}  // namespace varnock::cli
