#include <gtest/gtest.h>

#include "render/MoveArrow.h"

namespace varnock {
namespace {

constexpr int kE2 = 52, kE4 = 36, kG1 = 62, kF3 = 45, kA1 = 56, kH8 = 7, kC3 = 42, kB5 = 25;

TEST(MoveArrow, StraightArrowIsPulledInAQuarterSquareAtBothEnds) {
  const auto shape = ArrowShapeOf(kE2, kE4, false, {0, 0}, 51);
  ASSERT_TRUE(shape);
  // e2 centre (229, 331), e4 centre (229, 229); q = 12.
  ASSERT_EQ(shape->lines.size(), 2u);
  EXPECT_EQ(shape->lines[0], (ArrowLine{{229, 319}, {229, 241}}));
  EXPECT_EQ(shape->lines[1], (ArrowLine{{228, 319}, {228, 241}}));  // one pixel to the left
  // Head up: base from 6 left to 5 right of the end, tip 10 above.
  EXPECT_EQ(shape->head[0], (ArrowPoint{223, 241}));
  EXPECT_EQ(shape->head[1], (ArrowPoint{234, 241}));
  EXPECT_EQ(shape->head[2], (ArrowPoint{229, 231}));
}

TEST(MoveArrow, KnightArrowTurnsOnceAndPointsAlongItsLastLeg) {
  const auto shape = ArrowShapeOf(kG1, kF3, false, {4, 4}, 51);
  ASSERT_TRUE(shape);
  ASSERT_EQ(shape->lines.size(), 4u);
  // Up the g-file from g1 to the level of f3, then left into f3.
  // g1 centre (335, 386), f3 centre (284, 284), q = 12.
  EXPECT_EQ(shape->lines[0], (ArrowLine{{335, 374}, {335, 284}}));
  EXPECT_EQ(shape->lines[2], (ArrowLine{{335, 284}, {296, 284}}));
  EXPECT_EQ(shape->lines[3], (ArrowLine{{335, 283}, {296, 283}}));  // one pixel up
  EXPECT_EQ(shape->head[2], (ArrowPoint{296 - 11, 284}));           // tip L + 1 to the left

  // c3-b5 also moves further along the file: the file comes first.
  const auto across = ArrowShapeOf(kC3, kB5, false, {0, 0}, 40);
  ASSERT_TRUE(across);
  EXPECT_EQ(across->lines[0].from.x, across->lines[0].to.x);  // first along the c-file
  // g1-e2 moves further along the rank: the rank comes first, the head points up.
  const auto along = ArrowShapeOf(kG1, kE2, false, {0, 0}, 40);
  ASSERT_TRUE(along);
  EXPECT_EQ(along->lines[0].from.y, along->lines[0].to.y);
  EXPECT_EQ(along->head[2].x, along->lines[2].to.x);
  EXPECT_LT(along->head[2].y, along->lines[2].to.y);
}

TEST(MoveArrow, DiagonalHeadsAndReversedBoards) {
  // a1-h8 on a reversed board runs from the top right to the bottom left.
  const auto shape = ArrowShapeOf(kA1, kH8, true, {0, 0}, 51);
  ASSERT_TRUE(shape);
  const ArrowPoint end = shape->lines[0].to;
  EXPECT_EQ(end, (ArrowPoint{25 + 12, 382 - 12}));
  EXPECT_EQ(shape->head[0], (ArrowPoint{end.x - 4, end.y - 4}));
  EXPECT_EQ(shape->head[1], (ArrowPoint{end.x + 4, end.y + 4}));
  EXPECT_EQ(shape->head[2], (ArrowPoint{end.x - 8, end.y + 8}));

  EXPECT_FALSE(ArrowShapeOf(kE2, kE2, false, {0, 0}, 51));
  EXPECT_FALSE(ArrowShapeOf(64, kE2, false, {0, 0}, 51));
  EXPECT_FALSE(ArrowShapeOf(kE2, -1, false, {0, 0}, 51));
}

}  // namespace
}  // namespace varnock
