// The compressed container of the explorer's data: a 4-byte little-endian
// length of the uncompressed data, then a zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnock {

// zlib's compress bound of a length, as the reader allocates it.
std::uint64_t CompressBound(std::uint64_t length);

enum class InflateResult {
  kOk,
  kDamaged,      // too short, a length the stream cannot hold, or a stream that does not inflate whole
  kOutOfMemory,  // the buffer for the stated length could not be had
};

// Inflates a container into `data`, which then holds exactly the inflated
// bytes. `wanted` is the size of the buffer the stated length asks for (the
// compress bound of the length plus 2), for the out-of-memory report.
InflateResult InflateContainer(std::span<const std::uint8_t> container, std::vector<std::uint8_t>& data,
                               std::uint64_t& wanted);

// Compresses data into a container; empty when zlib fails or the data are
// longer than the length field can say.
std::vector<std::uint8_t> DeflateContainer(std::span<const std::uint8_t> data, int level = 6);

}  // namespace varnock
