// The thirteen display colours and the two colour schemes a first run can
// write.
#pragma once

#include <array>
#include <string_view>

#include "settings/ProfileValues.h"

namespace varnock {

struct DisplayColours {
  SettingColour grid = 0;          // "Grid Colour": board grid
  SettingColour border = 0;        // "Border Colour": board border
  SettingColour arrow = 0;         // "Arrow Colour": arrows of the previous moves
  SettingColour arrow2 = 0;        // "Arrow2 Colour": arrows of the next moves
  SettingColour arrow3 = 0;        // "Arrow3 Colour": arrows of the variations
  SettingColour font = 0;          // "Font Colour": foreground text
  SettingColour fontMoves = 0;     // "Font Colour ( Moves )"
  SettingColour fontHighMove = 0;  // "Font Colour ( High Move )": the current move
  SettingColour fontBranch = 0;    // "Font Colour ( Branch )": variation moves
  SettingColour box = 0;           // "Box Colour": side box
  SettingColour box2 = 0;          // "Box Colour2": branch background
  SettingColour box3 = 0;          // "Box Colour3": current-move background
  SettingColour background = 0;    // "Background Colour": window background
  bool operator==(const DisplayColours&) const = default;
};

// One colour key: its name, where it lives in DisplayColours, its value in
// each scheme and its value when the key alone is missing.
struct ColourKey {
  std::string_view name;
  SettingColour DisplayColours::*member;
  SettingColour schemeA;
  SettingColour schemeB;
  SettingColour missing;
};

// The thirteen keys in the order the file keeps them.
const std::array<ColourKey, 13>& ColourKeys();

enum class ColourScheme { A, B };
DisplayColours SchemeColours(ColourScheme scheme);
// The colours when every key is missing.
DisplayColours MissingKeyColours();
// The scheme a first run writes: A on this platform.
constexpr ColourScheme FirstRunColourScheme() { return ColourScheme::A; }

}  // namespace varnock
