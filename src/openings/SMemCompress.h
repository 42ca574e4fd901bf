// The LZW codec of the built-in data: 12-bit codes packed most significant
// bit first, codes 0-255 literal bytes, 256-4094 dictionary strings assigned
// as the stream goes (the dictionary freezes once 4094 is assigned), 4095 the
// end of data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "openings/CodecErrors.h"

namespace varnock {

class SMemCompress {
 public:
  static constexpr int kTableSize = 5021;  // a prime: the compressor's hash table
  static constexpr int kFirstCode = 256;
  static constexpr int kLastCode = 4094;
  static constexpr int kEndCode = 4095;
  static constexpr std::size_t kDecodeStackSize = 65535;

  // Expands a code stream. On success `text` holds the bytes (std::string
  // keeps a NUL after them) and the result is kCodecOk; otherwise the result
  // is a codec error code and `text` is empty. A stream that ends before its
  // end code, or names a code that is neither defined nor the next to be
  // defined, is a broken stream (kCodecExpansionFault).
  int Expand(std::span<const std::uint8_t> stream, std::string& text);

  // Compresses bytes into a code stream that Expand turns back into them. An
  // empty input gives a stream of only the end code.
  int Compress(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& stream);

  // The most bytes either operation may produce; going past it fails as an
  // allocation would. Guards against a stream that expands without bound.
  void SetOutputLimit(std::size_t bytes) { outputLimit_ = bytes; }

 private:
  int AllocateTables(bool forCompression);
  int CompressInto(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& stream);
  std::uint32_t ReadCode(std::span<const std::uint8_t> stream);
  void EmitCode(std::uint32_t code, std::vector<std::uint8_t>& stream);

  std::vector<std::int32_t> codeTable_;
  std::vector<std::int32_t> prefixCode_;
  std::vector<std::uint8_t> appendedChar_;
  std::vector<std::uint8_t> decodeStack_;
  std::uint32_t outputBitCount_ = 0;
  std::uint32_t outputBitBuffer_ = 0;
  std::uint32_t inputBitCount_ = 0;
  std::uint32_t inputBitBuffer_ = 0;
  std::size_t inputPosition_ = 0;
  std::size_t outputLimit_ = std::numeric_limits<std::size_t>::max();
};

}  // namespace varnock
