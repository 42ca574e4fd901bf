// The GIF flavour of LZW: variable-length codes of 9 to 12 bits for 8-bit
// pixel indices, written least significant bit first into data sub-blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnock {

// Sub-blocks hold at most this many bytes.
inline constexpr std::size_t kGifSubBlockBytes = 254;

// Appends the compressed indices as data sub-blocks, each preceded by its
// length, then the 0x00 block terminator. The minimum code size is 8.
void AppendLzwSubBlocks(std::string& out, const std::vector<std::uint8_t>& indices);

}  // namespace varnock
