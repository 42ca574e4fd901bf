// A 24-bit raster as the GIF writer reads it: 3 bytes per pixel in the order
// blue, green, red, rows top first, each row `stride` bytes (a multiple of 4
// for a device-independent bitmap).
#pragma once

#include <cstddef>
#include <cstdint>

namespace varnock {

struct GifRaster {
  const std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;

  // Bytes per row of a raster of `width` pixels, padded to 4 bytes.
  static constexpr std::size_t PaddedStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }
};

}  // namespace varnock
