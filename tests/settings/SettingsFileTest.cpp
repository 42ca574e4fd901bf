// Reading and writing every option through the settings file.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/Base64.h"
#include "settings/SettingsFile.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::ReadFile;
using testing::ScriptedPrompt;
using testing::TempFolder;
using testing::WriteFile;

class SettingsFileTest : public ::testing::Test {
 protected:
  // Reads settings from a file holding `text`.
  Settings Read(const std::string& text) {
    WriteFile(path_, text);
    return LoadSettings(path_, prompt_);
  }

  TempFolder folder_;
  std::string path_ = folder_ / "varnock.ini";
  ScriptedPrompt prompt_;
};

TEST_F(SettingsFileTest, FirstRunWritesSchemeAThenReadsItBack) {
  const Settings settings = LoadSettings(path_, prompt_);
  EXPECT_EQ(settings.settings.colours, SchemeColours(ColourScheme::A));
  EXPECT_EQ(ReadFile(path_),
            "[Settings]\nGrid Colour=DFDFDF\nBorder Colour=800000\nArrow Colour=FFFFFF\nArrow2 Colour=800000\n"
            "Arrow3 Colour=C7726B\nFont Colour=800000\nFont Colour ( Moves )=800000\n"
            "Font Colour ( High Move )=800000\nFont Colour ( Branch )=FFFFFF\nBox Colour=DFDFDF\n"
            "Box Colour2=800000\nBox Colour3=FFFFFF\nBackground Colour=B1D6BC\n");
  EXPECT_TRUE(prompt_.Records().empty());

  // The second start finds the scheme and leaves the file alone.
  const std::string written = ReadFile(path_);
  EXPECT_EQ(LoadSettings(path_, prompt_).settings.colours, SchemeColours(ColourScheme::A));
  EXPECT_EQ(ReadFile(path_), written);
}

