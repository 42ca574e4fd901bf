#include "app/BoardView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/MoveGen.h"
#include "core/Notation.h"
#include "render/BoardFrame.h"
#include "render/BoardPainter.h"
#include "render/ChessFontMap.h"
#include "render/DisplayText.h"
#include "tree/GameTree.h"
#include "tree/MoveEntry.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr int kPad = 4;  // logical pixels around the board's block

// The output cell (column, row) of a model square, and back.
QPoint CellOf(int square, bool reversed) {
  const int file = FileOf(square), row = RowOf(square);
  return reversed ? QPoint(7 - file, 7 - row) : QPoint(file, row);
}

int SquareOfCell(int column, int row, bool reversed) {
  return reversed ? varnock::SquareAt(7 - column, 7 - row) : varnock::SquareAt(column, row);
}

QColor ColourOf(ColourWord colour) { return ToQColor(colour); }

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  return text;
}

}  // namespace

BoardView::BoardView(const Settings& settings, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      prompt_(prompt, settings.settings),
      preferredSquare_(std::clamp(settings.application.sizeChs, kMinSquare, kMaxSquare)) {
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  Refresh();
}

BoardView::~BoardView() = default;

void BoardView::ShowGame(GameTree* game) {
  if (game != game_) Release();
  game_ = game;
  Refresh();
}

void BoardView::SetCaptionSource(std::function<BoardCaptionValues()> source) {
  captionSource_ = std::move(source);
  Refresh();
}

void BoardView::Refresh() {
  const SettingsSection& s = settings_.settings;
  captionTexts_.clear();
  moveText_.clear();
  commentText_.clear();
  if (game_ && captionSource_) {
    BoardCaptionValues values = captionSource_();
    values.showPlayers = s.showPlayers;
    values.showFile = s.showFile;
    captionTexts_ = CaptionLines(values);
  }
  if (game_) {
    const NodeStore& store = game_->Store();
    const NodeRef current = game_->current;
    if (current != kNoNode && store.Valid(current)) {
      const MoveNode& node = store.Node(current);
      const bool composedStart = node.parent == kNoNode && node.Has(kFlagComposed);
      moveText_ = MoveCaption(CurrentMoveText(store, current, s.shortNotation, {s.pieceInitials}, true), composedStart);
      if (s.showText)
        if (const std::string* comment = store.Comment(current, NodeStore::kAfter)) commentText_ = OneLine(*comment);
    }
    if (held_ >= 0 && (heldAt_ != current || !IsOwnPiece(held_))) Release();
  }
  Relayout();
  update();
}

void BoardView::SizeUp() {
  const int next = std::min(preferredSquare_ + kSquareStep, kMaxSquare);
  if (next == preferredSquare_) return;
  preferredSquare_ = next;
  updateGeometry();
  Relayout();
  update();
  Q_EMIT PreferredSquareChanged(preferredSquare_);
}

void BoardView::SizeDown() {
  const int next = std::max(preferredSquare_ - kSquareStep, kMinSquare);
  if (next == preferredSquare_) return;
  preferredSquare_ = next;
  updateGeometry();
  Relayout();
  update();
  Q_EMIT PreferredSquareChanged(preferredSquare_);
}

bool BoardView::Reversed() const { return game_ && game_->boardFlipped; }

QPoint BoardView::DevicePoint(QPoint widgetPos) const {
  const double dpr = geometry_.dpr;
  return QPoint(static_cast<int>(std::floor(widgetPos.x() * dpr)), static_cast<int>(std::floor(widgetPos.y() * dpr)));
}

int BoardView::SquareAt(QPoint widgetPos) const {
  const QPoint p = DevicePoint(widgetPos);
  const QRect& board = geometry_.board;
  if (geometry_.tile <= 0 || !board.contains(p)) return -1;
  const int column = (p.x() - board.left()) / geometry_.tile, row = (p.y() - board.top()) / geometry_.tile;
  if (column < 0 || column > 7 || row < 0 || row > 7) return -1;
  return SquareOfCell(column, row, Reversed());
}

QRect BoardView::SquareDeviceRect(int square) const {
  if (square < 0 || square >= 64 || geometry_.tile <= 0) return {};
  const QPoint cell = CellOf(square, Reversed());
  const int a = geometry_.tile;
  return QRect(geometry_.board.left() + a * cell.x(), geometry_.board.top() + a * cell.y(), a, a);
}

QRect BoardView::SquareRect(int square) const {
  const QRectF device = SquareDeviceRect(square);
  if (device.isEmpty()) return {};
  const double dpr = geometry_.dpr;
  return QRectF(device.left() / dpr, device.top() / dpr, device.width() / dpr, device.height() / dpr).toAlignedRect();
}

QSize BoardView::sizeHint() const {
  const int side = 8 * preferredSquare_ + 2 * (kPad + 24);
  return QSize(side, side + 4 * QFontMetrics(font()).height());
}

QSize BoardView::minimumSizeHint() const { return QSize(8 * kMinSquare + 60, 8 * kMinSquare + 100); }

void BoardView::Relayout() {
  Geometry g;
  g.dpr = devicePixelRatioF();
  const SettingsSection& s = settings_.settings;
  const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
  captionFont_ = DeviceFont(s.font.value, dpi, g.dpr);
  borderFont_ = DeviceFont(s.fontBorder.value, dpi, g.dpr);
  const int lineHeight = QFontMetrics(captionFont_).height();
  const int pad = static_cast<int>(std::lround(kPad * g.dpr));
  const int width = static_cast<int>(std::lround(this->width() * g.dpr));
  const int height = static_cast<int>(std::lround(this->height() * g.dpr));
  const int above = static_cast<int>(captionTexts_.size()) * lineHeight;
  const int below = (s.showText ? 2 : 1) * lineHeight;
  g.margin = BoardMargin(borderFont_);
  const int fitWidth = (width - 2 * pad - 2 * g.margin) / 8;
  const int fitHeight = (height - 2 * pad - 2 * g.margin - above - below) / 8;
  const int preferred = static_cast<int>(std::lround(preferredSquare_ * g.dpr));
  g.tile = std::max(4, std::min({fitWidth, fitHeight, preferred}));
  const int side = 8 * g.tile;
  const int left = std::max(pad, (width - side - 2 * g.margin) / 2) + g.margin;
  int top = pad;
  for (std::size_t i = 0; i < captionTexts_.size(); ++i) {
    g.captionLines.emplace_back(left - g.margin, top, side + 2 * g.margin, lineHeight);
    top += lineHeight;
  }
  g.board = QRect(left, top + g.margin, side, side);
  const int textTop = g.board.bottom() + 1 + g.margin;
  g.moveLine = QRect(left - g.margin, textTop, side + 2 * g.margin, lineHeight);
  g.commentLine = QRect(left - g.margin, textTop + lineHeight, side + 2 * g.margin, lineHeight);
  geometry_ = g;
  tiles_.Update(s, g.tile);
}

void BoardView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Relayout();
}

