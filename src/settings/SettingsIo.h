// Reading the option sections out of an INI file into typed values and
// writing them back.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "core/UserPrompt.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace varnock {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kApplicationSection = "Application";
// The caption of the messages shown while the options are read.
inline constexpr const char* kReadSettingsCaption = "ReadFromINI()";
inline constexpr const char* kWriteSettingsCaption = "WriteToINI()";

// Whether a font can be made. The display passes a check of its own; the
// default takes any face name of printable characters and a size of 1 to
// 1000 points.
using FontCheck = std::function<bool(const TextFont&)>;
bool PlausibleFont(const TextFont& font);

// A first run (no "Grid Colour" in "Settings"): puts the thirteen colours of
// the scheme into the file's contents and returns true; false otherwise.
bool PutFirstRunColours(IniFile& ini, ColourScheme scheme);

// The "Settings" section, key by key in file order. A font record that
// cannot be made into a font is reported ("Font creation failed (1)") and
// the default font taken; a default font that cannot be made is reported as
// "Font creation failed (2)".
void ReadSettingsSection(const IniFile& ini, SettingsSection& out, UserPrompt& prompt,
                         const FontCheck& canMake = PlausibleFont);
// Writes the "Settings" section. A record that cannot be encoded for lack
// of memory is reported ("malloc failed!") and skipped.
void WriteToINI(IniFile& ini, const SettingsSection& in, UserPrompt& prompt);

void ReadApplicationSection(const IniFile& ini, ApplicationSection& out);
void WriteApplicationSection(IniFile& ini, const ApplicationSection& in, UserPrompt& prompt);

// Every section at once.
Settings ReadSettings(const IniFile& ini, UserPrompt& prompt, const FontCheck& canMake = PlausibleFont);

// A proportion as stored: thousandths, truncated toward zero (a ratio read
// from thousandths gives the same number back).
int ProportionThousandths(double ratio);
inline double ProportionRatio(int thousandths) { return thousandths * 0.001; }

// Every "Settings" key name, in file order (for overrides by name).
const std::vector<std::string_view>& SettingsSectionKeys();

}  // namespace varnock
