// The main window driven as a user drives it: commands through the router
// (the path every menu entry, key and button takes), questions answered by
// the scripted prompt, the clipboard read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/CommandRouter.h"
#include "app/CommentPane.h"
#include "app/FrameWin.h"
#include "app/ImportDialog.h"
#include "app/MenuLayout.h"
#include "render/BoardImage.h"
#include "render/RtfExport.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "tree/MoveEntry.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

const std::string kSample = std::string(VARNOCK_SOURCE_DIR) + "/data/samples/sample.pgn";

class FrameWinTest : public ::testing::Test {
 protected:
  void Open(const std::string& path = kSample) { window.OpenStartFile({path}); }
  void Run(CommandId id) { window.Router().Run(id); }
  std::string Clip() const { return QApplication::clipboard()->text().toStdString(); }

  Settings settings;
  ScriptedPrompt prompt;
  FrameWin window{settings, prompt};
};

TEST_F(FrameWinTest, KeysMoveInTheGameAndBetweenGamesAndTheStatusFollows) {
  Open();
  EXPECT_EQ(window.StatusText().toStdString(), "Game 1 of 4|23.  Bd6-e7+    Black to move|");
  Run(CommandId::StartPosition);
  Run(CommandId::NextPosition);
  Run(CommandId::NextPosition);
  EXPECT_EQ(window.StatusText().toStdString(), "Game 1 of 4|1...  e7-e5    White to move|");
  Run(CommandId::CopyFen);
  EXPECT_EQ(Clip(), "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2");
  EXPECT_EQ(prompt.Last().caption, "SGridFrame()::GetFEN()");
  EXPECT_EQ(prompt.Last().text, "FEN string has been copied to the Windows Clipboard\r\n\r\n" + Clip());
  Run(CommandId::NextGame);
  EXPECT_EQ(window.StatusText().left(12).toStdString(), "Game 2 of 4|");
  Run(CommandId::LastGame);
  EXPECT_EQ(window.StatusText().left(12).toStdString(), "Game 4 of 4|");
  EXPECT_FALSE(window.Router().Action(CommandId::LaunchUci)->isEnabled());
  EXPECT_TRUE(prompt.AllAnswersUsed());
}

TEST_F(FrameWinTest, ClipboardFormatsAndReports) {
  Open();
  Run(CommandId::CopyPgn);
  EXPECT_NE(Clip().find("[White \"Anderssen, Adolf\"]"), std::string::npos);
  EXPECT_EQ(prompt.Last().caption, "GetPGN()");
  Run(CommandId::CopyAscii);
  EXPECT_EQ(prompt.Last().text, "ASCII text has been copied to the Windows Clipboard");
  const GameTree& tree = window.Work().Tree();
  EXPECT_EQ(Clip(), AsciiDiagramText(tree.board, tree.boardFlipped, settings.settings.pieceInitials));

  Run(CommandId::CopyRtf);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CmGridRTF()");
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  for (const char* format : {"Rich Text Format", "text/rtf", "application/rtf"})
    EXPECT_TRUE(data->data(QString::fromLatin1(format)).startsWith("{\\rtf")) << format;

  Run(CommandId::CopyBitmap);
  EXPECT_EQ(prompt.Last().text, "Bitmap has been copied to the Windows Clipboard");
  const QImage image = QApplication::clipboard()->image();
  EXPECT_EQ(image.width(), BoardImageSide(settings.application.sizeChs));
  EXPECT_EQ(image.height(), image.width());
}

TEST_F(FrameWinTest, PastedPgnIsAcceptedWithCtrlReturnAndShown) {
  Open();
  bool seen = false;
  QTimer::singleShot(0, [&seen] {
    ImportDialog* dialog = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* found = qobject_cast<ImportDialog*>(widget); found && found->isVisible()) dialog = found;
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" PGN Import"));
    dialog->TextBox().setPlainText(QStringLiteral("[White \"Pasted\"]\n[Black \"Game\"]\n\n1. d4 d5 2. c4 *\n"));
    QTest::keyClick(&dialog->TextBox(), Qt::Key_Return, Qt::ControlModifier);
    if (dialog->isVisible()) dialog->reject();  // the key failed: end the test instead of hanging
  });
  prompt.DeclineUnscripted();
  Run(CommandId::PastePgn);
  ASSERT_TRUE(seen);
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CmCollAddPGN()");
  EXPECT_EQ(window.Work().collection.Count(), 5u);
  EXPECT_EQ(window.Work().Game().header.Get(HeaderField::White), "Pasted");
  EXPECT_TRUE(window.isWindowModified());
  EXPECT_TRUE(window.StatusText().endsWith(QStringLiteral("|Modified")));
}

TEST_F(FrameWinTest, ClosingAsksOnlyAfterChangesAndNoKeepsTheWindow) {
  Open();
  window.show();
  EXPECT_TRUE(window.close());  // nothing changed: no question
  EXPECT_TRUE(prompt.Records().empty());

  window.show();
  Run(CommandId::StartPosition);
  ASSERT_EQ(PlayMove(window.Work().Tree(), 52, 36, prompt), EntryOutcome::Followed);  // e2-e4, as in the game
  ASSERT_EQ(PlayMove(window.Work().Tree(), 11, 19, prompt), EntryOutcome::Added);     // d7-d6, new
  window.RefreshViews();
  EXPECT_TRUE(window.isWindowModified());
  prompt.No();
  EXPECT_FALSE(window.close());
  EXPECT_EQ(prompt.Last().caption, "FrameWin::CanClose()");
  EXPECT_TRUE(window.isVisible());
  prompt.Yes();
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(prompt.AllAnswersUsed());
}

