#include "openings/Lookup3.h"

namespace varnock {

namespace {

constexpr std::uint32_t Rot(std::uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }

void Mix(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c) {
  a -= c;
  a ^= Rot(c, 4);
  c += b;
  b -= a;
  b ^= Rot(a, 6);
  a += c;
  c -= b;
  c ^= Rot(b, 8);
  b += a;
  a -= c;
  a ^= Rot(c, 16);
  c += b;
  b -= a;
  b ^= Rot(a, 19);
  a += c;
  c -= b;
  c ^= Rot(b, 4);
  b += a;
}

void Final(std::uint32_t& a, std::uint32_t& b, std::uint32_t& c) {
  c ^= b;
  c -= Rot(b, 14);
  a ^= c;
  a -= Rot(c, 11);
  b ^= a;
  b -= Rot(a, 25);
  c ^= b;
  c -= Rot(b, 16);
  a ^= c;
  a -= Rot(c, 4);
  b ^= a;
  b -= Rot(a, 14);
  c ^= b;
  c -= Rot(b, 24);
}

// Up to four bytes as a little-endian word; missing bytes are zero.
std::uint32_t Word(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < count && i < 4; ++i) word |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return word;
}

}  // namespace

std::uint32_t HashLittle(const void* key, std::size_t length, std::uint32_t initval) {
  const auto* k = static_cast<const std::uint8_t*>(key);
  std::uint32_t a, b, c;
  a = b = c = 0xdeadbeefu + static_cast<std::uint32_t>(length) + initval;

  while (length > 12) {
    a += Word(k, 4);
    b += Word(k + 4, 4);
    c += Word(k + 8, 4);
    Mix(a, b, c);
    length -= 12;
    k += 12;
  }
  if (length == 0) return c;  // only for an empty key: the last block is never empty otherwise

  // The last 1 to 12 bytes, short words padded with zeros.
  a += Word(k, length);
  if (length > 4) b += Word(k + 4, length - 4);
  if (length > 8) c += Word(k + 8, length - 8);
  Final(a, b, c);
  return c;
}

}  // namespace varnock
