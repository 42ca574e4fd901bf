#include "settings/SettingsFile.h"

namespace varnock {

IniFile OpenSettingsFile(const std::string& path, FirstRun firstRun) {
  IniFile ini;
  if (path.empty()) {
    PutFirstRunColours(ini, FirstRunColourScheme());
    return ini;
  }
  const bool readable = ini.Load(path);
  if (PutFirstRunColours(ini, FirstRunColourScheme()) && firstRun == FirstRun::kWriteColours && readable) {
    // Only the colours go to the file now: the rest is written at exit.
    ini.Save(path);
  }
  return ini;
}

Settings LoadSettings(const std::string& path, UserPrompt& prompt, FirstRun firstRun, const FontCheck& canMake) {
  return ReadSettings(OpenSettingsFile(path, firstRun), prompt, canMake);
}

bool SaveSettings(const std::string& path, const Settings& settings, UserPrompt& prompt, unsigned sections) {
  if (path.empty()) return false;
  IniFile ini;
  // A file that exists but cannot be read is not overwritten with only our keys.
  if (!ini.Load(path)) return false;
  if (sections & kSectionApplication) WriteApplicationSection(ini, settings.application, prompt);
  if (sections & kSectionFileList) settings.recentFiles.Write(ini);
  if (sections & kSectionSettings) WriteToINI(ini, settings.settings, prompt);
  return ini.Save(path);
}

}  // namespace varnock
