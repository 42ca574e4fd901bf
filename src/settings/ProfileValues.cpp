#include "settings/ProfileValues.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <optional>

namespace varnock {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::optional<SettingColour> HexColour(std::string_view digits) {
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  SettingColour colour = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), colour, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return colour;
}

}  // namespace

int ParseInteger(std::string_view text, int fallback) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() < '0' || text.front() > '9') return fallback;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return fallback;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string IntegerText(int value) { return std::to_string(value); }

SettingColour ParseColour(std::string_view text, SettingColour fallback) {
  return HexColour(Trimmed(text)).value_or(fallback);
}

std::string ColourText(SettingColour colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
  return text;
}

UserColours ParseUserColours(std::string_view text) {
  UserColours colours = WhiteUserColours();
  for (std::size_t i = 0; i < colours.size() && (i + 1) * 6 <= text.size(); ++i)
    colours[i] = HexColour(text.substr(i * 6, 6)).value_or(0xFFFFFF);
  return colours;
}

std::string UserColoursText(const UserColours& colours) {
  std::string text;
  for (SettingColour colour : colours) text += ColourText(colour);
  return text;
}

}  // namespace varnock