bool BoardView::IsOwnPiece(int square) const {
  if (!game_ || square < 0 || square >= 64) return false;
  return (game_->board[static_cast<std::size_t>(square)] & game_->sideToMove) != 0;
}

void BoardView::Hold(int square) {
  held_ = square;
  heldAt_ = game_ ? game_->current : kNoNode;
  targets_.clear();
  if (game_) {
    const NodeHistory history(game_->Store(), game_->current);
    for (const Move& move : GenerateLegalMoves(game_->board, game_->kings, game_->sideToMove, history))
      if (move.from == square && std::find(targets_.begin(), targets_.end(), move.to) == targets_.end())
        targets_.push_back(move.to);
  }
  update();
}

void BoardView::Release() {
  if (held_ < 0 && !dragging_) return;
  held_ = -1;
  heldAt_ = kNoNode;
  targets_.clear();
  dragging_ = false;
  pressedHeld_ = false;
  update();
}

void BoardView::TryMove(int from, int to, QPoint globalPos) {
  if (!game_) return;
  const bool reversed = Reversed();
  const QPoint start = CellOf(from, reversed), end = CellOf(to, reversed);
  prompt_.PlaceNextPicker(this, globalPos, game_->sideToMove);
  Release();
  repaint();
  const EntryOutcome outcome = PlayMoveOnScreen(*game_, start.x(), start.y(), end.x(), end.y(), prompt_);
  // A refused move leaves its reason in the game's status text, which the
  // window's status line shows: the piece goes back without a box to click.
  Refresh();
  if (outcome == EntryOutcome::Refused) {
    Q_EMIT MoveRefused();
    return;
  }
  Q_EMIT GameEdited();
}

