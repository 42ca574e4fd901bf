#include "app/GameTextView.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

#include "app/GameTextFonts.h"
#include "render/DisplayText.h"
#include "render/GameTextLines.h"

namespace varnock {

GameTextView::GameTextView(const Settings& settings, QWidget* parent)
    : QAbstractScrollArea(parent), settings_(settings) {
  setFocusPolicy(Qt::ClickFocus);  // a click takes the focus from a comment pane, which then stores its text
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  viewport()->setAutoFillBackground(false);
  key_ = CurrentKey();
  Relayout();
}

GameTextView::DisplayKey GameTextView::CurrentKey() const {
  const SettingsSection& s = settings_.settings;
  DisplayKey key;
  key.game = game_;
  key.gameId = game_ ? game_->gameId : 0;
  key.revision = game_ ? game_->Revision() : 0;
  key.initials = s.pieceInitials;
  key.shortNotation = s.shortNotation;
  key.fonts[0] = s.fontMoves.value;
  key.fonts[1] = s.fontHighMove.value;
  key.fonts[2] = s.fontBranch.value;
  key.fonts[3] = s.fontComment.value;
  key.fonts[4] = s.font.value;
  return key;
}

void GameTextView::ShowGame(GameTree* game) {
  const bool other = game != game_ || (game && game->gameId != key_.gameId);
  game_ = game;
  if (other) verticalScrollBar()->setValue(0);
  Relayout();
}

void GameTextView::Refresh() {
  // A current move the rows do not show means the tree changed unnoticed.
  const bool lost =
      game_ && game_->current != highlighted_ && game_->current != game_->root && LineOfNode(game_->current) < 0;
  if (lost || CurrentKey() != key_) {
    Relayout();
    return;
  }
  MoveHighlight();
}

void GameTextView::Relayout() {
  key_ = CurrentKey();
  ++layoutCount_;
  const SettingsSection& s = settings_.settings;
  moveFont_ = QFontOf(s.fontMoves.value);
  highFont_ = QFontOf(s.fontHighMove.value);
  branchFont_ = QFontOf(s.fontBranch.value);
  commentFont_ = QFontOf(s.fontComment.value);
  marksFont_ = QFontOf(s.font.value);
  rows_.clear();
  if (game_) {
    ScoreLayoutOptions options;
    options.initials = s.pieceInitials;
    options.shortNotation = s.shortNotation;
    rows_ = GameTextLines(*game_, options);
  }
  // A game's texts are shown as UTF-8 when all of them are UTF-8.
  utf8_ = std::all_of(rows_.begin(), rows_.end(), [](const ScoreParagraph& row) { return IsValidUtf8(row.text); });
  int height = 0;
  for (const QFont* font : {&moveFont_, &highFont_, &branchFont_, &commentFont_, &marksFont_})
    height = std::max(height, QFontMetrics(*font).height());
  lineHeight_ = height + 4;
  const QFontMetrics moves(moveFont_);
  indent_ = moves.horizontalAdvance(QLatin1Char(' '));
  // The White column is as wide as its widest move, and two blanks.
  int widest = moves.horizontalAdvance(QStringLiteral("  1.  Ng1-f3"));
  for (const ScoreParagraph& row : rows_) {
    if (row.kind != ParagraphKind::MainLine || row.text.size() < 2 || row.text[1] == '\t') continue;
    const std::size_t end = row.text.find('\t', 1);
    widest = std::max(widest, moves.horizontalAdvance(QString::fromLatin1(row.text.substr(1, end - 1))));
  }
  whiteColumn_ = widest + 2 * indent_;
  highlighted_ = kNoNode;
  BuildLines();
  MoveHighlight();
  viewport()->update();
}

const QFont& GameTextView::FontOf(Style style) const {
  switch (style) {
    case Style::Branch:
      return branchFont_;
    case Style::Comment:
      return commentFont_;
    case Style::Marks:
      return marksFont_;
    default:
      return moveFont_;
  }
}

void GameTextView::BuildLines() {
  lines_.clear();
  pieceOfNode_.clear();
  wrappedWidth_ = viewport()->width();
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    const int index = static_cast<int>(row);
    switch (rows_[row].kind) {
      case ParagraphKind::MainLine:
        AddColumnLine(index, Style::Move);
        break;
      case ParagraphKind::Variation:
        AddColumnLine(index, Style::Branch);
        break;
      case ParagraphKind::Result:
        AddColumnLine(index, Style::Result);
        break;
      case ParagraphKind::DiagramPlace:
        AddColumnLine(index, Style::Marks);
        break;
      case ParagraphKind::Comment:
        AddWrappedLines(index, Style::Comment);
        break;
    }
  }
  UpdateScrollRange();
}

