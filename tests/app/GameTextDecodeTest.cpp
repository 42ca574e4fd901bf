// Names and comments of 8-bit files: UTF-8 when the bytes are valid UTF-8,
// else Latin-1; a typed text stored back in the game's encoding.
#include <gtest/gtest.h>

#include "render/DisplayText.h"

namespace varnock {
namespace {

TEST(GameTextDecode, ValidUtf8IsShownAsUtf8AndAnythingElseAsLatin1) {
  struct Case {
    std::string bytes;
    bool utf8;
    const char* shownUtf8;  // what the screen shows, as UTF-8
  };
  const Case cases[] = {
      {"Nimzowitsch", true, "Nimzowitsch"},
      {"R\xC3\xA9ti", true, "R\xC3\xA9ti"},                             // é in UTF-8
      {"R\xE9ti", false, "R\xC3\xA9ti"},                                // é in Latin-1
      {"\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80"},                   // four bytes
      {"\xC3", false, "\xC3\x83"},                                      // cut short at the end
      {"\xE2\x82", false, "\xC3\xA2\xC2\x82"},                          // cut short
      {"a\x80z", false, "a\xC2\x80z"},                                  // a lone continuation byte
      {"\xC0\xAF", false, "\xC3\x80\xC2\xAF"},                          // over-long "/"
      {"\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xC2\x80"},              // a surrogate
      {"\xF4\x90\x80\x80", false, "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
      {"\xFF", false, "\xC3\xBF"},
      {"", true, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidUtf8(c.bytes), c.utf8) << c.bytes;
    EXPECT_EQ(DisplayText(c.bytes), QString::fromUtf8(c.shownUtf8)) << c.bytes;
  }
}

TEST(GameTextDecode, TypedTextKeepsTheEncodingOfWhatWasThere) {
  const QString reti = QString::fromUtf8("R\xC3\xA9ti");
  EXPECT_EQ(EncodeText(reti, true), "R\xE9ti");
  EXPECT_EQ(EncodeText(reti, false), "R\xC3\xA9ti");
  // A character Latin-1 lacks makes the text UTF-8.
  EXPECT_EQ(EncodeText(QString::fromUtf8("5\xE2\x82\xAC"), true), "5\xE2\x82\xAC");
  for (const std::string bytes : {"R\xE9ti", "R\xC3\xA9ti"}) {
    const bool utf8 = IsValidUtf8(bytes);
    EXPECT_EQ(EncodeText(DecodeText(bytes, utf8), !utf8), bytes);  // round trip, byte for byte
  }
}

}  // namespace
}  // namespace varnock
