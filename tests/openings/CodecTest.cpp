// The LZW codec: exact round trips, the code stream's layout, broken streams
// and every error code.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "EcoTesting.h"
#include "openings/EcoResource.h"
#include "openings/SMemCompress.h"

namespace varnock {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Packs 12-bit codes most significant bit first, as the compressor writes
// them (the bits of a last half byte are padded with zeros).
std::vector<std::uint8_t> Pack(const std::vector<std::uint32_t>& codes) {
  std::vector<std::uint8_t> out;
  std::uint32_t buffer = 0;
  int bits = 0;
  for (std::uint32_t code : codes) {
    buffer = (buffer << 12) | code;
    bits += 12;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(buffer >> (bits - 8)));
      bits -= 8;
    }
  }
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(buffer << (8 - bits)));
  return out;
}

std::vector<std::uint32_t> Unpack(std::span<const std::uint8_t> stream, std::size_t count) {
  std::vector<std::uint32_t> codes;
  for (std::size_t i = 0; i < count && (i * 12 + 12) <= stream.size() * 8; ++i) {
    std::uint32_t code = 0;
    for (std::size_t bit = i * 12; bit < i * 12 + 12; ++bit)
      code = (code << 1) | ((stream[bit / 8] >> (7 - bit % 8)) & 1);
    codes.push_back(code);
  }
  return codes;
}

std::string RoundTrip(const std::string& text) {
  SMemCompress codec;
  std::vector<std::uint8_t> stream;
  EXPECT_EQ(codec.Compress(Bytes(text), stream), kCodecOk);
  std::string back;
  EXPECT_EQ(codec.Expand(stream, back), kCodecOk);
  return back;
}

TEST(Codec, TheOpeningTableRoundTripsAndItsStreamIsTheBuiltInOne) {
  const std::string table = testing::EcoTableFile();
  ASSERT_FALSE(table.empty());
  SMemCompress codec;
  std::vector<std::uint8_t> stream;
  ASSERT_EQ(codec.Compress(Bytes(table), stream), kCodecOk);
  EXPECT_EQ(Unpack(stream, 4), (std::vector<std::uint32_t>{0x041, 0x030, 0x030, 0x009}));  // "A00\t"
  std::string back;
  ASSERT_EQ(codec.Expand(stream, back), kCodecOk);
  EXPECT_TRUE(back == table);
  EXPECT_EQ(back.c_str()[back.size()], '\0');

  const ResourceBytes resource = BuiltInEcoResource();
  EXPECT_TRUE(std::vector<std::uint8_t>(resource.data, resource.data + resource.size) == stream);
  EXPECT_LT(resource.size, table.size() / 2);
}

TEST(Codec, RandomDataRoundTripsExactly) {
  std::mt19937 random(20261208);
  // Sizes around the stream's edges, alphabets from one letter (long runs,
  // the code-being-defined case over and over) to every byte (the dictionary
  // fills and freezes early).
  for (int alphabet : {1, 2, 4, 26, 256}) {
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{5000}, std::size_t{200000}}) {
      std::string text(size, '\0');
      std::uniform_int_distribution<int> letter(0, alphabet - 1);
      for (char& c : text) c = static_cast<char>(alphabet == 1 ? 'a' : letter(random));
      EXPECT_TRUE(RoundTrip(text) == text) << "alphabet " << alphabet << ", size " << size;
    }
  }
}

TEST(Codec, HandMadeStreams) {
  SMemCompress codec;
  std::string text;
  // One byte: a literal, then the end code.
  ASSERT_EQ(codec.Expand(Pack({'Q', 4095}), text), kCodecOk);
  EXPECT_EQ(text, "Q");
  // Code 256 named while being defined: the previous string and its first
  // character.
  ASSERT_EQ(codec.Expand(Pack({'a', 'b', 256, 258, 4095}), text), kCodecOk);
  EXPECT_EQ(text,
            "ab"
            "ab"
            "aba");
  // Only the end code: no bytes. The compressor writes that for no input.
  ASSERT_EQ(codec.Expand(Pack({4095}), text), kCodecOk);
  EXPECT_EQ(text, "");
  std::vector<std::uint8_t> stream;
  ASSERT_EQ(codec.Compress({}, stream), kCodecOk);
  EXPECT_EQ(Unpack(stream, 1), std::vector<std::uint32_t>{4095});
}

