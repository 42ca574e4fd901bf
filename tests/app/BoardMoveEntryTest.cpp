// Move entry on the board widget with the mouse, through the real widget and
// the library's move entry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "BoardTesting.h"
#include "app/PromotionPicker.h"
#include "tree/MoveEntry.h"

namespace varnock::testing {
namespace {

// The move of the current node as "e2e4".
std::string CurrentMove(const GameTree& game) {
  const MoveNode& node = game.Node(game.current);
  if (node.parent == kNoNode) return "";
  return SquareName(node.From()) + SquareName(node.To());
}

std::vector<int> Sorted(std::vector<int> squares) {
  std::sort(squares.begin(), squares.end());
  return squares;
}

// Answers the next promotion picker from inside its modal loop: clicks the
// button of `index`, or presses Escape when `index` is negative.
void AnswerPicker(int index) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, index] {
    auto* picker = qobject_cast<PromotionPicker*>(QApplication::activeModalWidget());
    if (!picker) return;
    timer->stop();
    timer->deleteLater();
    if (index < 0)
      picker->reject();
    else
      picker->findChild<QToolButton*>(QStringLiteral("promotion%1").arg(index))->click();
  });
  timer->start(5);
}

TEST(BoardMoveEntryTest, DragAndClickClickEnterMovesAndMarkTargets) {
  BoardFixture f;
  QSignalSpy edited(f.view.get(), &BoardView::GameEdited);

  f.DragOver("e2", "e4");
  EXPECT_EQ(f.view->HeldSquare(), SquareNamed("e2"));
  EXPECT_EQ(Sorted(f.view->TargetSquares()), Sorted({SquareNamed("e3"), SquareNamed("e4")}));
  f.Release("e4");
  EXPECT_EQ(CurrentMove(f.game), "e2e4");
  EXPECT_EQ(f.view->HeldSquare(), -1);

  f.Click("e7");  // the first click holds the piece and marks its targets
  EXPECT_EQ(f.view->TargetSquares().size(), 2u);
  f.Click("e5");
  EXPECT_EQ(CurrentMove(f.game), "e7e5");

  f.Click("b1");  // another own piece taken up instead
  f.Click("g1");
  EXPECT_EQ(f.view->HeldSquare(), SquareNamed("g1"));
  EXPECT_EQ(Sorted(f.view->TargetSquares()), Sorted({SquareNamed("f3"), SquareNamed("h3"), SquareNamed("e2")}));
  f.Click("f3");
  EXPECT_EQ(CurrentMove(f.game), "g1f3");
  EXPECT_EQ(edited.count(), 3);

  f.Click("b8");  // a second click on the held piece puts it down
  f.Click("b8");
  EXPECT_EQ(f.view->HeldSquare(), -1);
  f.Drag("b8", "b8");  // a piece dropped on its own square stays held: no pass
  EXPECT_EQ(f.view->HeldSquare(), SquareNamed("b8"));
  f.Click("h4");  // an empty square that is no target: refused, the reason in the status text
  EXPECT_EQ(CurrentMove(f.game), "g1f3");
  EXPECT_EQ(f.game.statusText, "Black: Invalid Move 'Nb8-h4'.");

  f.Click("e4");  // nothing of the side to move's opponent is taken up
  EXPECT_EQ(f.view->HeldSquare(), -1);
  EXPECT_EQ(f.view->SquareAt(QPoint(-5, -5)), -1);
  EXPECT_EQ(edited.count(), 3);
}

TEST(BoardMoveEntryTest, RefusedMovesAreReportedAndChangeNothing) {
  struct Case {
    const char* before;
    const char* from;
    const char* to;
    const char* text;
  };
  const Case cases[] = {
      {"", "e2", "e5", "White: Invalid Move 'e2-e5'."},
      {"", "b1", "d2", "White: Invalid Move 'Nb1-d2'."},  // dropped on its own piece
      {"e2e4 e7e5 d1h5", "f7", "f6", "Black: Invalid Move 'f7-f6'.  King is in check."},
      {"e2e4 a7a6 e4e5 d7d5 g1f3 h7h6", "e5", "d6", "White: Invalid en passant capture 'e5-d6'."},
      {"g1f3 e7e6 g2g3 a7a6 f1g2 a6a5 d2d3 f8b4", "e1", "g1", "White: Invalid castling.  King is in check."},
      {"e2e4 e7e5 f1c4 f8c5", "e1", "g1", "White: Invalid Move 'Ke1-g1'."},  // the knight still on g1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.before) + " " + c.from + c.to);
    BoardFixture f;
    ASSERT_TRUE(PlayMoves(f.game, c.before));
    f.view->Refresh();
    const NodeRef before = f.game.current;
    const BoardSquares board = f.game.board;
    QSignalSpy edited(f.view.get(), &BoardView::GameEdited);
    QSignalSpy refused(f.view.get(), &BoardView::MoveRefused);
    f.Drag(c.from, c.to);
    EXPECT_EQ(f.game.current, before);
    EXPECT_EQ(f.game.board, board);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(refused.count(), 1);
    EXPECT_TRUE(f.prompt.Records().empty());  // no box: the status line tells
    EXPECT_EQ(f.game.statusText, c.text);
  }
}