// A row of columns: a tab moves to the next column (the indent, then the
// White and Black columns); each move becomes a piece of its own.
void GameTextView::AddColumnLine(int row, Style style) {
  const ScoreParagraph& paragraph = rows_[static_cast<std::size_t>(row)];
  const std::string& text = paragraph.text;
  const QFontMetrics metrics(FontOf(style));
  Line line;
  line.row = row;
  line.style = style;
  int x = 0;
  int column = 0;
  auto stop = [&](int k) { return k == 0 ? 0 : indent_ + (k - 1) * whiteColumn_; };
  auto addPiece = [&](std::size_t from, std::size_t to, NodeRef node) {
    if (to <= from) return;
    const QString piece = DecodeText(std::string_view(text).substr(from, to - from), utf8_);
    const int width = metrics.horizontalAdvance(piece);
    if (node != kNoNode || !piece.trimmed().isEmpty()) line.pieces.push_back({piece, x, width, node});
    x += width;
  };
  std::size_t span = 0;
  std::size_t run = 0;
  for (std::size_t i = 0; i <= text.size();) {
    const bool spanStarts = span < paragraph.moves.size() && paragraph.moves[span].start == i;
    if (i == text.size() || text[i] == '\t' || spanStarts) addPiece(run, i, kNoNode);
    if (i == text.size()) break;
    if (spanStarts) {
      const MoveSpan& move = paragraph.moves[span++];
      const std::size_t end = std::min<std::size_t>(text.size(), i + move.length);
      pieceOfNode_.try_emplace(move.node, static_cast<int>(lines_.size()), static_cast<int>(line.pieces.size()));
      addPiece(i, end, move.node);
      run = i = std::max(end, i + 1);
      continue;
    }
    if (text[i] == '\t') {
      ++column;
      while (stop(column) < x) ++column;
      x = stop(column);
      run = i + 1;
    }
    ++i;
  }
  lines_.push_back(std::move(line));
}

// A comment row, wrapped at blanks to the width of the view.
void GameTextView::AddWrappedLines(int row, Style style) {
  const QString text = DecodeText(rows_[static_cast<std::size_t>(row)].text, utf8_);
  const int width = std::max(8 * indent_, viewport()->width() - 2 * indent_);
  QTextLayout layout(text, FontOf(style));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  bool any = false;
  for (QTextLine wrapped = layout.createLine(); wrapped.isValid(); wrapped = layout.createLine()) {
    wrapped.setLineWidth(width);
    const QString part = text.mid(wrapped.textStart(), wrapped.textLength());
    lines_.push_back({row, style, {{part, indent_, static_cast<int>(wrapped.naturalTextWidth()), kNoNode}}});
    any = true;
  }
  layout.endLayout();
  if (!any) lines_.push_back({row, style, {}});
}

void GameTextView::UpdateScrollRange() {
  const int visible = VisibleLines();
  verticalScrollBar()->setPageStep(std::max(1, visible));
  verticalScrollBar()->setRange(0, std::max(0, LineCount() - visible));
}

int GameTextView::VisibleLines() const { return std::max(1, viewport()->height() / lineHeight_); }

QRect GameTextView::LineRect(int line) const {
  return QRect(0, (line - TopLine()) * lineHeight_, viewport()->width(), lineHeight_);
}

int GameTextView::LineOfNode(NodeRef node) const {
  const auto it = pieceOfNode_.find(node);
  return it == pieceOfNode_.end() ? -1 : it->second.first;
}

void GameTextView::MoveHighlight() {
  const NodeRef current = game_ ? game_->current : kNoNode;
  if (current == highlighted_) return;
  const int before = LineOfNode(highlighted_);
  const int after = LineOfNode(current);
  highlighted_ = current;
  if (before >= 0) viewport()->update(LineRect(before));
  if (after >= 0) {
    viewport()->update(LineRect(after));
    KeepInView(after);
  } else if (game_ && current == game_->root) {
    KeepInView(0);
  }
}

void GameTextView::KeepInView(int line) {
  const int visible = VisibleLines();
  const int margin = visible > 4 ? 1 : 0;
  const int top = TopLine();
  if (line - margin < top)
    SetTopLine(line - margin);
  else if (line + margin >= top + visible)
    SetTopLine(line + margin - visible + 1);
}

int GameTextView::TopLine() const { return verticalScrollBar()->value(); }
void GameTextView::SetTopLine(int line) { verticalScrollBar()->setValue(line); }