TEST_F(SettingsFileTest, FirstRunKeepsWhatTheFileHeldAndReadOnlyRunsWriteNothing) {
  WriteFile(path_, "[Settings]\nShowBevel=YES\n[Mine]\nx=1\n");
  const Settings settings = LoadSettings(path_, prompt_);
  EXPECT_TRUE(settings.settings.showBevel);
  const std::string text = ReadFile(path_);
  EXPECT_NE(text.find("ShowBevel=YES"), std::string::npos);
  EXPECT_NE(text.find("[Mine]\nx=1"), std::string::npos);
  EXPECT_NE(text.find("Background Colour=B1D6BC"), std::string::npos);

  const std::string fresh = folder_ / "fresh.ini";
  const Settings readOnly = LoadSettings(fresh, prompt_, FirstRun::kReadOnly);
  EXPECT_EQ(readOnly.settings.colours, SchemeColours(ColourScheme::A));
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST_F(SettingsFileTest, MissingOrBrokenColourKeysTakeTheirOwnDefaults) {
  const Settings settings = Read("[Settings]\nGrid Colour=C0C0C0\nBorder Colour=zz\nBox Colour3=abcdef\n");
  const DisplayColours& colours = settings.settings.colours;
  EXPECT_EQ(colours.grid, 0xC0C0C0u);
  EXPECT_EQ(colours.border, 0x800000u);
  EXPECT_EQ(colours.box3, 0xABCDEFu);
  EXPECT_EQ(colours.font, 0xFF0000u);
  EXPECT_EQ(colours.fontBranch, 0xFF8080u);
  EXPECT_EQ(colours.box3, 0xABCDEFu);
  EXPECT_EQ(colours.background, 0xB3D7DFu);
}

TEST_F(SettingsFileTest, OnlyUpperCaseYesTurnsAnOptionOn) {
  const Settings settings = Read(
      "[Settings]\nGrid Colour=DFDFDF\nShowBevel=YES\nShowText=yes\nOpenLast=Yes\nArrowLast=1\n"
      "[Application]\nToolbar=yes\nUCI_DoOneCPU=YES\n");
  EXPECT_TRUE(settings.settings.showBevel);
  EXPECT_FALSE(settings.settings.showText);
  EXPECT_FALSE(settings.settings.openLast);
  EXPECT_FALSE(settings.settings.arrowLast);
  EXPECT_FALSE(settings.application.toolbar);
  EXPECT_TRUE(settings.application.uciDoOneCpu);
  // Absent keys take their defaults.
  EXPECT_TRUE(settings.settings.badContinuation);
  EXPECT_FALSE(settings.settings.pgnLongAlgebraic);
  EXPECT_TRUE(settings.application.navigationBar);
  EXPECT_TRUE(settings.application.uciDoMultiPv);
}

TEST_F(SettingsFileTest, PieceInitialsAreCompletedFromTheDefaults) {
  const std::pair<std::string, std::string> cases[] = {
      {"PieceInitials=\n", "KQRBNP"},
      {"PieceInitials=SD\n", "SDRBNP"},
      {"PieceInitials=KDTLSB\n", "KDTLSB"},
      {"PieceInitials=ABCDEFGH\n", "ABCDEF"},
      {"", "KQRBNP"},
      {"PieceInitials=K\tR B\n", "KQRBBP"},
  };
  for (const auto& [line, expected] : cases)
    EXPECT_EQ(Read("[Settings]\nGrid Colour=DFDFDF\n" + line).settings.pieceInitials, expected) << line;
}

TEST_F(SettingsFileTest, ClampsDialogFontSizeAndPrintSizes) {
  EXPECT_EQ(Read("[Settings]\nDoModal_FontSize=30\n").settings.dialogFontSize, 12);
  EXPECT_EQ(Read("[Settings]\nDoModal_FontSize=3\n").settings.dialogFontSize, 7);
  EXPECT_EQ(Read("[Settings]\nDoModal_FontSize=10\n").settings.dialogFontSize, 10);
  EXPECT_EQ(Read("[Settings]\n").settings.dialogFontSize, 8);

  PrintOptions negative;
  negative.style = -3;
  negative.textSize = -10;
  negative.boardSquareSize = -1;
  const Settings settings = Read("[Settings]\nPrint Options=" + EncodeBase64(ToRecord(negative)) + "\n");
  EXPECT_TRUE(settings.settings.printOptions.saved);
  EXPECT_EQ(settings.settings.printOptions.value.style, 0);
  EXPECT_EQ(settings.settings.printOptions.value.textSize, 0);
  EXPECT_EQ(settings.settings.printOptions.value.boardSquareSize, 0);
}

TEST_F(SettingsFileTest, AbsentOrUnreadableRecordsKeepDefaultsAndAreNotWrittenBack) {
  const Settings settings = Read(
      "[Settings]\nDlgBM Dimensions=NULL\nDlgSearchComments=not base64!\nEvents Dimensions=AAAA\n"
      "PGN Export Options=%%%%\n[Application]\nWindow Placement=NULL\nUCI_Engines=NULL\n");
  const SettingsSection& s = settings.settings;
  EXPECT_FALSE(s.bookmarksDialog.saved);
  EXPECT_FALSE(s.searchCommentsDialog.saved);
  EXPECT_FALSE(s.eventsList.saved);  // three bytes are no 72-byte layout
  EXPECT_EQ(s.eventsList.value, DialogLayout{});
  EXPECT_FALSE(s.pgnExport.saved);
  EXPECT_EQ(s.pgnExport.value, PgnExportFields{});
  EXPECT_FALSE(s.printOptions.saved);
  EXPECT_EQ(s.printOptions.value, PrintOptions{});
  EXPECT_FALSE(settings.application.windowPlacement.saved);
  EXPECT_EQ(settings.application.uciEngines, "");

  ASSERT_TRUE(SaveSettings(path_, settings, prompt_));
  IniFile ini;
  ASSERT_TRUE(ini.Load(path_));
  // Unsaved layouts are left as the file had them; fonts and option records are always written.
  EXPECT_EQ(ini.GetText("Settings", "DlgBM Dimensions", "-"), "NULL");
  EXPECT_EQ(ini.GetText("Settings", "DlgSearchComments", "-"), "not base64!");
  EXPECT_FALSE(ini.Has("Settings", "Folders Dimensions"));
  EXPECT_FALSE(ini.Has("Application", "dlgComment Placement FEN"));
  EXPECT_TRUE(DecodeBase64(ini.GetText("Settings", "PGN Export Options", "")).has_value());
  EXPECT_EQ(DecodeBase64(ini.GetText("Settings", "LogFont ( Border )", "")), ToRecord(DefaultFont("Arial", 15)));
  EXPECT_TRUE(prompt_.Records().empty());
}

// Every value changed from its default, saved, and read back.
Settings ChangedSettings() {
  Settings all;
  SettingsSection& s = all.settings;
  s.engineDialog = {DialogLayout{{1, 2, 3}}, true};
  s.playersList = {DialogLayout{{9}}, true};
  s.colours = SchemeColours(ColourScheme::B);
  s.backupFiles = 2;
  s.userColours[3] = 0x010203;
  s.chessFontType = 1;
  s.fontComment.value = DefaultFont("DejaVu Sans", 10);
  s.fontComment.value.italic = true;
  s.printHeaderText = "Club games";
  s.printFooterText = "";
  s.gradedOption = 1;
  s.badContinuation = false;
  s.shortNotation = true;
  s.pgnExtensions = true;
  s.optionAH = 1;
  s.arrowVariations = true;
  s.fileViewer = "/usr/bin/less";
  s.rtfEditor = "lowriter";
  s.pieceInitials = "SDTLSB";
  s.printOptions.value.twoColumns = true;
  s.printOptions.value.textSize = 12;
  s.pgnExport.value = PgnExportFields{1, 1, 0, 0, 2, 1};
  s.dialogFontSize = 11;
  ApplicationSection& a = all.application;
  a.toolbar = false;
  a.navigationBar = false;
  a.windowPlacement.saved = true;
  a.windowPlacement.value.normalPosition = {5, 6, 800, 600};
  a.commentPlacementPgn = {RecordRect{1, 1, 300, 200}, true};
  a.displayWidth = 0.5;
  a.displayWidthHzPre = 0.29;
  a.displayWidthHzPost = 0.123456;
  a.sizeChs = 50;
  a.uciHash = 256;
  a.uciMultiPv = 3;
  a.uciEngineSelection = 2;
  a.uciDoMultiPv = false;
  a.uciDoOneCpu = true;
  a.uciEngines = "./engines/stockfish;Stockfish";
  all.recentFiles.Add("/games/old.pgn");
  all.recentFiles.Add("/games/new.ech");
  return all;
}

TEST_F(SettingsFileTest, EverySettingRoundTrips) {
  const Settings written = ChangedSettings();
  ASSERT_TRUE(SaveSettings(path_, written, prompt_));
  const std::string first = ReadFile(path_);
  const Settings read = LoadSettings(path_, prompt_);
  EXPECT_TRUE(prompt_.Records().empty());

  const SettingsSection& s = read.settings;
  EXPECT_TRUE(s.engineDialog.saved);
  EXPECT_EQ(s.engineDialog.value, written.settings.engineDialog.value);
  EXPECT_FALSE(s.explorerDialog.saved);
  EXPECT_EQ(s.colours, SchemeColours(ColourScheme::B));
  EXPECT_EQ(s.userColours, written.settings.userColours);
  EXPECT_EQ(s.fontComment.value, written.settings.fontComment.value);
  EXPECT_TRUE(s.fontComment.saved);
  EXPECT_EQ(s.font.value, DefaultFont("Courier New", 12));
  EXPECT_EQ(s.printHeaderText, "Club games");
  EXPECT_EQ(s.printFooterText, "");
  EXPECT_NE(ReadFile(path_).find("\nPrintFooterText=\n"), std::string::npos);
  EXPECT_EQ(s.fileViewer, "/usr/bin/less");
  EXPECT_EQ(s.pieceInitials, "SDTLSB");
  EXPECT_EQ(s.printOptions.value, written.settings.printOptions.value);
  EXPECT_EQ(s.pgnExport.value, written.settings.pgnExport.value);
  EXPECT_EQ(s.dialogFontSize, 11);
  EXPECT_FALSE(s.badContinuation);
  EXPECT_TRUE(s.shortNotation);
  EXPECT_EQ(s.optionAH, 1);

  const ApplicationSection& a = read.application;
  EXPECT_FALSE(a.toolbar);
  EXPECT_FALSE(a.navigationBar);
  EXPECT_EQ(a.windowPlacement.value, written.application.windowPlacement.value);
  EXPECT_FALSE(a.commentPlacementFen.saved);
  EXPECT_EQ(a.commentPlacementPgn.value, (RecordRect{1, 1, 300, 200}));
  EXPECT_DOUBLE_EQ(a.displayWidth, 0.5);
  EXPECT_DOUBLE_EQ(a.displayWidthHzPre, 0.29);
  EXPECT_DOUBLE_EQ(a.displayWidthHzPost, 0.123);
  EXPECT_EQ(a.uciHash, 256);
  EXPECT_EQ(a.uciEngines, "./engines/stockfish;Stockfish");
  EXPECT_EQ(read.recentFiles, written.recentFiles);

  // Writing what was read gives the same file.
  ASSERT_TRUE(SaveSettings(path_, read, prompt_));
  EXPECT_EQ(ReadFile(path_), first);
}

TEST_F(SettingsFileTest, ProportionsAreThousandthsBothWays) {
  const Settings settings = Read("[Application]\nDisplay Width=350\n");
  EXPECT_DOUBLE_EQ(settings.application.displayWidth, 0.35);
  EXPECT_DOUBLE_EQ(settings.application.displayWidthHzPre, 0.36);
  EXPECT_DOUBLE_EQ(settings.application.displayWidthHzPost, 0.18);
  ASSERT_TRUE(SaveSettings(path_, settings, prompt_));
  EXPECT_NE(ReadFile(path_).find("Display Width=350\n"), std::string::npos);

  for (int thousandths = -1000; thousandths <= 2000; ++thousandths)
    ASSERT_EQ(ProportionThousandths(ProportionRatio(thousandths)), thousandths);
  EXPECT_EQ(ProportionThousandths(0.3579), 357);
  EXPECT_EQ(ProportionThousandths(-0.3579), -357);
}

TEST_F(SettingsFileTest, NavigationBarIsOneKeyWhateverItsSpelling) {
  Settings settings = Read("[Application]\nNavigationBar=NO\n");
  EXPECT_FALSE(settings.application.navigationBar);
  settings.application.navigationBar = true;
  ASSERT_TRUE(SaveSettings(path_, settings, prompt_));
  IniFile ini;
  ASSERT_TRUE(ini.Load(path_));
  EXPECT_EQ(ini.GetText("Application", "navigationbar", ""), "YES");
  const auto keys = ini.Keys("Application");
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const std::string& k) { return k.size() == 13 && k[0] == 'N'; }),
            1);

  // A new file gets the spelling the program writes.
  const std::string fresh = folder_ / "fresh.ini";
  ASSERT_TRUE(SaveSettings(fresh, Settings{}, prompt_));
  EXPECT_NE(ReadFile(fresh).find("\nNavigationbar=YES\n"), std::string::npos);
}

