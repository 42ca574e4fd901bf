#include "render/GifLzw.h"

#include <array>

namespace varnock {

namespace {

constexpr int kInitialBits = 9;
constexpr int kMaxBits = 12;
constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
constexpr int kFirstFreeCode = 258;
constexpr int kCodeLimit = 1 << kMaxBits;  // 4096
constexpr int kHashSize = 5003;
constexpr int kHashShift = 4;

// Gathers bytes into sub-blocks.
class SubBlockWriter {
 public:
  explicit SubBlockWriter(std::string& out) : out_(out) {}
  void Byte(std::uint8_t value) {
    block_[length_++] = value;
    if (length_ == kGifSubBlockBytes) Flush();
  }
  void Flush() {
    if (length_ == 0) return;
    out_ += static_cast<char>(length_);
    out_.append(reinterpret_cast<const char*>(block_.data()), length_);
    length_ = 0;
  }

 private:
  std::string& out_;
  std::array<std::uint8_t, kGifSubBlockBytes> block_{};
  std::size_t length_ = 0;
};

// Writes codes least significant bit first; grows the code size when the
// next free code passes the largest code of the current size, and goes back
// to 9 bits after a clear code.
class CodeWriter {
 public:
  explicit CodeWriter(SubBlockWriter& blocks) : blocks_(blocks) {}

  void Write(int code, int nextFree, bool cleared) {
    accumulator_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += codeBits_;
    while (bits_ >= 8) {
      blocks_.Byte(static_cast<std::uint8_t>(accumulator_ & 0xFF));
      accumulator_ >>= 8;
      bits_ -= 8;
    }
    if (cleared) {
      codeBits_ = kInitialBits;
    } else if (nextFree > (1 << codeBits_) - 1 && codeBits_ < kMaxBits) {
      ++codeBits_;
    }
  }
  void Finish() {
    if (bits_ > 0) blocks_.Byte(static_cast<std::uint8_t>(accumulator_ & 0xFF));
    accumulator_ = 0;
    bits_ = 0;
    blocks_.Flush();
  }

 private:
  SubBlockWriter& blocks_;
  std::uint32_t accumulator_ = 0;
  int bits_ = 0;
  int codeBits_ = kInitialBits;
};

// The string table: (index << 12) + string code in 5003 slots, double
// hashing from (index << 4) ^ string code.
class StringTable {
 public:
  StringTable() { Clear(); }
  void Clear() { keys_.fill(-1); }
  // The slot of the key: where it is, or the empty slot where it belongs.
  int Probe(std::int32_t key, int index, int code, bool& found) const {
    int slot = (index << kHashShift) ^ code;
    const int step = slot == 0 ? 1 : kHashSize - slot;
    while (keys_[static_cast<std::size_t>(slot)] >= 0) {
      if (keys_[static_cast<std::size_t>(slot)] == key) {
        found = true;
        return slot;
      }
      slot -= step;
      if (slot < 0) slot += kHashSize;
    }
    found = false;
    return slot;
  }
  void Store(int slot, std::int32_t key, int code) {
    keys_[static_cast<std::size_t>(slot)] = key;
    codes_[static_cast<std::size_t>(slot)] = code;
  }
  int CodeAt(int slot) const { return codes_[static_cast<std::size_t>(slot)]; }

 private:
  std::array<std::int32_t, kHashSize> keys_{};
  std::array<int, kHashSize> codes_{};
};

}  // namespace

void AppendLzwSubBlocks(std::string& out, const std::vector<std::uint8_t>& indices) {
  SubBlockWriter blocks(out);
  CodeWriter codes(blocks);
  StringTable table;
  int nextFree = kFirstFreeCode;
  codes.Write(kClearCode, nextFree, true);
  if (!indices.empty()) {
    int current = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
      const int index = indices[i];
      const std::int32_t key = (index << kMaxBits) + current;
      bool found = false;
      const int slot = table.Probe(key, index, current, found);
      if (found) {
        current = table.CodeAt(slot);
        continue;
      }
      codes.Write(current, nextFree, false);
      current = index;
      if (nextFree < kCodeLimit) {
        table.Store(slot, key, nextFree++);
      } else {
        table.Clear();
        nextFree = kFirstFreeCode;
        codes.Write(kClearCode, nextFree, true);
      }
    }
    codes.Write(current, nextFree, false);
  }
  codes.Write(kEndCode, nextFree, false);
  codes.Finish();
  out += '\0';
}

}  // namespace varnock