void GameTextView::ScrollLines(int lines) { SetTopLine(TopLine() + lines); }
void GameTextView::ScrollPages(int pages) { SetTopLine(TopLine() + pages * verticalScrollBar()->pageStep()); }
void GameTextView::ScrollToTop() { SetTopLine(0); }
void GameTextView::ScrollToBottom() { SetTopLine(verticalScrollBar()->maximum()); }

QString GameTextView::LineText(int line) const {
  if (line < 0 || line >= LineCount()) return {};
  QString text;
  for (const Piece& piece : lines_[static_cast<std::size_t>(line)].pieces) {
    if (!text.isEmpty()) text += QLatin1Char(' ');
    text += piece.text.simplified();
  }
  return text;
}

NodeRef GameTextView::NodeAt(QPoint pos) const {
  if (pos.y() < 0) return kNoNode;
  const int index = TopLine() + pos.y() / lineHeight_;
  if (index < 0 || index >= LineCount()) return kNoNode;
  const Line& line = lines_[static_cast<std::size_t>(index)];
  for (const Piece& piece : line.pieces)
    if (piece.node != kNoNode && pos.x() >= piece.x - indent_ / 2 && pos.x() < piece.x + piece.width + indent_ / 2)
      return piece.node;
  if (line.style == Style::Comment || line.style == Style::Result || line.style == Style::Marks)
    return rows_[static_cast<std::size_t>(line.row)].node;
  return kNoNode;
}

QRect GameTextView::MoveRect(NodeRef node) const {
  const auto it = pieceOfNode_.find(node);
  if (it == pieceOfNode_.end()) return {};
  const auto [line, piece] = it->second;
  if (line < TopLine() || line >= TopLine() + VisibleLines()) return {};
  const Piece& p = lines_[static_cast<std::size_t>(line)].pieces[static_cast<std::size_t>(piece)];
  return QRect(p.x, (line - TopLine()) * lineHeight_, p.width, lineHeight_);
}

void GameTextView::paintEvent(QPaintEvent* event) {
  const DisplayColours& colours = settings_.settings.colours;
  QPainter painter(viewport());
  painter.fillRect(event->rect(), QColorOf(colours.background));
  const int top = TopLine();
  const int first = std::max(top, top + event->rect().top() / lineHeight_);
  const int last = std::min(LineCount() - 1, top + event->rect().bottom() / lineHeight_);
  for (int index = first; index <= last; ++index) {
    const Line& line = lines_[static_cast<std::size_t>(index)];
    const int y = (index - top) * lineHeight_;
    for (const Piece& piece : line.pieces) {
      const bool high = piece.node != kNoNode && piece.node == highlighted_;
      const QFont& font = high ? highFont_ : FontOf(line.style);
      const QFontMetrics metrics(font);
      const int width = high ? metrics.horizontalAdvance(piece.text) : piece.width;
      const QRect box(piece.x - indent_ / 2, y + 1, width + indent_, lineHeight_ - 2);
      ColourWord ink = colours.fontMoves;
      if (high) {
        painter.fillRect(box, QColorOf(colours.box3));
        ink = colours.fontHighMove;
      } else if (line.style == Style::Branch) {
        painter.fillRect(box, QColorOf(colours.box2));
        ink = colours.fontBranch;
      } else if (line.style == Style::Comment || line.style == Style::Marks) {
        ink = colours.font;
      }
      painter.setFont(font);
      painter.setPen(QColorOf(ink));
      painter.drawText(piece.x, y + (lineHeight_ - metrics.height()) / 2 + metrics.ascent(), piece.text);
    }
  }
}

void GameTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (viewport()->width() != wrappedWidth_) {
    BuildLines();
  } else {
    UpdateScrollRange();
  }
  const int line = LineOfNode(highlighted_);
  if (line >= 0) KeepInView(line);
  viewport()->update();
}

void GameTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  const NodeRef node = NodeAt(event->position().toPoint());
  if (node != kNoNode) Q_EMIT NodeClicked(node);
}

void GameTextView::contextMenuEvent(QContextMenuEvent* event) {
  const NodeRef node = event->reason() == QContextMenuEvent::Mouse ? NodeAt(event->pos()) : highlighted_;
  if (node == kNoNode) return;
  const QPoint global = event->reason() == QContextMenuEvent::Mouse
                            ? event->globalPos()
                            : viewport()->mapToGlobal(MoveRect(node).bottomLeft());
  Q_EMIT ContextMenuRequested(node, global);
}

void GameTextView::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace varnock