TEST_F(SettingsFileTest, HandWrittenKeysAndOtherSectionsSurviveASave) {
  Settings settings = Read(
      "; my notes\n[Settings]\nGrid Colour=DFDFDF\nMy Extra Key=keep me\n[Other Program]\nGeometry=1 2 3 4\n"
      "[FileList]\nFile1=/games/a.pgn\nFile2=/games/b.pgn\n");
  EXPECT_EQ(settings.recentFiles.Newest(), "/games/a.pgn");
  // Someone writes the file between start-up and the save.
  IniFile other;
  ASSERT_TRUE(other.Load(path_));
  other.SetText("Another Tool", "Seen", "yes");
  ASSERT_TRUE(other.Save(path_));

  settings.settings.showBevel = true;
  settings.recentFiles.Add("/games/c.pgn");
  ASSERT_TRUE(SaveSettings(path_, settings, prompt_));
  IniFile ini;
  ASSERT_TRUE(ini.Load(path_));
  EXPECT_EQ(ini.GetText("Settings", "My Extra Key", ""), "keep me");
  EXPECT_EQ(ini.GetText("Other Program", "Geometry", ""), "1 2 3 4");
  EXPECT_EQ(ini.GetText("Another Tool", "Seen", ""), "yes");
  EXPECT_EQ(ini.GetText("Settings", "ShowBevel", ""), "YES");
  EXPECT_EQ(ini.GetText("FileList", "File1", ""), "/games/c.pgn");
  EXPECT_EQ(ini.GetText("FileList", "File3", ""), "/games/b.pgn");
  EXPECT_NE(ReadFile(path_).find("; my notes"), std::string::npos);
}