TEST(Codec, BrokenStreamsFailInsteadOfRunningOn) {
  SMemCompress codec;
  std::string text = "left over";
  // Without an end code the reader would read zeros past the end for ever.
  EXPECT_EQ(codec.Expand(Pack({'a', 'b', 'c'}), text), kCodecExpansionFault);
  EXPECT_EQ(text, "");
  EXPECT_EQ(codec.Expand({}, text), kCodecExpansionFault);
  // A code beyond the one being defined, and a first code that is no byte.
  EXPECT_EQ(codec.Expand(Pack({'a', 'b', 300, 4095}), text), kCodecExpansionFault);
  EXPECT_EQ(codec.Expand(Pack({256, 4095}), text), kCodecExpansionFault);
  // The built-in stream cut anywhere fails; random bytes never read or write
  // out of bounds (the sanitizer build checks that) and stay within the limit.
  const ResourceBytes resource = BuiltInEcoResource();
  for (std::size_t cut : {std::size_t{1}, std::size_t{2}, resource.size / 2, resource.size - 2})
    EXPECT_EQ(codec.Expand({resource.data, cut}, text), kCodecExpansionFault) << cut;
  std::mt19937 random(7);
  codec.SetOutputLimit(1 << 20);
  for (int run = 0; run < 300; ++run) {
    std::vector<std::uint8_t> junk(static_cast<std::size_t>(random() % 3000));
    for (auto& byte : junk) byte = static_cast<std::uint8_t>(random());
    const int result = codec.Expand(junk, text);
    EXPECT_TRUE(result == kCodecOk || result == kCodecExpansionFault || result == kCodecExpandGrow) << result;
  }
}

TEST(Codec, AllocationFailuresGiveTheirCodes) {
  const std::string text(100000, 'x');
  std::vector<std::uint8_t> stream;
  std::string back;
  SMemCompress codec;
  ASSERT_EQ(codec.Compress(Bytes(text), stream), kCodecOk);

  std::vector<std::uint8_t> failed = {1, 2, 3};
  codec.SetOutputLimit(0);
  EXPECT_EQ(codec.Expand(stream, back), kCodecExpandAlloc);
  EXPECT_EQ(codec.Compress(Bytes(text), failed), kCodecOutputCodeAlloc);
  codec.SetOutputLimit(70000);
  EXPECT_EQ(codec.Expand(stream, back), kCodecExpandGrow);
  EXPECT_TRUE(back.empty());
  codec.SetOutputLimit(10);
  failed = {1, 2, 3};
  EXPECT_EQ(codec.Compress(Bytes(text), failed), kCodecCompressGrow);
  EXPECT_TRUE(failed.empty());
}

TEST(Codec, ErrorMessages) {
  EXPECT_EQ(CodecErrorText(0x4010), "Fatal error during code expansion");
  EXPECT_EQ(CodecErrorText(0x4020), "malloc() failure.  Unable to perform operation on memory compression object");
  EXPECT_EQ(CodecErrorText(0x4030), "realloc() failure.  Unable to perform operation on memory compression object");
  EXPECT_EQ(CodecErrorText(0x4040), "malloc() failure.  Unable to perform operation on memory expansion");
  EXPECT_EQ(CodecErrorText(0x4050), "realloc() failure.  Unable to perform operation on memory expansion");
  EXPECT_EQ(CodecErrorText(0x4060), "malloc() failure.  Unable to perform operation on memory output code");
  EXPECT_EQ(CodecErrorText(0x4070), "realloc() failure.  Unable to perform operation on memory output code");
  EXPECT_EQ(CodecErrorText(0x4080), "\"-16512\" is an undefined error");
}

}  // namespace
}  // namespace varnock
