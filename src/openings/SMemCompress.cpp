#include "openings/SMemCompress.h"

#include <algorithm>
#include <new>

namespace varnock {

namespace {

constexpr std::size_t kFirstBlock = 65536;

}  // namespace

int SMemCompress::AllocateTables(bool forCompression) {
  try {
    if (forCompression) codeTable_.assign(kTableSize, -1);
    prefixCode_.assign(kTableSize, 0);
    appendedChar_.assign(kTableSize, 0);
    if (!forCompression) decodeStack_.assign(kDecodeStackSize, 0);
  } catch (const std::bad_alloc&) {
    return kCodecTablesAlloc;
  }
  return kCodecOk;
}

std::uint32_t SMemCompress::ReadCode(std::span<const std::uint8_t> stream) {
  // Bytes past the end read as zero: the buffer is filled up to three bytes
  // ahead of the code being taken.
  while (inputBitCount_ <= 24) {
    const std::uint32_t byte = inputPosition_ < stream.size() ? stream[inputPosition_] : 0;
    ++inputPosition_;
    inputBitBuffer_ |= byte << (24 - inputBitCount_);
    inputBitCount_ += 8;
  }
  const std::uint32_t code = inputBitBuffer_ >> 20;
  inputBitBuffer_ <<= 12;
  inputBitCount_ -= 12;
  return code;
}

int SMemCompress::Expand(std::span<const std::uint8_t> stream, std::string& text) {
  text.clear();
  if (int error = AllocateTables(false)) return error;
  inputBitCount_ = 0;
  inputBitBuffer_ = 0;
  inputPosition_ = 0;

  std::string out;
  std::size_t used = 0;
  if (outputLimit_ == 0) return kCodecExpandAlloc;
  try {
    out.resize(std::min(kFirstBlock, outputLimit_));
  } catch (const std::bad_alloc&) {
    return kCodecExpandAlloc;
  }
  const auto append = [&](std::uint8_t byte) -> int {
    if (used == out.size()) {
      if (out.size() >= outputLimit_) return kCodecExpandGrow;
      try {
        out.resize(std::min(out.size() * 2, outputLimit_));
      } catch (const std::bad_alloc&) {
        return kCodecExpandGrow;
      }
    }
    out[used++] = static_cast<char>(byte);
    return kCodecOk;
  };

  // Every code must lie wholly inside the stream: one that would not means
  // the end code is missing.
  const std::size_t streamBits = stream.size() * 8;
  std::size_t codesRead = 0;
  const auto nextCode = [&](std::uint32_t& code) {
    if ((codesRead + 1) * 12 > streamBits) return false;
    ++codesRead;
    code = ReadCode(stream);
    return true;
  };

  std::uint32_t first = 0;
  if (!nextCode(first) || (first > 255 && first != kEndCode)) return kCodecExpansionFault;
  if (first != kEndCode) {
    std::uint32_t previous = first;
    std::uint8_t character = static_cast<std::uint8_t>(first);
    std::uint32_t nextToAssign = kFirstCode;
    if (int error = append(character)) return error;
    for (;;) {
      std::uint32_t code = 0;
      if (!nextCode(code)) return kCodecExpansionFault;
      if (code == kEndCode) break;
      std::size_t depth = 0;
      std::uint32_t at = code;
      if (code >= nextToAssign) {
        // Only the code being defined may be named before its definition:
        // the previous string followed by its own first character.
        if (code > nextToAssign) return kCodecExpansionFault;
        decodeStack_[depth++] = character;
        at = previous;
      }
      for (std::size_t steps = 0; at > 255; ++steps) {
        if (steps >= static_cast<std::size_t>(kLastCode) || depth >= kDecodeStackSize - 1) return kCodecExpansionFault;
        decodeStack_[depth++] = appendedChar_[at];
        at = static_cast<std::uint32_t>(prefixCode_[at]);
      }
      character = static_cast<std::uint8_t>(at);
      decodeStack_[depth++] = character;
      while (depth > 0)
        if (int error = append(decodeStack_[--depth])) return error;
      if (nextToAssign <= static_cast<std::uint32_t>(kLastCode)) {
        prefixCode_[nextToAssign] = static_cast<std::int32_t>(previous);
        appendedChar_[nextToAssign] = character;
        ++nextToAssign;
      }
      previous = code;
    }
  }
  out.resize(used);
  text = std::move(out);
  return kCodecOk;
}

void SMemCompress::EmitCode(std::uint32_t code, std::vector<std::uint8_t>& stream) {
  outputBitBuffer_ |= code << (20 - outputBitCount_);
  outputBitCount_ += 12;
  while (outputBitCount_ >= 8) {
    stream.push_back(static_cast<std::uint8_t>(outputBitBuffer_ >> 24));
    outputBitBuffer_ <<= 8;
    outputBitCount_ -= 8;
  }
}

int SMemCompress::Compress(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& stream) {
  stream.clear();
  const int result = CompressInto(bytes, stream);
  if (result != kCodecOk) stream.clear();
  return result;
}

int SMemCompress::CompressInto(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& stream) {
  if (int error = AllocateTables(true)) return error;
  outputBitCount_ = 0;
  outputBitBuffer_ = 0;
  if (outputLimit_ == 0) return kCodecOutputCodeAlloc;
  try {
    stream.reserve(std::min({kFirstBlock, outputLimit_, bytes.size() + 8}));
  } catch (const std::bad_alloc&) {
    return kCodecOutputCodeAlloc;
  }

  // Each code adds at most two bytes; the limit is checked before a code is
  // emitted so that no byte past it is ever written.
  const auto emit = [&](std::uint32_t code) -> int {
    if (stream.size() + 2 > outputLimit_) return kCodecCompressGrow;
    try {
      EmitCode(code, stream);
    } catch (const std::bad_alloc&) {
      return kCodecCompressGrow;
    }
    return kCodecOk;
  };

  if (!bytes.empty()) {
    std::int32_t current = bytes[0];
    std::int32_t nextCode = kFirstCode;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
      const std::int32_t c = bytes[i];
      std::int32_t slot = (c << 4) ^ current;
      const std::int32_t step = slot == 0 ? 1 : kTableSize - slot;
      while (codeTable_[static_cast<std::size_t>(slot)] != -1 &&
             (prefixCode_[static_cast<std::size_t>(slot)] != current ||
              appendedChar_[static_cast<std::size_t>(slot)] != c)) {
        slot -= step;
        if (slot < 0) slot += kTableSize;
      }
      const auto index = static_cast<std::size_t>(slot);
      if (codeTable_[index] != -1) {
        current = codeTable_[index];
        continue;
      }
      if (nextCode <= kLastCode) {
        codeTable_[index] = nextCode++;
        prefixCode_[index] = current;
        appendedChar_[index] = static_cast<std::uint8_t>(c);
      }
      if (int error = emit(static_cast<std::uint32_t>(current))) return error;
      current = c;
    }
    if (int error = emit(static_cast<std::uint32_t>(current))) return error;
  }
  if (int error = emit(kEndCode)) return error;
  // A zero code only pushes the end code's last bits out; what is left of it
  // is dropped.
  if (int error = emit(0)) return error;
  return kCodecOk;
}

}  // namespace varnock
