#include <gtest/gtest.h>

#include "formats/FileText.h"

namespace varnock {
namespace {

TEST(FileText, CleaningAndTypeDetection) {
  std::string bom16 = "\xFF\xFE\xFF\xFE";
  CleanFileText(bom16);
  EXPECT_EQ(bom16, "");
  EXPECT_EQ(DetectFileType(bom16), kFileNone);

  std::string wide = std::string("[\0E\0v\0", 6) + "\xFE";
  CleanFileText(wide);
  EXPECT_EQ(wide, "[Ev");

  // Each of the three bytes alone, late in a long text, and the bytes that
  // merely resemble them kept.
  for (char bad : {'\0', '\xFE', '\xFF'}) {
    std::string text = std::string(5000, 'a') + bad + "b\xFD\x01" + bad;
    CleanFileText(text);
    EXPECT_EQ(text, std::string(5000, 'a') + "b\xFD\x01");
  }
  std::string clean = "[Event \"\xC3\xA9\"]";
  CleanFileText(clean);
  EXPECT_EQ(clean, "[Event \"\xC3\xA9\"]");

  EXPECT_EQ(DetectFileType("(\r\nGM[Chess]\r\n"), kFileEch);
  EXPECT_EQ(DetectFileType("(GM [ chess ]"), kFileEch);
  EXPECT_EQ(DetectFileType("(GM[[3]"), kFileEch);
  EXPECT_EQ(DetectFileType("[Event \"GM[Chess] lookalike\"]"), kFileEch);  // as the rule says
  EXPECT_EQ(DetectFileType("[Event \"x\"]\n1. e4 *"), kFilePgn);
  EXPECT_EQ(DetectFileType("(GM[Checkers]"), kFilePgn);
  // Only the first 100 characters are looked at, inside the value too.
  EXPECT_EQ(DetectFileType(std::string(95, ' ') + "GM[Chess]"), kFilePgn);
  EXPECT_EQ(DetectFileType(std::string(89, ' ') + "GM[Chess]"), kFileEch);
}

}  // namespace
}  // namespace varnock