void BoardView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint pos = event->position().toPoint();
  const int square = SquareAt(pos);
  pressPos_ = dragPos_ = pos;
  pressedHeld_ = false;
  if (!game_ || square < 0) return Release();
  if (held_ >= 0) {
    if (square == held_) {
      pressedHeld_ = true;
      return;
    }
    // Another piece of the side to move is taken up instead, unless the next
    // move may break the rules (then any square is a target).
    if (IsOwnPiece(square) && !game_->invalidMovePermitted) return Hold(square);
    return TryMove(held_, square, event->globalPosition().toPoint());
  }
  if (IsOwnPiece(square)) Hold(square);
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
  if (held_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint pos = event->position().toPoint();
  if (!dragging_ && (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) dragging_ = true;
  if (dragging_) {
    dragPos_ = pos;
    update();
  }
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || held_ < 0) return;
  const QPoint pos = event->position().toPoint();
  if (dragging_) {
    dragging_ = false;
    const int square = SquareAt(pos);
    if (square < 0) return Release();
    if (square == held_) return update();  // put back: still held for a click on the target
    return TryMove(held_, square, event->globalPosition().toPoint());
  }
  if (pressedHeld_) Release();  // a second click on the held piece puts it down
}

void BoardView::contextMenuEvent(QContextMenuEvent* event) {
  Release();
  const int square = event->reason() == QContextMenuEvent::Mouse ? SquareAt(event->pos()) : -1;
  Q_EMIT ContextMenuRequested(square, event->globalPos());
}

void BoardView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && held_ >= 0) return Release();
  QWidget::keyPressEvent(event);
}

void BoardView::focusOutEvent(QFocusEvent* event) {
  if (dragging_) Release();
  QWidget::focusOutEvent(event);
}

void BoardView::paintEvent(QPaintEvent*) {
  if (!qFuzzyCompare(geometry_.dpr, devicePixelRatioF())) Relayout();
  const SettingsSection& s = settings_.settings;
  QPainter painter(this);
  painter.scale(1 / geometry_.dpr, 1 / geometry_.dpr);
  const QRect framed =
      geometry_.board.adjusted(-geometry_.margin, -geometry_.margin, geometry_.margin, geometry_.margin);
  const QRect device(QPoint(0, 0), size() * geometry_.dpr + QSize(1, 1));
  // The background around the frame; the frame and the squares cover the rest.
  for (const QRect& part : QRegion(device).subtracted(QRegion(framed)))
    painter.fillRect(part, ColourOf(s.colours.background));
  if (!tiles_.Ready()) return;
  const bool reversed = Reversed();
  BoardFrameOptions frame;
  frame.bevel = s.showBevel;
  frame.coordinates = s.optionAH == 1;
  frame.lowerCase = s.ahLower;
  frame.reversed = reversed;
  const SGridAttr& attributes = tiles_.Attributes();
  DrawBoardFrame(painter, attributes, geometry_.board, geometry_.margin, frame, borderFont_);
  BoardSquares shown{};
  BoardOverlay overlay;
  if (game_) {
    shown = game_->board;
    overlay = ArrowsOf(*game_, ArrowSettings{s.arrowLast, s.arrowNext, s.arrowVariations});
    overlay.selectedSquare = held_;
    if (dragging_ && held_ >= 0) shown[static_cast<std::size_t>(held_)] = 0;
  }
  DrawBoard(painter, tiles_.Strip(), attributes, shown, reversed, {geometry_.board.left(), geometry_.board.top()},
            overlay);
  DrawTargets(painter);
  DrawTexts(painter);
  DrawHeldPiece(painter);
}

