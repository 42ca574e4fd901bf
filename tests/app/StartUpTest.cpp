// Which file the program opens at start-up, and where its window goes.
#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

TEST(StartUpTest, TheCommandLineWinsOverTheLastFileAndSeveralFilesAreListed) {
  testing::TempFolder folder;
  const std::string a = folder / "a.pgn", b = folder / "b.pgn", c = folder / "c.pgn";
  for (const std::string& path : {a, b, c}) testing::WriteFile(path, "1. e4 *\n");
  Settings settings;
  settings.recentFiles.Add(c);
  ScriptedPrompt prompt;

  EXPECT_EQ(StartFile({}, settings, prompt), c);  // OpenLast
  settings.settings.openLast = false;
  EXPECT_EQ(StartFile({}, settings, prompt), std::nullopt);
  EXPECT_EQ(StartFile({b}, settings, prompt), b);
  EXPECT_TRUE(prompt.Records().empty());

  EXPECT_EQ(StartFile({a, b, c}, settings, prompt), a);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::FrameWin ()");
  EXPECT_EQ(prompt.Last().text, "Unable to load multiple files.\r\n\r\n'" + a +
                                    "'\r\n\r\nwill been loaded.\r\nThe following will not be loaded:\r\n\r\n" + b +
                                    "\r\n" + c + "\r\n");
}

TEST(StartUpTest, AMissingFileIsReportedAndAVanishedRecentFileIsSkipped) {
  Settings settings;
  settings.recentFiles.Add("/nonexistent/gone.pgn");
  ScriptedPrompt prompt;
  EXPECT_EQ(StartFile({}, settings, prompt), std::nullopt);
  EXPECT_TRUE(prompt.Records().empty());
  EXPECT_EQ(StartFile({"/nonexistent/named.pgn"}, settings, prompt), std::nullopt);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::FrameWin ()");
  EXPECT_EQ(prompt.Last().text, "'/nonexistent/named.pgn'\n\nThe system cannot find the file.");
}

TEST(StartUpTest, PlacementWithoutAStoredOneAndUnusableStoredOnes) {
  const QRect screen(0, 0, 1200, 960);
  EXPECT_EQ(DefaultWindowRect(screen), QRect(QPoint(120, 80), QPoint(1079, 799)));
  const WindowPlacement stored = PlacementOf(QRect(10, 20, 800, 600), false);
  EXPECT_EQ(StoredWindowRect(stored, screen), QRect(10, 20, 800, 600));
  EXPECT_EQ(StoredWindowRect(PlacementOf(QRect(5000, 5000, 800, 600), false), screen), std::nullopt);
  EXPECT_EQ(StoredWindowRect(WindowPlacement{}, screen), std::nullopt);  // an empty rectangle
}

}  // namespace
}  // namespace varnock
