// The margin around the board: a thin ink frame or a bevel, and the
// coordinates.
#pragma once

#include <QFont>
#include <QRect>

class QPainter;

namespace varnock {

class SGridAttr;

inline constexpr int kBevelWidth = 12;
inline constexpr int kFrameInset = 3;

struct BoardFrameOptions {
  bool bevel = false;        // "ShowBevel"
  bool coordinates = false;  // "Option AH" = 1
  bool lowerCase = true;     // "AHLower"
  bool reversed = false;
};

// The margin a board needs around it for text in `font`.
int BoardMargin(const QFont& font);

// Draws the margin of width `margin` around `board` (the 8 x 8 squares):
// the frame or bevel, then the rank digits to the left and the file letters
// below, or, without coordinates on a reversed board, "W " at the top right
// and "B " at the bottom right.
void DrawBoardFrame(QPainter& painter, const SGridAttr& attributes, const QRect& board, int margin,
                    const BoardFrameOptions& options, const QFont& font);

}  // namespace varnock
