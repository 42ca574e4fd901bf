// The settings file as the program uses it: read once at start-up, written
// back section by section when the program closes.
#pragma once

#include <string>

#include "settings/SettingsIo.h"

namespace varnock {

enum SettingsSections : unsigned {
  kSectionSettings = 1,
  kSectionApplication = 2,
  kSectionFileList = 4,
  kAllSections = kSectionSettings | kSectionApplication | kSectionFileList,
};

enum class FirstRun {
  kWriteColours,  // a first run writes the colour scheme to the file before reading it
  kReadOnly,      // the file is never written; a first run takes the scheme in memory
};

// Reads every section of the file at `path`. A missing file is no error:
// every key takes its default. An empty path reads no file at all.
Settings LoadSettings(const std::string& path, UserPrompt& prompt, FirstRun firstRun = FirstRun::kWriteColours,
                      const FontCheck& canMake = PlausibleFont);

// The file's contents with the first-run colours in place (written to the
// file when asked), ready to be read; for callers that change keys first.
IniFile OpenSettingsFile(const std::string& path, FirstRun firstRun);

// Writes the chosen sections. The file is read again first, so that keys and
// sections written meanwhile by others are kept. False when the file cannot
// be written.
bool SaveSettings(const std::string& path, const Settings& settings, UserPrompt& prompt,
                  unsigned sections = kAllSections);

}  // namespace varnock
