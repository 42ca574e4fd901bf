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

RtfOptions RtfOptionsOf(const SettingsSection& settings) {
  const PrintOptions& print = settings.printOptions.value;
  RtfOptions rtf;
  rtf.indentMainLine = print.indentMainLine;
  rtf.boldMainLine = print.boldMainLine;
  rtf.courierMainLine = print.courierMainLine;
  rtf.shortMainLine = print.shortMainLine;
  rtf.indentComments = print.indentComments;
  rtf.allLines = print.allLines;
  rtf.justify = print.justify;
  rtf.shortVariations = print.shortVariations;
  rtf.endDiagramMainLine = print.endDiagramMainLine;
  rtf.endDiagramAllLines = print.endDiagramAllLines;
  rtf.diagramEveryComment = print.diagramEveryComment;
  rtf.diagramEveryBookmark = print.diagramEveryBookmark;
  rtf.gameInformation = print.gameInformation;
  rtf.infoDate = print.infoDate;
  rtf.infoEvent = print.infoEvent;
  rtf.infoPlayers = print.infoPlayers;
  rtf.infoOpening = print.infoOpening;
  rtf.infoFileName = print.infoFileName;
  rtf.infoDescription = print.infoDescription;
  rtf.twoColumns = print.twoColumns;
  rtf.pageNumbers = print.pageNumbers;
  rtf.textSize = print.textSize;
  rtf.boardSquareSize = print.boardSquareSize;
  rtf.printHeader = print.printHeader;
  rtf.headerText = settings.printHeaderText;
  rtf.printFooter = print.printFooter;
  rtf.footerText = settings.printFooterText;
  rtf.temporaryFile = print.temporaryFile;
  rtf.variationColour = print.variationColour;
  return rtf;
}

PgnExportOptions PgnExportOptionsOf(const SettingsSection& settings) {
  const PgnExportFields& fields = settings.pgnExport.value;
  PgnExportOptions options;
  options.includeVariations = fields.includeVariations;
  options.oneLine = fields.oneLine;
  options.symbols = fields.symbols;
  options.preview = fields.preview;
  options.format = fields.format;
  options.extensions = fields.extensions;
  return options;
}

}  // namespace varnock::cli
