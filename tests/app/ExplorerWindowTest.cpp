// The opening explorer's window beside the main window: launched through
// the command table, following the shown game, playing double-clicked
// rows, refusing a second launch, and showing a database built from the
// open collection.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "app/CommandRouter.h"
#include "app/ExplorerLink.h"
#include "app/ExplorerWindow.h"
#include "app/FrameWin.h"
#include "openings/ExplorerPlaces.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "tree/MoveEntry.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

const std::string kSample = std::string(VARNOCK_SOURCE_DIR) + "/data/samples/sample.pgn";

class ExplorerWindowTest : public ::testing::Test {
 protected:
  // The user's data folder is the test's: no database of the user's is found.
  ExplorerWindowTest() { setenv("XDG_DATA_HOME", folder.Path().c_str(), 1); }
  ~ExplorerWindowTest() override { unsetenv("XDG_DATA_HOME"); }

  void Run(CommandId id) { window.Router().Run(id); }
  ExplorerWindow* Explorer() { return window.Explorer().Window(); }
  std::vector<std::vector<std::string>> Rows() {
    std::vector<std::vector<std::string>> rows;
    QTreeWidget& list = Explorer()->List();
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
      rows.emplace_back();
      for (int column = 0; column < list.columnCount(); ++column)
        rows.back().push_back(list.topLevelItem(i)->text(column).toStdString());
    }
    return rows;
  }
  int GamesOfRows() {
    int games = 0;
    for (const auto& row : Rows()) games += std::stoi(row[1]);
    return games;
  }
  int GamesOf(const std::string& move) {
    for (const auto& row : Rows())
      if (row[0] == move) return std::stoi(row[1]);
    return -1;
  }
  void DoubleClick(const std::string& move) {
    QTreeWidget& list = Explorer()->List();
    const QList<QTreeWidgetItem*> found = list.findItems(QString::fromStdString(move), Qt::MatchExactly, 0);
    ASSERT_EQ(found.size(), 1) << move;
    // The view takes a double click after a click on the same row.
    const QPoint at = list.visualItemRect(found[0]).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  }
  std::string DatabaseLine() { return Explorer()->DatabaseLine().text().toStdString(); }

  testing::TempFolder folder;
  Settings settings;
  ScriptedPrompt prompt;
  FrameWin window{settings, prompt};
};

TEST_F(ExplorerWindowTest, TheShippedDatabaseShowsTheStartAndTheWindowFollowsTheGame) {
  window.OpenStartFile({kSample});
  Run(CommandId::StartPosition);
  Run(CommandId::LaunchExplorer);
  ASSERT_NE(Explorer(), nullptr);
  EXPECT_TRUE(Explorer()->isVisible());
  EXPECT_TRUE(prompt.Records().empty());
  EXPECT_EQ(DatabaseLine().rfind(ShippedExplorerDatabasePath() + "  (", 0), 0u) << DatabaseLine();
  EXPECT_EQ(Explorer()->windowTitle(), QStringLiteral("Openings Explorer"));
  QTreeWidget& list = Explorer()->List();
  for (int column = 0; column < 6; ++column)
    EXPECT_EQ(list.headerItem()->text(column).toStdString(), kExplorerColumns[static_cast<std::size_t>(column)]);
  EXPECT_EQ(list.font().family().toStdString(), settings.settings.font.value.face);

  // Every game of the database starts with one of the listed moves.
  const auto rows = Rows();
  ASSERT_GT(rows.size(), 3u);
  const std::string games = DatabaseLine().substr(DatabaseLine().rfind('(') + 1);
  EXPECT_EQ(std::to_string(GamesOfRows()) + " games)", games);
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GE(std::stoi(rows[i - 1][1]), std::stoi(rows[i][1]));
  const int e4 = GamesOf("e2-e4");
  ASSERT_GT(e4, 0);

  // Esc and Return leave the window open.
  QTest::keyClick(&list, Qt::Key_Escape);
  QTest::keyClick(&list, Qt::Key_Return);
  EXPECT_TRUE(Explorer()->isVisible());

  // Through the game: 1.e4 e5 2.f4 exf4 3.Bc4; the games after 1.e4 are
  // those of its row.
  const char* titles[] = {" B00 King's Pawn Game", " C20 King's Pawn Game", " C30 King's Gambit",
                          " C33 King's Gambit Accepted", " C33 King's Gambit Accepted: Bishop's Gambit"};
  for (const char* title : titles) {
    Run(CommandId::NextPosition);
    EXPECT_EQ(Explorer()->windowTitle().toStdString(), title);
    if (title == titles[0]) {
      EXPECT_EQ(GamesOfRows(), e4);
    }
  }
  Run(CommandId::NextGame);  // 1.e4 e5 2.Nf3 Nc6 3.Bc4 Bc5 ... at its end
  Run(CommandId::StartPosition);
  EXPECT_EQ(GamesOf("e2-e4"), e4);
}

