// The two index keys: lookup3 itself, the position key and the move-text hash.
#include <gtest/gtest.h>

#include <cstring>

#include "core/Legality.h"
#include "openings/Lookup3.h"
#include "openings/MoveTextHash.h"
#include "openings/PositionKey.h"

namespace varnock {
namespace {

TEST(Keys, Lookup3GivesItsPublishedValues) {
  EXPECT_EQ(HashLittle("", 0, 0), 0xdeadbeefu);
  EXPECT_EQ(HashLittle("", 0, 0xdeadbeef), 0xbd5b7ddeu);
  const char* text = "Four score and seven years ago";
  EXPECT_EQ(HashLittle(text, std::strlen(text), 0), 0x17770551u);
  EXPECT_EQ(HashLittle(text, std::strlen(text), 1), 0xcd628161u);
}

TEST(Keys, PositionKeys) {
  EXPECT_EQ(PositionKey(StartBoard, kWhite), 0x5a3279c5u);
  BoardSquares board = StartBoard;
  KingSquares kings;
  ApplyMove(board, kings, SquareAt(3, 6), SquareAt(3, 4), 0);  // d2d4
  ApplyMove(board, kings, SquareAt(1, 1), SquareAt(1, 3), 0);  // b7b5
  EXPECT_EQ(PositionKey(board, kWhite), 0x00f21dfcu);
  // The side to move is part of the key.
  EXPECT_NE(PositionKey(board, kBlack), PositionKey(board, kWhite));
  const PositionBytes bytes = PositionBytesOf(board, kBlack);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[1 + SquareAt(1, 3)], kBlack | kPawn);
}

TEST(Keys, MoveTextHash) {
  EXPECT_EQ(MoveTextHash(""), 0x1505u);
  EXPECT_EQ(MoveTextHash("e2e4"), 0x7c6cb703u);
  // Built up a move at a time, as classification builds it.
  EXPECT_EQ(ExtendMoveTextHash(MoveTextHash("e2e4"), "e7e5"), MoveTextHash("e2e4e7e5"));
}

}  // namespace
}  // namespace varnock