TEST(BoardMoveEntryTest, TheInvalidMovePermissionLetsOneBoardMoveThrough) {
  BoardFixture f;
  f.prompt.Yes();
  CmInvalid(f.game, f.prompt);
  f.prompt.Clear();
  f.Click("e2");
  f.Click("d2");  // with the permission a click on an own piece is a target too
  EXPECT_EQ(CurrentMove(f.game), "e2d2");
  EXPECT_TRUE(f.game.Node(f.game.current).Has2(kFlag2Irregular));
  EXPECT_TRUE(f.prompt.Records().empty());
  f.Drag("e7", "e4");  // the permission is spent
  EXPECT_EQ(CurrentMove(f.game), "e2d2");
  EXPECT_EQ(f.game.statusText, "Black: Invalid Move 'e7-e4'.");
}

TEST(BoardMoveEntryTest, PromotionGoesThroughThePicker) {
  BoardFixture f;
  ASSERT_TRUE(PlayMoves(f.game, "h2h4 g7g5 h4g5 h7h6 g5h6 a7a6 h6h7 a6a5"));
  f.view->Refresh();
  const NodeRef before = f.game.current;

  AnswerPicker(-1);  // cancelled: nothing entered, nothing reported
  f.Drag("h7", "g8");
  EXPECT_EQ(f.game.current, before);
  EXPECT_EQ(f.game.statusText, "Promotion abandoned");
  EXPECT_TRUE(f.prompt.Records().empty());

  AnswerPicker(1);  // the second piece of the list: the knight
  f.Click("h7");
  f.Click("g8");
  EXPECT_EQ(CurrentMove(f.game), "h7g8");
  EXPECT_EQ(f.game.board[static_cast<std::size_t>(SquareNamed("g8"))], kWhite | kKnight);
  EXPECT_TRUE(f.prompt.Records().empty());
}

TEST(BoardMoveEntryTest, AReversedBoardMirrorsSquaresForEntryAndTheContextMenu) {
  BoardFixture f;
  f.game.boardFlipped = true;
  f.view->Refresh();
  const QRect board = f.view->SquareRect(SquareNamed("h1")).united(f.view->SquareRect(SquareNamed("a8")));
  EXPECT_EQ(f.view->SquareAt(board.topLeft() + QPoint(2, 2)), SquareNamed("h1"));
  EXPECT_EQ(f.view->SquareAt(board.bottomRight() - QPoint(2, 2)), SquareNamed("a8"));
  EXPECT_LT(f.view->SquareRect(SquareNamed("e2")).top(), f.view->SquareRect(SquareNamed("e4")).top());
  EXPECT_LT(f.view->SquareRect(SquareNamed("e2")).left(), f.view->SquareRect(SquareNamed("d2")).left());

  f.Drag("e2", "e4");
  EXPECT_EQ(CurrentMove(f.game), "e2e4");
  f.Click("g8");
  f.Click("f6");
  EXPECT_EQ(CurrentMove(f.game), "g8f6");

  QSignalSpy menu(f.view.get(), &BoardView::ContextMenuRequested);
  QContextMenuEvent event(QContextMenuEvent::Mouse, f.Centre("c7"), f.view->mapToGlobal(f.Centre("c7")));
  QApplication::sendEvent(f.view.get(), &event);
  ASSERT_EQ(menu.count(), 1);
  EXPECT_EQ(menu.at(0).at(0).toInt(), SquareNamed("c7"));
}

}  // namespace
}  // namespace varnock::testing
