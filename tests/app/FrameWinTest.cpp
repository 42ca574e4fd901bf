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

#include "app/CommandRouter.h"
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
    for (const BuiltEntry& entry : BoardContextEntries(window.Work(), window.Router(), square))
      out.push_back(entry.label);
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
  EXPECT_EQ(window.Router().Action(CommandId::ToggleBookmark)->text().toStdString(), "Set &Bookmark");
  Run(CommandId::ToggleBookmark);
  EXPECT_EQ(window.Router().Action(CommandId::ToggleBookmark)->text().toStdString(), "Remove &Bookmark");
  Run(CommandId::PrintDiagram);
  EXPECT_EQ(window.Router().Action(CommandId::PrintDiagram)->text().toStdString(), "Remove Print &Diagram");
}

}  // namespace
}  // namespace varnock