TEST_F(SettingsFileTest, FontsThatCannotBeMadeAreReportedAndReplaced) {
  TextFont tiny = DefaultFont("Liberation Mono", 0);
  const std::string text =
      "[Settings]\nLogFont=" + EncodeBase64(ToRecord(tiny)) +
      "\nLogFont ( Moves )=AAAA\nLogFont ( Branch )=" + EncodeBase64(ToRecord(DefaultFont("Liberation Serif", 14))) +
      "\n";
  Settings settings = Read(text);
  ASSERT_EQ(prompt_.Records().size(), 2u);
  for (const auto& record : prompt_.Records()) {
    EXPECT_EQ(record.caption, "ReadFromINI()");
    EXPECT_EQ(record.text, "Font creation failed (1)");
  }
  EXPECT_EQ(settings.settings.font.value, DefaultFont("Courier New", 12));
  EXPECT_EQ(settings.settings.fontMoves.value, DefaultFont("Courier New", 12));
  EXPECT_EQ(settings.settings.fontBranch.value, DefaultFont("Liberation Serif", 14));

  // A display that cannot make "Arial" reports the default of the border font.
  prompt_.Clear();
  WriteFile(path_, "[Settings]\n");
  settings = LoadSettings(path_, prompt_, FirstRun::kReadOnly, [](const TextFont& f) { return f.face != "Arial"; });
  ASSERT_EQ(prompt_.Records().size(), 1u);
  EXPECT_EQ(prompt_.Last().text, "Font creation failed (2)");
}

