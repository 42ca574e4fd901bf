#include "settings/ColourSchemes.h"

namespace varnock {

const std::array<ColourKey, 13>& ColourKeys() {
  using C = DisplayColours;
  static const std::array<ColourKey, 13> keys = {{
      {"Grid Colour", &C::grid, 0xDFDFDF, 0xC0C0C0, 0xDFDFDF},
      {"Border Colour", &C::border, 0x800000, 0x400000, 0x800000},
      {"Arrow Colour", &C::arrow, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
      {"Arrow2 Colour", &C::arrow2, 0x800000, 0x400000, 0xFFFFFF},
      {"Arrow3 Colour", &C::arrow3, 0xC7726B, 0x783029, 0xFFFFFF},
      {"Font Colour", &C::font, 0x800000, 0x80FFFF, 0xFF0000},
      {"Font Colour ( Moves )", &C::fontMoves, 0x800000, 0x400000, 0x800000},
      {"Font Colour ( High Move )", &C::fontHighMove, 0x800000, 0x400000, 0xFF0000},
      {"Font Colour ( Branch )", &C::fontBranch, 0xFFFFFF, 0x80FFFF, 0xFF8080},
      {"Box Colour", &C::box, 0xDFDFDF, 0xC0C0C0, 0xDFDFDF},
      {"Box Colour2", &C::box2, 0x800000, 0x400000, 0xDFDFDF},
      {"Box Colour3", &C::box3, 0xFFFFFF, 0xFFFFFF, 0x000000},
      {"Background Colour", &C::background, 0xB1D6BC, 0xB1E0D7, 0xB3D7DF},
  }};
  return keys;
}

DisplayColours SchemeColours(ColourScheme scheme) {
  DisplayColours colours;
  for (const ColourKey& key : ColourKeys()) colours.*key.member = scheme == ColourScheme::A ? key.schemeA : key.schemeB;
  return colours;
}

DisplayColours MissingKeyColours() {
  DisplayColours colours;
  for (const ColourKey& key : ColourKeys()) colours.*key.member = key.missing;
  return colours;
}

}  // namespace varnock
