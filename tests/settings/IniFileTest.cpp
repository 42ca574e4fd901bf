// The INI layer: profile-string lookups and a write that keeps what it does
// not know.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "settings/IniFile.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

TEST(IniFile, SectionsAndKeysIgnoreLetterCase) {
  IniFile ini;
  ini.Parse("[settings]\r\nNavigationBar=NO\r\nPrintHeaderText = My header \r\n");
  EXPECT_EQ(ini.GetText("Settings", "Navigationbar", "x"), "NO");
  EXPECT_EQ(ini.GetText("SETTINGS", "printheadertext", "x"), "My header");
  EXPECT_EQ(ini.GetText("Settings", "Missing", "fallback"), "fallback");
  EXPECT_FALSE(ini.Has("Application", "NavigationBar"));

  // Writing under another spelling replaces the one key.
  ini.SetText("Settings", "Navigationbar", "YES");
  EXPECT_EQ(ini.Keys("Settings").size(), 2u);
  EXPECT_EQ(ini.GetText("Settings", "NAVIGATIONBAR", ""), "YES");
}

TEST(IniFile, ValuesKeepEqualsSignsAndLoseLineBreaks) {
  IniFile ini;
  ini.SetText("Settings", "LogFont", "AAAA==");
  ini.SetText("Settings", "PrintFooterText", "one\r\ntwo");
  IniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.GetText("Settings", "LogFont", ""), "AAAA==");
  EXPECT_EQ(again.GetText("Settings", "PrintFooterText", ""), "one  two");
  EXPECT_EQ(again.Keys("Settings").size(), 2u);
}

TEST(IniFile, WritingKeepsOtherProgramsEntriesAndComments) {
  TempFolder folder;
  const std::string path = folder / "varnock.ini";
  WriteFile(path,
            "; kept by hand\n[Other Program]\nWindow=1,2,3\nflag\n"
            "[Settings]\nMy Own Key=hello\nShowBevel=NO\n[FileList]\nFile1=/games/a.pgn\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  ini.SetText("Settings", "ShowBevel", "YES");
  ini.SetText("Application", "Toolbar", "NO");
  ASSERT_TRUE(ini.Save(path));

  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("; kept by hand"), std::string::npos);
  EXPECT_NE(text.find("Window=1,2,3"), std::string::npos);
  EXPECT_NE(text.find("My Own Key=hello"), std::string::npos);
  EXPECT_NE(text.find("ShowBevel=YES"), std::string::npos);
  EXPECT_NE(text.find("[Application]\nToolbar=NO"), std::string::npos);
  EXPECT_LT(text.find("[Other Program]"), text.find("[Settings]"));
}

TEST(IniFile, MissingFileIsEmptyAndSaveMakesItsFolders) {
  TempFolder folder;
  const std::string path = folder / "config/varnock/varnock.ini";
  IniFile ini;
  EXPECT_TRUE(ini.Load(path));
  EXPECT_FALSE(ini.Has("Settings", "Grid Colour"));
  ini.SetText("Settings", "Grid Colour", "DFDFDF");
  ASSERT_TRUE(ini.Save(path));
  EXPECT_EQ(ReadFile(path), "[Settings]\nGrid Colour=DFDFDF\n");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "config/varnock"), {}), 1);
}

TEST(IniFile, SaveKeepsPermissionsAndWritesThroughALink) {
  TempFolder folder;
  const std::string target = folder / "real.ini";
  const std::string link = folder / "varnock.ini";
  WriteFile(target, "[Settings]\nShowFile=YES\n");
  ::chmod(target.c_str(), 0600);
  std::filesystem::create_symlink(target, link);
  IniFile ini;
  ASSERT_TRUE(ini.Load(link));
  ini.SetText("Settings", "ShowFile", "NO");
  ASSERT_TRUE(ini.Save(link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_NE(ReadFile(target).find("ShowFile=NO"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniFile, StrangeBytesDoNotUpsetTheReader) {
  std::string text = "[Settings]\nA=1\n[\n=\n==x\n[Broken\nB=2\xff\xfe\n";
  text += std::string("C=3\0D=4\n", 8);
  IniFile ini;
  ini.Parse(text);
  EXPECT_EQ(ini.GetText("Settings", "A", ""), "1");
  EXPECT_FALSE(ini.Has("Settings", "D"));
  IniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.GetText("Settings", "A", ""), "1");
}

}  // namespace
}  // namespace varnock
