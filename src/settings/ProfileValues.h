// The text encodings of single values in the settings file: yes/no options,
// integers and colours.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

// Colours are 24-bit words with red in the low byte and blue in the high
// byte, written as six upper-case hex digits ("800000" is dark blue).
using SettingColour = std::uint32_t;

// On exactly when the text is "YES", letter case included.
constexpr bool ParseYesNo(std::string_view text) { return text == "YES"; }
constexpr std::string_view YesNoText(bool on) { return on ? "YES" : "NO"; }

// Decimal text with an optional sign, blanks around it allowed; out-of-range
// values saturate. `fallback` when the text holds no number.
int ParseInteger(std::string_view text, int fallback);
std::string IntegerText(int value);

// Up to six hex digits and nothing else; `fallback` otherwise.
SettingColour ParseColour(std::string_view text, SettingColour fallback);
std::string ColourText(SettingColour colour);  // "%06X"

// The sixteen custom colours of the colour picker, stored back to back as
// six hex digits each. A colour whose digits are missing or not hex stays
// white.
using UserColours = std::array<SettingColour, 16>;
UserColours ParseUserColours(std::string_view text);
std::string UserColoursText(const UserColours& colours);
constexpr UserColours WhiteUserColours() {
  UserColours colours{};
  for (SettingColour& colour : colours) colour = 0xFFFFFF;
  return colours;
}

}  // namespace varnock
