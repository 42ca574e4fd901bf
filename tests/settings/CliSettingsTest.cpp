// varnock-cli's --ini and --set.
#include <gtest/gtest.h>

#include "cli/CliSettings.h"
#include "render/StoredOptions.h"
#include "settings/Base64.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

namespace varnock::cli {
namespace {

using varnock::testing::ReadFile;
using varnock::testing::ScriptedPrompt;
using varnock::testing::TempFolder;
using varnock::testing::WriteFile;

TEST(CliSettings, IniAndSetAreTakenOutOfTheArguments) {
  TempFolder folder;
  const std::string ini = folder / "run.ini";
  const std::string text = "[Settings]\nGrid Colour=DFDFDF\nBad Continuation=YES\nShowBevel=YES\n";
  WriteFile(ini, text);
  Args args = {"game.pgn", "--ini", ini, "--set", "bad continuation=NO", "--yes", "--set", "PieceInitials=SD"};
  ScriptedPrompt prompt;
  Settings settings;
  ASSERT_EQ(SettingsForRun("check", args, prompt, settings), 0);
  EXPECT_EQ(args, (Args{"game.pgn", "--yes"}));
  EXPECT_FALSE(settings.settings.badContinuation);
  EXPECT_TRUE(settings.settings.showBevel);
  EXPECT_EQ(settings.settings.pieceInitials, "SDRBNP");
  // The run changes nothing on disk.
  EXPECT_EQ(ReadFile(ini), text);
}

TEST(CliSettings, UsageErrors) {
  ScriptedPrompt prompt;
  Settings settings;
  for (Args args : {Args{"--set"}, Args{"--set", "NoEquals"}, Args{"--set", "=YES"}, Args{"--set", "Toolbar=NO"},
                    Args{"--ini"}, Args{"--ini", ""}}) {
    SettingsOptions options;
    EXPECT_EQ(TakeSettingsOptions("count", args, options), 2) << args.back();
  }
  SettingsOptions missing;
  missing.iniPath = "/nonexistent/varnock.ini";
  EXPECT_EQ(LoadRunSettings(missing, prompt, settings), 2);
}

TEST(CliSettings, StoredOptionsReachTheExports) {
  TempFolder folder;
  const std::string ini = folder / "run.ini";
  PrintOptions print;
  print.twoColumns = true;
  print.boardSquareSize = 24;
  print.variationColour = 0x112233;
  WriteFile(ini, "[Settings]\nPrintHeaderText=Club\nPrint Options=" + EncodeBase64(ToRecord(print)) +
                     "\nPGN Export Options=" + EncodeBase64(ToRecord(PgnExportFields{1, 0, 1, 0, 2, 0})) + "\n");
  Args args = {"--ini", ini};
  ScriptedPrompt prompt;
  Settings settings;
  ASSERT_EQ(SettingsForRun("rtf", args, prompt, settings), 0);
  const RtfOptions rtf = RtfOptionsOf(settings.settings);
  EXPECT_TRUE(rtf.twoColumns);
  EXPECT_EQ(rtf.boardSquareSize, 24);
  EXPECT_EQ(rtf.variationColour, 0x112233u);
  EXPECT_EQ(rtf.headerText, "Club");
  EXPECT_EQ(rtf.footerText, "Varnock Game Editor");
  const PgnExportOptions pgn = PgnExportOptionsOf(settings.settings);
  EXPECT_TRUE(pgn.LongAlgebraic());
  EXPECT_EQ(pgn.symbols, 1);
  EXPECT_EQ(pgn.includeVariations, 1);

  // With no settings at all the exports keep their own defaults.
  const RtfOptions defaults = RtfOptionsOf(SettingsSection{});
  const RtfOptions plain;
  EXPECT_EQ(defaults.headerText, plain.headerText);
  EXPECT_EQ(defaults.textSize, plain.textSize);
  EXPECT_EQ(defaults.variationColour, plain.variationColour);
  EXPECT_EQ(defaults.endDiagramMainLine, plain.endDiagramMainLine);
}

}  // namespace
}  // namespace varnock::cli