void WriteSettings(IniFile& ini, const Settings& settings) {
  ScriptedPrompt prompt;
  WriteToINI(ini, settings.settings, prompt);
  WriteApplicationSection(ini, settings.application, prompt);
  settings.recentFiles.Write(ini);
}

// Files of random lines made of real keys, Base64 and junk: every read
// succeeds, and rewriting what was written changes nothing.
TEST_F(SettingsFileTest, RandomFilesAreReadAndWrittenSafely) {
  const std::vector<std::string> pieces = {"[Settings]",
                                           "[Application]",
                                           "[FileList]",
                                           "[",
                                           "]",
                                           "=",
                                           "==",
                                           "NULL",
                                           "YES",
                                           "yes",
                                           "-",
                                           "99999999999",
                                           "LogFont",
                                           "Print Options",
                                           "Window Placement",
                                           "PieceInitials",
                                           "DoModal_FontSize",
                                           "User Colours",
                                           "Grid Colour",
                                           "File1",
                                           "AAAA",
                                           "AQAAAAEAAAAsAQAAyAAAAA==",
                                           "\r",
                                           "\xff",
                                           ";",
                                           " ",
                                           "\t"};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 500; ++round) {
    std::string text;
    for (int line = next() % 30; line > 0; --line) {
      for (int piece = next() % 5; piece >= 0; --piece) text += pieces[next() % pieces.size()];
      text += '\n';
    }
    prompt_.Clear();
    IniFile ini;
    ini.Parse(text);
    const Settings settings = ReadSettings(ini, prompt_);
    EXPECT_GE(settings.settings.dialogFontSize, 7);
    EXPECT_LE(settings.settings.dialogFontSize, 12);
    EXPECT_EQ(settings.settings.pieceInitials.size(), 6u);
    WriteSettings(ini, settings);
    // Blank lines and comments may settle in the first rewrite; after that
    // the file keeps its text.
    std::string written = ini.Text();
    for (int rewrite = 0; rewrite < 2; ++rewrite) {
      IniFile again;
      again.Parse(written);
      WriteSettings(again, ReadSettings(again, prompt_));
      if (rewrite == 1) {
        ASSERT_EQ(again.Text(), written) << text;
      }
      written = again.Text();
    }
  }
}

TEST(RecentFiles, NewestFirstFifteenAtMostNoRepeats) {
  RecentFiles files;
  for (int i = 1; i <= 17; ++i) files.Add("/games/" + std::to_string(i) + ".pgn");
  ASSERT_EQ(files.Entries().size(), 15u);
  EXPECT_EQ(files.Newest(), "/games/17.pgn");
  EXPECT_EQ(files.Entries().back(), "/games/3.pgn");
  files.Add("/games/10.pgn");
  EXPECT_EQ(files.Entries().size(), 15u);
  EXPECT_EQ(files.Newest(), "/games/10.pgn");
  EXPECT_EQ(std::count(files.Entries().begin(), files.Entries().end(), "/games/10.pgn"), 1);

  IniFile ini;
  ini.Parse("[FileList]\nFile1=/a.pgn\nFile2=\nFile3=/b.pgn\nFile4=/a.pgn\nFile16=/c.pgn\n");
  files.Read(ini);
  EXPECT_EQ(files.Entries(), (std::vector<std::string>{"/a.pgn", "/b.pgn"}));
  files.Write(ini);
  EXPECT_EQ(ini.GetText("FileList", "File2", ""), "/b.pgn");
  EXPECT_FALSE(ini.Has("FileList", "File3"));
}

TEST(RecentFiles, MenuNamesFitThirtyCharacters) {
  EXPECT_EQ(RecentFileMenuName("/home/ann/games/open.pgn"), "/home/ann/games/open.pgn");
  EXPECT_EQ(RecentFileMenuName("/home/ann/chess/collections/2024/tournaments/open.pgn"),
            "/home/.../tournaments/open.pgn");
  EXPECT_EQ(RecentFileMenuName("/home/ann/chess/collections/2024/a-very-long-folder/open.pgn"), "/home/.../open.pgn");
  const std::string longName(40, 'x');
  EXPECT_EQ(RecentFileMenuName("/home/" + longName), longName);
  for (const std::string path :
       {"/home/ann/chess/collections/2024/tournaments/open.pgn", "relative/folder/with/a/file.pgn"})
    EXPECT_LE(RecentFileMenuName(path).size(), 30u) << path;
}

}  // namespace
}  // namespace varnock
