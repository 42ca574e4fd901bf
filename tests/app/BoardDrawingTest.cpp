// What the board widget and the side boards draw: the chess font's tiles on
// the right squares, the marks of a held piece and the arrows, the sizes.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "BoardTesting.h"
#include "app/SideBoards.h"
#include "render/ChessFontMap.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"
#include "tree/StoreSlotCommands.h"

namespace varnock::testing {
namespace {

// The pixels of a square as the widget draws it, in device pixels: at a
// device pixel ratio of 2 (the test is run so too) the square is drawn
// from a tile made at twice the size, never scaled up.
QImage SquareImage(BoardView& view, const std::string& square) {
  QImage whole = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  whole.setDevicePixelRatio(1);
  return whole.copy(view.SquareDeviceRect(SquareNamed(square)));
}

// The tile of the strip the square should show.
QImage ExpectedTile(const BoardFixture& f, const std::string& square) {
  BoardTiles tiles;
  tiles.Update(f.settings.settings, f.view->SquareDeviceRect(SquareNamed(square)).width());
  const int s = SquareNamed(square);
  const bool light = (FileOf(s) + RowOf(s)) % 2 == 0;
  return tiles.Strip().Tile(TileIndex(f.game.board[static_cast<std::size_t>(s)], light));
}

TEST(BoardDrawingTest, SquaresAreTheChessFontTilesOnEitherSide) {
  for (bool reversed : {false, true}) {
    for (int font : {0, 3}) {
      SCOPED_TRACE(std::to_string(font) + (reversed ? " reversed" : ""));
      BoardFixture f;
      f.settings.settings.chessFontType = font;
      f.game.boardFlipped = reversed;
      f.view->Refresh();
      for (const char* square : {"e2", "e7", "d8", "a1", "h1", "e4", "c3"})
        EXPECT_EQ(SquareImage(*f.view, square), ExpectedTile(f, square)) << square;
      EXPECT_NE(ExpectedTile(f, "e2"), ExpectedTile(f, "e4"));  // a piece is drawn at all
    }
  }
}

TEST(BoardDrawingTest, HeldPieceTargetsAndArrowsAreDrawnOverTheSquares) {
  BoardFixture f;
  const QImage plainE3 = SquareImage(*f.view, "e3");
  const QImage plainE2 = SquareImage(*f.view, "e2");
  f.Click("e2");
  EXPECT_NE(SquareImage(*f.view, "e3"), plainE3);                // a target mark
  EXPECT_NE(SquareImage(*f.view, "e2"), plainE2);                // the held square inverted
  EXPECT_EQ(SquareImage(*f.view, "d3"), ExpectedTile(f, "d3"));  // no mark elsewhere
  f.Click("e4");
  EXPECT_EQ(SquareImage(*f.view, "e3"), plainE3);

  f.settings.settings.arrowLast = true;  // the arrow of 1.e4 crosses e3
  f.view->Refresh();
  EXPECT_NE(SquareImage(*f.view, "e3"), plainE3);
  f.settings.settings.arrowLast = false;
  f.view->Refresh();
  EXPECT_EQ(SquareImage(*f.view, "e3"), plainE3);
}

TEST(BoardDrawingTest, TheBoardFollowsTheWidgetAndTheSizeCommands) {
  BoardFixture f;
  QSignalSpy sized(f.view.get(), &BoardView::PreferredSquareChanged);
  f.view->resize(1000, 1000);
  const int preferred = f.view->PreferredSquare();
  // In logical pixels, rounded outward at a fractional device pixel ratio.
  EXPECT_NEAR(f.view->SquareRect(0).width(), preferred, 1);
  f.view->SizeUp();
  EXPECT_EQ(f.view->PreferredSquare(), preferred + BoardView::kSquareStep);
  EXPECT_NEAR(f.view->SquareRect(0).width(), preferred + BoardView::kSquareStep, 1);
  ASSERT_EQ(sized.count(), 1);
  EXPECT_EQ(sized.at(0).at(0).toInt(), preferred + BoardView::kSquareStep);

  f.view->resize(200, 240);  // too small for the preferred size: the board shrinks to fit
  const QRect board = f.view->SquareRect(SquareNamed("a8")).united(f.view->SquareRect(SquareNamed("h1")));
  EXPECT_LT(f.view->SquareRect(0).width(), preferred);
  EXPECT_TRUE(f.view->rect().contains(board));

  for (int i = 0; i < 100; ++i) f.view->SizeDown();
  EXPECT_EQ(f.view->PreferredSquare(), BoardView::kMinSquare);
  for (int i = 0; i < 100; ++i) f.view->SizeUp();
  EXPECT_EQ(f.view->PreferredSquare(), BoardView::kMaxSquare);

  f.view->ShowGame(nullptr);  // the empty frame: no square holds a piece to take up
  f.view->resize(500, 500);
  EXPECT_GE(f.view->SquareAt(f.view->SquareRect(SquareNamed("e2")).center()), 0);
  f.Click("e2");
  EXPECT_EQ(f.view->HeldSquare(), -1);
}

TEST(BoardDrawingTest, SideBoardsShowTheLineEndAndTheStoredPositions) {
  BoardFixture f;
  ASSERT_TRUE(PlayMoves(f.game, "e2e4 e7e5"));
  CmStorePosition(f.game, 3);
  const NodeRef stored = f.game.current;
  ASSERT_TRUE(PlayMoves(f.game, "g1f3 b8c6"));
  const BoardSquares end = f.game.board;
  GoBack(f.game, 2);

  PreviewWindow preview(f.settings);
  preview.ShowGame(&f.game);
  EXPECT_EQ(preview.Board().Position(), end);
  EXPECT_TRUE(preview.LineText().contains(QStringLiteral("f3"))) << preview.LineText().toStdString();

  StoredPositionWindow slots(f.settings);
  slots.ShowGame(&f.game);
  EXPECT_EQ(slots.ShownSlot(), 3);
  EXPECT_EQ(slots.Board().Position(), BoardAt(f.store, stored));
  EXPECT_TRUE(slots.Caption().startsWith(QStringLiteral("Ctrl+3")));
  CmStorePosition(f.game, 7);
  slots.ShowSlot(7);
  EXPECT_EQ(slots.ShownSlot(), 7);
  EXPECT_EQ(slots.Board().Position(), f.game.board);
  slots.ShowSlot(5);  // an empty slot cannot be shown
  EXPECT_EQ(slots.ShownSlot(), 7);
  CmRemoveAllStored(f.game);
  slots.Refresh();
  EXPECT_EQ(slots.ShownSlot(), -1);
  slots.ShowGame(nullptr);
  preview.ShowGame(nullptr);
  EXPECT_EQ(preview.Board().Position(), BoardSquares{});
}

}  // namespace
}  // namespace varnock::testing