TEST_F(ExplorerWindowTest, ADoubleClickPlaysTheRowAndARowOfTheOtherSideIsRefused) {
  Run(CommandId::LaunchExplorer);
  ASSERT_NE(Explorer(), nullptr);
  DoubleClick("e2-e4");
  GameTree& tree = window.Work().Tree();
  ASSERT_NE(tree.current, tree.root);
  EXPECT_EQ(tree.Node(tree.current).From(), 52);
  EXPECT_EQ(tree.Node(tree.current).To(), 36);
  EXPECT_TRUE(window.isWindowModified());
  EXPECT_EQ(Explorer()->windowTitle(), QStringLiteral(" B00 King's Pawn Game"));
  EXPECT_TRUE(prompt.Records().empty());

  // The main game moves on without telling the window: the row shown is
  // one of the side no longer to move.
  const std::string black = Rows().front()[0];
  ASSERT_EQ(PlayMove(tree, 6, 21, prompt), EntryOutcome::Added);  // Ng8-f6
  const NodeRef current = tree.current;
  DoubleClick(black);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CmExplorerDoMove()");
  EXPECT_EQ(prompt.Last().text, "'" + black + "'\r\n\r\nInvalid piece selection.\r\nIt is White to move.");
  EXPECT_EQ(tree.current, current);
}

TEST_F(ExplorerWindowTest, ASecondLaunchIsRefusedAndClosingStopsTheWatcherAndKeepsTheLayout) {
  Run(CommandId::LaunchExplorer);
  ASSERT_NE(Explorer(), nullptr);
  EXPECT_TRUE(window.Explorer().Watcher().Running());
  Run(CommandId::LaunchExplorer);
  ASSERT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(prompt.Last().caption, "CmExplorerLaunch()");
  EXPECT_EQ(prompt.Last().text, "An explorer thread is already running");

  const QRect placed(120, 130, 640, 400);
  Explorer()->setGeometry(placed);
  Explorer()->List().setColumnWidth(0, 77);
  Explorer()->List().setColumnWidth(4, 123);
  Explorer()->close();
  EXPECT_EQ(Explorer(), nullptr);
  EXPECT_FALSE(window.Explorer().Watcher().Running());
  EXPECT_TRUE(settings.settings.explorerDialog.saved);

  Run(CommandId::LaunchExplorer);
  ASSERT_NE(Explorer(), nullptr);
  EXPECT_EQ(prompt.Records().size(), 1u);
  EXPECT_EQ(Explorer()->geometry(), placed);
  EXPECT_EQ(Explorer()->List().columnWidth(0), 77);
  EXPECT_EQ(Explorer()->List().columnWidth(4), 123);

  // The program ends: the watcher with it.
  window.show();
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.Explorer().Watcher().Running());
}

TEST_F(ExplorerWindowTest, ADatabaseBuiltFromTheCollectionIsShownInstead) {
  const std::string text =
      testing::ReadCorpusFile(std::string(VARNOCK_SHARED_DIR) + "/corpus/big/hlotze/tatamast22.pgn.xz");
  if (text.empty()) GTEST_SKIP() << "no corpus";
  const std::string file = folder / "tatamast22.pgn";
  testing::WriteFile(file, text);
  prompt.DeclineUnscripted();
  window.OpenStartFile({file});
  Run(CommandId::StartPosition);
  Run(CommandId::LaunchExplorer);
  ASSERT_NE(Explorer(), nullptr);
  const int shipped = GamesOfRows();
  const std::size_t told = prompt.Records().size();

  // Cancelled at its first chance, the build writes nothing and the
  // explorer keeps its database.
  const std::string built = UserExplorerDatabasePath();
  QTimer::singleShot(0, [] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* progress = qobject_cast<QProgressDialog*>(widget)) progress->cancel();
  });
  Run(CommandId::BuildExplorerDatabase);
  EXPECT_FALSE(std::filesystem::exists(built));
  EXPECT_EQ(GamesOfRows(), shipped);

  Run(CommandId::BuildExplorerDatabase);
  EXPECT_EQ(prompt.Records().size(), told);
  EXPECT_EQ(built.rfind(folder.Path(), 0), 0u);
  ASSERT_TRUE(std::filesystem::is_regular_file(built));
  ASSERT_NE(Explorer(), nullptr);
  // The file's 91 games with a result, every one from the standard start;
  // four are forfeits without a move.
  EXPECT_EQ(DatabaseLine(), built + "  (91 games)");
  EXPECT_EQ(GamesOfRows(), 87);
  EXPECT_NE(GamesOfRows(), shipped);
  EXPECT_FALSE(window.isWindowModified());
}

}  // namespace
}  // namespace varnock
