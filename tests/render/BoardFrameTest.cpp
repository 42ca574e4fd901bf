// The margin around the board, the caption texts and the arrows a game asks for.
#include <gtest/gtest.h>

#include <QPainter>

#include "RenderTesting.h"
#include "render/BoardCaption.h"
#include "render/BoardFrame.h"
#include "render/BoardPainter.h"
#include "render/SGridAttr.h"

namespace varnock {
namespace {

QImage Framed(const BoardFrameOptions& options, const SGridAttr& attributes) {
  QImage image(8 * 20 + 60, 8 * 20 + 60, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  DrawBoardFrame(painter, attributes, QRect(30, 30, 160, 160), 30, options, QFont("DejaVu Sans", 10));
  return image;
}

// Pixels of text (smoothed ink) in an area.
int InkIn(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += qGray(image.pixel(x, y)) < 150;
  return count;
}

TEST(BoardFrame, ThinFrameBevelAndCoordinates) {
  testing::StartRenderSession();
  const SGridAttr attributes(BoardColours{}, 3);
  BoardFrameOptions options;
  QImage image = Framed(options, attributes);
  EXPECT_EQ(image.pixelColor(0, 100), attributes.Ink());
  EXPECT_EQ(image.pixelColor(2, 100), attributes.Ink());
  EXPECT_EQ(image.pixelColor(3, 100), attributes.Paper());
  EXPECT_EQ(image.pixelColor(100, 100), attributes.Paper());  // under the board
  EXPECT_EQ(InkIn(image, QRect(3, 30, 24, 160)), 0);          // no coordinates

  options.coordinates = true;
  image = Framed(options, attributes);
  EXPECT_GT(InkIn(image, QRect(3, 30, 24, 20)), 5);    // "8" beside the top rank
  EXPECT_GT(InkIn(image, QRect(30, 192, 20, 24)), 5);  // "a" below the a-file

  options = {};
  options.bevel = true;
  options.reversed = true;
  image = Framed(options, attributes);
  EXPECT_EQ(image.pixelColor(25, 100), attributes.LightShade());  // left
  EXPECT_EQ(image.pixelColor(100, 25), attributes.LightShade());  // top
  EXPECT_EQ(image.pixelColor(195, 100), attributes.DarkShade());  // right
  EXPECT_EQ(image.pixelColor(100, 195), attributes.DarkShade());  // bottom
  EXPECT_EQ(image.pixelColor(0, 100), attributes.Paper());
  EXPECT_GT(InkIn(image, QRect(203, 30, 25, 20)), 5);  // "W " at the top right
}

TEST(BoardCaption, PartsAndMarks) {
  BoardCaptionValues values;
  values.place = 3;
  values.count = 12;
  values.white = "Tal";
  values.movesChanged = true;
  values.fileName = "/home/u/games/club.pgn";
  values.modified = true;
  EXPECT_EQ(CaptionLines(values), (std::vector<std::string>{"[3/12]   Tal / (null) **", "club.pgn **"}));
  values.count = 1;
  values.white.clear();
  values.board = "4";
  values.showFile = false;
  EXPECT_EQ(CaptionLines(values), (std::vector<std::string>{"[4] **"}));
  values.board.clear();
  EXPECT_TRUE(CaptionLines(values).empty());  // nothing to mark as changed
  EXPECT_EQ(MoveCaption("12. Ng1-f3", true), "( composed )");
}

TEST(BoardPainter, ArrowsOfTheCurrentMove) {
  NodeStore store;
  auto game = testing::ReadPgnGame("1. e4 e5 (1... c5) (1... e6) 2. Nf3 *\n", store);
  ASSERT_TRUE(game);
  GameTree& tree = game->Tree();
  tree.current = store.Node(tree.root).next;  // after 1. e4
  const BoardOverlay overlay = ArrowsOf(tree, {true, true, true});
  ASSERT_EQ(overlay.variationArrows.size(), 2u);
  EXPECT_EQ(overlay.variationArrows[0].from, 10);  // c7
  EXPECT_EQ(overlay.variationArrows[1].to, 20);    // e6
  ASSERT_TRUE(overlay.previousArrow && overlay.nextArrow);
  EXPECT_EQ(overlay.previousArrow->to, 36);  // e4
  EXPECT_EQ(overlay.nextArrow->to, 28);      // e5
  const BoardOverlay none = ArrowsOf(tree, {});
  EXPECT_TRUE(none.variationArrows.empty() && !none.previousArrow && !none.nextArrow);
  tree.current = tree.root;
  EXPECT_FALSE(ArrowsOf(tree, {true, true, false}).previousArrow);
}

}  // namespace
}  // namespace varnock
