// Value encodings of the settings file: Base64, numbers, colours, records.
#include <gtest/gtest.h>

#include "settings/Base64.h"
#include "settings/ProfileValues.h"
#include "settings/Records.h"

namespace varnock {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(Base64, StandardVectorsBothWays) {
  const std::pair<std::string_view, std::string_view> vectors[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string_view("\xff\xfe\x00", 3), "//4A"},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(EncodeBase64(Bytes(plain)), encoded);
    EXPECT_EQ(DecodeBase64(encoded), Bytes(plain)) << encoded;
  }
}

TEST(Base64, RejectsWhatIsNotBase64) {
  for (std::string_view bad : {"Zg", "Zg=", "Z===", "Zg==Zg==", "Zm9v!A==", "Zm=v", "NULL?", "=AAA"})
    EXPECT_FALSE(DecodeBase64(bad).has_value()) << bad;
}

TEST(ProfileValues, IntegersColoursAndYesNo) {
  EXPECT_EQ(ParseInteger("120", 5), 120);
  EXPECT_EQ(ParseInteger(" -7 ", 5), -7);
  EXPECT_EQ(ParseInteger("+30", 5), 30);
  EXPECT_EQ(ParseInteger("", 5), 5);
  EXPECT_EQ(ParseInteger("12abc", 5), 5);
  EXPECT_EQ(ParseInteger("99999999999999999999", 5), INT_MAX);
  EXPECT_EQ(ParseInteger("-99999999999999999999", 5), INT_MIN);

  EXPECT_TRUE(ParseYesNo("YES"));
  for (std::string_view off : {"yes", "Yes", "NO", "1", "", "YES "}) EXPECT_FALSE(ParseYesNo(off)) << off;

  EXPECT_EQ(ParseColour("800000", 1), 0x800000u);
  EXPECT_EQ(ParseColour("b3d7df", 1), 0xB3D7DFu);
  EXPECT_EQ(ParseColour("1234567", 1), 1u);
  EXPECT_EQ(ParseColour("80 000", 1), 1u);
  EXPECT_EQ(ParseColour("-1", 1), 1u);
  EXPECT_EQ(ColourText(0x8C0000), "8C0000");
  EXPECT_EQ(ColourText(0xB1), "0000B1");
}

TEST(ProfileValues, UserColoursAreSixteenHexTriples) {
  UserColours colours = WhiteUserColours();
  colours[0] = 0x123456;
  colours[15] = 0x00000A;
  const std::string text = UserColoursText(colours);
  EXPECT_EQ(text.size(), 96u);
  EXPECT_EQ(ParseUserColours(text), colours);
  // Short or broken texts leave white where digits are missing.
  const UserColours partial = ParseUserColours("123456zzzzzz0000");
  EXPECT_EQ(partial[0], 0x123456u);
  EXPECT_EQ(partial[1], 0xFFFFFFu);
  EXPECT_EQ(partial[2], 0xFFFFFFu);
}

template <class T>
T RoundTrip(const T& value, std::size_t size) {
  const RecordBytes bytes = ToRecord(value);
  EXPECT_EQ(bytes.size(), size);
  T back{};
  EXPECT_TRUE(FromRecord(bytes, back));
  return back;
}

TEST(Records, EveryRecordRoundTripsAtItsSize) {
  WindowPlacement placement;
  placement.showState = WindowPlacement::kMaximised;
  placement.minimisedPosition = {-1, -32000};
  placement.normalPosition = {10, 20, 1000, 700};
  EXPECT_EQ(RoundTrip(placement, 44), placement);

  EXPECT_EQ(RoundTrip(RecordRect{1, 2, 3, 4}, 16), (RecordRect{1, 2, 3, 4}));

  TextFont font;
  font.face = "DejaVu Sans Mono";
  font.pointSize = 11;
  font.weight = 700;
  font.italic = true;
  EXPECT_EQ(RoundTrip(font, 60), font);

  PrintOptions print;
  print.style = 2;
  print.twoColumns = true;
  print.boldMainLine = false;
  print.temporaryFile = true;
  print.variationColour = 0x123456;
  EXPECT_EQ(RoundTrip(print, 116), print);

  PgnExportFields pgn{1, 0, 1, 0, 3, 1};
  EXPECT_EQ(RoundTrip(pgn, 24), pgn);

  DialogLayout layout;
  for (std::size_t i = 0; i < layout.bytes.size(); ++i) layout.bytes[i] = static_cast<std::uint8_t>(i * 7);
  EXPECT_EQ(RoundTrip(layout, 72), layout);
}

TEST(Records, WrongSizesAndUnendedFaceNamesAreRefused) {
  PrintOptions print;
  const PrintOptions before = print;
  EXPECT_FALSE(FromRecord(RecordBytes(115, 1), print));
  EXPECT_FALSE(FromRecord(RecordBytes(117, 1), print));
  EXPECT_EQ(print, before);

  // A face name of 32 letters has no room for its end.
  RecordBytes font(60, 0);
  std::fill(font.begin() + 12, font.begin() + 44, 'A');
  TextFont stored;
  EXPECT_FALSE(FromRecord(font, stored));
  // A long face name is cut so that it stays ended.
  stored.face = std::string(40, 'B');
  TextFont back;
  ASSERT_TRUE(FromRecord(ToRecord(stored), back));
  EXPECT_EQ(back.face, std::string(31, 'B'));
}

}  // namespace
}  // namespace varnock
