// The colour table of a GIF: the raster's colours, most used first, with the
// nearest of the first 254 standing in for every colour after them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "render/GifRaster.h"

namespace varnock {

struct GifColourEntry {
  std::uint32_t colour = 0;      // blue in bits 0-7, green 8-15, red 16-23
  std::uint32_t count = 0;       // pixels of this colour
  std::uint32_t substitute = 0;  // the index used for the colour (its own position below 254)
  std::uint8_t blue = 0, green = 0, red = 0;
};

// The table's first allocation: 256 entries of 15 bytes.
inline constexpr std::size_t kGifFirstTableBytes = 256 * 15;

// At most this many indices occur in an image.
inline constexpr int kGifUsableColours = 254;

class GifColourTable {
 public:
  // Counts the raster's colours, sorts them by count (stable: equal counts
  // keep the order met, rows top first, each left to right) and picks the
  // substitutes. Returns the number of distinct colours, or -1 when memory
  // ran out (`failedAmount` then holds the size asked for).
  int GetNumberOfColours(const GifRaster& raster);

  const std::vector<GifColourEntry>& Entries() const { return entries_; }
  int ColourCount() const { return static_cast<int>(entries_.size()); }
  // 2 for up to 4 colours, 3 up to 8, ... 8 above 128.
  int TableBits() const;
  // The index a pixel of this colour is written with.
  std::uint8_t IndexOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const;
  // The global colour table: 2^TableBits entries of red, green, blue; the
  // colours first (at most 256), then white.
  void AppendGlobalTable(std::string& out) const;

  std::size_t failedAmount = 0;

 private:
  static std::uint32_t Key(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return blue | (std::uint32_t{green} << 8) | (std::uint32_t{red} << 16);
  }
  std::vector<GifColourEntry> entries_;
  std::unordered_map<std::uint32_t, std::uint8_t> indexOf_;
};

}  // namespace varnock