TEST_F(FrameWinTest, LoadingAnotherFileAsksBeforeChangesAreLost) {
  Open();
  Run(CommandId::AddGame);
  EXPECT_TRUE(window.isWindowModified());
  prompt.No();
  Run(CommandId::Load);
  EXPECT_EQ(prompt.Last().caption, "Load()");
  EXPECT_EQ(window.Work().collection.Count(), 5u);
  prompt.Yes();  // the new collection's question
  Run(CommandId::NewCollection);
  EXPECT_EQ(prompt.Last().caption, "CmCollEmpty()");
  EXPECT_EQ(window.Work().collection.Count(), 1u);
  EXPECT_FALSE(window.isWindowModified());
}

TEST_F(FrameWinTest, BoardMenuNamesTheClickedSquareAsTheBoardShowsIt) {
  Open();
  Run(CommandId::StartPosition);
  const auto labels = [this](int square) {
    std::vector<std::string> out;
    for (const BuiltEntry& entry : BoardContextEntries(window.Work(), square)) out.push_back(entry.label);
    return out;
  };
  std::vector<std::string> atStart = labels(52);
  EXPECT_NE(std::find(atStart.begin(), atStart.end(), "Bookmark all Moves from 'e2'"), atStart.end());
  EXPECT_NE(std::find(atStart.begin(), atStart.end(), "Bookmark all 'e2' Moves"), atStart.end());
  EXPECT_EQ(std::find(atStart.begin(), atStart.end(), "Mark Current Position as &Primary\tAlt+F3"), atStart.end());
  Run(CommandId::NextPosition);
  std::vector<std::string> later = labels(-1);
  EXPECT_NE(std::find(later.begin(), later.end(), "Mark Current Position as &Primary\tAlt+F3"), later.end());
  EXPECT_EQ(std::find(later.begin(), later.end(), "Bookmark all 'e2' Moves"), later.end());

  // The toggling labels follow the move's marks.
  EXPECT_EQ(window.Router().Action(CommandId::ToggleBookmark)->text().toStdString(), "Set &Bookmark\tAlt+F2");
  Run(CommandId::ToggleBookmark);
  EXPECT_EQ(window.Router().Action(CommandId::ToggleBookmark)->text().toStdString(), "Remove &Bookmark\tAlt+F2");
  Run(CommandId::PrintDiagram);
  EXPECT_EQ(window.Router().Action(CommandId::PrintDiagram)->text().toStdString(), "Remove Print &Diagram\tCtrl+D");
}

}  // namespace
}  // namespace varnock

namespace varnock {
namespace {

// Ctrl+S through the window: the backup goes to the user's Backup folder,
// the changed game is written anew and every untouched game byte for byte.
TEST(FrameWinSaveTest, SaveKeepsABackupAndTheUntouchedGamesByteForByte) {
  testing::TempFolder folder;
  setenv("XDG_DATA_HOME", folder.Path().c_str(), 1);
  const std::string path = folder / "games.pgn";
  const std::string original = testing::ReadFile(kSample);
  testing::WriteFile(path, original);

  Settings settings;
  testing::ScriptedPrompt prompt;
  prompt.DeclineUnscripted();
  FrameWin window(settings, prompt);
  window.OpenStartFile({path});
  window.Router().Run(CommandId::LastGame);
  window.Router().Run(CommandId::StartPosition);
  window.Router().Run(CommandId::NextPosition);
  window.Router().Run(CommandId::ToggleBookmark);  // an edit, though not one PGN keeps
  window.Router().Run(CommandId::PrintDiagram);
  ASSERT_TRUE(window.isWindowModified());
  prompt.Yes().Yes();  // the PGN warnings, if asked
  window.Router().Run(CommandId::Save);
  EXPECT_FALSE(window.isWindowModified());

  const std::string saved = testing::ReadFile(path);
  // The first three games are untouched: the saved file starts with their text.
  const std::size_t fourth = original.find("[Event", original.find("[Event", original.find("[Event", 1) + 1) + 1);
  ASSERT_NE(fourth, std::string::npos);
  EXPECT_EQ(saved.substr(0, fourth), original.substr(0, fourth));
  EXPECT_NE(saved, original);
  int backups = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "varnock/Backup")) {
    ++backups;
    EXPECT_EQ(testing::ReadFile(entry.path().string()), original);
  }
  EXPECT_EQ(backups, 1);
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace varnock

namespace varnock {
namespace {

// Text typed into the after-move pane is stored on its move before any
// command runs, so a key that moves on does not lose it.
TEST(FrameWinPaneTest, TypedCommentIsStoredBeforeTheNextCommand) {
  Settings settings;
  testing::ScriptedPrompt prompt;
  FrameWin window(settings, prompt);
  window.OpenStartFile({kSample});
  window.Router().Run(CommandId::StartPosition);
  window.Router().Run(CommandId::NextPosition);
  const NodeRef e4 = window.Work().Tree().current;
  window.AfterPane().setPlainText(QStringLiteral("The king's pawn"));
  window.Router().Run(CommandId::NextPosition);
  const std::string* stored = window.Work().Tree().Store().Comment(e4, NodeStore::kAfter);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(*stored, "The king's pawn");
  EXPECT_TRUE(window.isWindowModified());
}

}  // namespace
}  // namespace varnock
