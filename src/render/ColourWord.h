// Colours as the settings store them: a 24-bit word with red in bits 0-7,
// green in bits 8-15 and blue in bits 16-23 ("800000" is dark blue).
#pragma once

#include <cstdint>

namespace varnock {

using ColourWord = std::uint32_t;

constexpr int RedOf(ColourWord colour) { return static_cast<int>(colour & 0xFF); }
constexpr int GreenOf(ColourWord colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int BlueOf(ColourWord colour) { return static_cast<int>((colour >> 16) & 0xFF); }
constexpr ColourWord MakeColour(int red, int green, int blue) {
  return static_cast<ColourWord>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline constexpr ColourWord kWhiteColour = 0xFFFFFF;
inline constexpr ColourWord kBlackColour = 0x000000;

// The board's colours; the defaults are the colour scheme written on a first
// run.
struct BoardColours {
  ColourWord grid = 0xDFDFDF;    // "Grid Colour": paper
  ColourWord border = 0x800000;  // "Border Colour": ink
  ColourWord arrow1 = 0xFFFFFF;  // "Arrow Colour": the previous move
  ColourWord arrow2 = 0x800000;  // "Arrow2 Colour": the next move
  ColourWord arrow3 = 0xC7726B;  // "Arrow3 Colour": variations
};

}  // namespace varnock
