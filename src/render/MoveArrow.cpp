#include "render/MoveArrow.h"

#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <cstdlib>

#include "core/Board.h"
#include "render/SGridAttr.h"

namespace varnock {

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// A segment and its copy one pixel to the left (vertical) or up (otherwise).
void AddSegment(std::vector<ArrowLine>& lines, ArrowPoint from, ArrowPoint to) {
  lines.push_back({from, to});
  const bool vertical = from.x == to.x;
  const int dx = vertical ? -1 : 0, dy = vertical ? 0 : -1;
  lines.push_back({{from.x + dx, from.y + dy}, {to.x + dx, to.y + dy}});
}

// The head at end point E for an arrow heading (sx, sy).
std::array<ArrowPoint, 3> Head(ArrowPoint e, int sx, int sy, int a) {
  const int u = 4 * a / 51, h = 5 * a / 51, g = 8 * a / 51, l = 10 * a / 51;
  if (sy == 0) return {{{e.x, e.y - h - 1}, {e.x, e.y + h + 1}, {e.x + sx * (l + 1), e.y}}};
  if (sx == 0) return {{{e.x - h - 1, e.y}, {e.x + h, e.y}, {e.x, e.y + sy * l}}};
  // Diagonal: the base runs across the arrow, ±u on both axes.
  return {{{e.x - u * sy, e.y + u * sx}, {e.x + u * sy, e.y - u * sx}, {e.x + g * sx, e.y + g * sy}}};
}

}  // namespace

std::optional<ArrowShape> ArrowShapeOf(int from, int to, bool reversed, ArrowPoint origin, int tileSize) {
  if (from == to || from < 0 || from > 63 || to < 0 || to > 63) return std::nullopt;
  auto mirror = [reversed](int n) { return reversed ? 7 - n : n; };
  const int ff = mirror(FileOf(from)), fr = mirror(RowOf(from));
  const int tf = mirror(FileOf(to)), tr = mirror(RowOf(to));
  const int a = tileSize;
  auto centre = [&](int file, int row) { return ArrowPoint{origin.x + a * file + a / 2, origin.y + a * row + a / 2}; };
  const int df = tf - ff, dr = tr - fr;
  const int sx = Sign(df), sy = Sign(dr);
  const int q = a / 4;
  const ArrowPoint f = centre(ff, fr), t = centre(tf, tr);

  ArrowShape shape;
  if (df == 0 || dr == 0 || std::abs(df) == std::abs(dr)) {
    const ArrowPoint end{t.x - q * sx, t.y - q * sy};
    AddSegment(shape.lines, {f.x + q * sx, f.y + q * sy}, end);
    shape.head = Head(end, sx, sy, a);
  } else if (std::abs(df) > std::abs(dr)) {
    // Along the row of F to the column of T, then along that column.
    const ArrowPoint corner{t.x, f.y};
    const ArrowPoint end{t.x, t.y - q * sy};
    AddSegment(shape.lines, {f.x + q * sx, f.y}, corner);
    AddSegment(shape.lines, corner, end);
    shape.head = Head(end, 0, sy, a);
  } else {
    // Along the column of F to the row of T, then along that row.
    const ArrowPoint corner{f.x, t.y};
    const ArrowPoint end{t.x - q * sx, t.y};
    AddSegment(shape.lines, {f.x, f.y + q * sy}, corner);
    AddSegment(shape.lines, corner, end);
    shape.head = Head(end, sx, 0, a);
  }
  return shape;
}

void DrawMoveArrow(QPainter& painter, const SGridAttr& attributes, int kind, int from, int to, bool reversed,
                   ArrowPoint origin, int tileSize) {
  const std::optional<ArrowShape> shape = ArrowShapeOf(from, to, reversed, origin, tileSize);
  if (!shape) return;
  const QColor colour = attributes.Arrow(kind);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colour, 1));
  for (const ArrowLine& line : shape->lines)
    painter.drawLine(QPoint(line.from.x, line.from.y), QPoint(line.to.x, line.to.y));
  painter.setBrush(colour);
  QPolygon head;
  for (const ArrowPoint& point : shape->head) head << QPoint(point.x, point.y);
  painter.drawPolygon(head);
  painter.restore();
}

}  // namespace varnock