void BoardView::DrawTargets(QPainter& painter) {
  if (held_ < 0 || targets_.empty() || !game_) return;
  const int a = geometry_.tile;
  QColor mark = tiles_.Attributes().Ink();
  mark.setAlpha(150);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (int square : targets_) {
    const QPoint cell = CellOf(square, Reversed());
    const QRectF box(geometry_.board.left() + a * cell.x(), geometry_.board.top() + a * cell.y(), a, a);
    if (game_->board[static_cast<std::size_t>(square)] != 0) {  // a capture: a ring inside the square
      const double w = std::max(2.0, a / 12.0);
      painter.setPen(QPen(mark, w));
      painter.setBrush(Qt::NoBrush);
      painter.drawEllipse(box.adjusted(w / 2 + 1, w / 2 + 1, -w / 2 - 1, -w / 2 - 1));
    } else {
      const double r = std::max(2.0, a / 6.0);
      painter.setPen(Qt::NoPen);
      painter.setBrush(mark);
      painter.drawEllipse(box.center(), r, r);
    }
  }
  painter.restore();
}

void BoardView::DrawTexts(QPainter& painter) {
  painter.save();
  painter.setFont(captionFont_);
  painter.setPen(ColourOf(settings_.settings.colours.font));
  const QFontMetrics metrics(captionFont_);
  for (std::size_t i = 0; i < captionTexts_.size() && i < geometry_.captionLines.size(); ++i) {
    const QRect& line = geometry_.captionLines[i];
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(DisplayText(captionTexts_[i]), Qt::ElideRight, line.width()));
  }
  painter.drawText(geometry_.moveLine, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(DisplayText(moveText_), Qt::ElideRight, geometry_.moveLine.width()));
  if (!commentText_.empty())
    painter.drawText(geometry_.commentLine, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(DisplayText(commentText_), Qt::ElideRight, geometry_.commentLine.width()));
  painter.restore();
}

// The dragged piece under the pointer: the black glyph of the same piece,
// which is its solid outline, in paper for a white piece, then the piece.
void BoardView::DrawHeldPiece(QPainter& painter) {
  if (!dragging_ || held_ < 0 || !game_) return;
  const std::uint8_t code = game_->board[static_cast<std::size_t>(held_)];
  const int tile = TileIndex(code, true);
  if (tile <= 0) return;
  const std::string_view map = CharacterMap(tiles_.Attributes().FontIndex());
  const int a = geometry_.tile;
  const QPoint centre = DevicePoint(dragPos_);
  const QRect box(centre.x() - a / 2, centre.y() - a / 2, a, a);
  painter.save();
  painter.setFont(tiles_.PieceFont());
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  if (code & kWhite) {
    painter.setPen(tiles_.Attributes().Paper());
    painter.drawText(box, Qt::AlignCenter, QString(QChar::fromLatin1(map[static_cast<std::size_t>(tile - 6)])));
  }
  painter.setPen(tiles_.Attributes().Ink());
  painter.drawText(box, Qt::AlignCenter, QString(QChar::fromLatin1(map[static_cast<std::size_t>(tile)])));
  painter.restore();
}

}  // namespace varnock
