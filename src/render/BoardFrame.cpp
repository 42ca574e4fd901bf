#include "render/BoardFrame.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <algorithm>

#include "render/SGridAttr.h"

namespace varnock {

namespace {

void DrawBevel(QPainter& painter, const SGridAttr& attributes, const QRect& board) {
  const int w = kBevelWidth;
  const QRect outer = board.adjusted(-w, -w, w, w);
  const QPoint tl = outer.topLeft(), tr = outer.topRight() + QPoint(1, 0), bl = outer.bottomLeft() + QPoint(0, 1),
               br = outer.bottomRight() + QPoint(1, 1);
  const QPoint itl = board.topLeft(), itr = board.topRight() + QPoint(1, 0), ibl = board.bottomLeft() + QPoint(0, 1),
               ibr = board.bottomRight() + QPoint(1, 1);
  painter.setPen(Qt::NoPen);
  painter.setBrush(attributes.LightShade());
  painter.drawPolygon(QPolygon({tl, tr, itr, itl}));
  painter.drawPolygon(QPolygon({tl, itl, ibl, bl}));
  painter.setBrush(attributes.DarkShade());
  painter.drawPolygon(QPolygon({bl, ibl, ibr, br}));
  painter.drawPolygon(QPolygon({tr, br, ibr, itr}));
}

}  // namespace

int BoardMargin(const QFont& font) {
  const QFontMetrics metrics(font);
  return std::max(metrics.height() + 2 * kFrameInset, kBevelWidth + 2);
}

void DrawBoardFrame(QPainter& painter, const SGridAttr& attributes, const QRect& board, int margin,
                    const BoardFrameOptions& options, const QFont& font) {
  painter.save();
  const QRect outer = board.adjusted(-margin, -margin, margin, margin);
  if (options.bevel) {
    painter.fillRect(outer, attributes.Paper());
    DrawBevel(painter, attributes, board);
  } else {
    painter.fillRect(outer, attributes.Ink());
    painter.fillRect(outer.adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset), attributes.Paper());
  }
  painter.setFont(font);
  painter.setPen(attributes.Ink());
  const int a = board.width() / 8;
  const int edge = options.bevel ? kBevelWidth : 0;
  if (options.coordinates) {
    for (int i = 0; i < 8; ++i) {
      const int rank = options.reversed ? i + 1 : 8 - i;
      const QRect left(outer.left(), board.top() + i * a, margin - edge, a);
      painter.drawText(left, Qt::AlignCenter, QString::number(rank));
      const char letter = static_cast<char>((options.lowerCase ? 'a' : 'A') + (options.reversed ? 7 - i : i));
      const QRect below(board.left() + i * a, board.bottom() + 1 + edge, a, margin - edge);
      painter.drawText(below, Qt::AlignCenter, QString(QChar::fromLatin1(letter)));
    }
  } else if (options.reversed) {
    const QRect top(board.right() + 1 + edge, board.top(), margin - edge, a);
    const QRect bottom(board.right() + 1 + edge, board.bottom() + 1 - a, margin - edge, a);
    painter.drawText(top, Qt::AlignCenter, QStringLiteral("W "));
    painter.drawText(bottom, Qt::AlignCenter, QStringLiteral("B "));
  }
  painter.restore();
}

}  // namespace varnock
