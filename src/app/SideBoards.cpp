#include "app/SideBoards.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/Notation.h"
#include "render/BoardPainter.h"
#include "render/DisplayText.h"
#include "render/ScoreLayout.h"
#include "tree/GameTree.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr int kFrame = 2;  // logical pixels of ink around a small board

std::string MoveTextOf(const GameTree& game, NodeRef node, const SettingsSection& s) {
  return CurrentMoveText(game.Store(), node, s.shortNotation, {s.pieceInitials});
}

}  // namespace

MiniBoard::MiniBoard(const Settings& settings, QWidget* parent) : QWidget(parent), settings_(settings) {
  setMinimumSize(8 * 12 + 2 * kFrame, 8 * 12 + 2 * kFrame);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void MiniBoard::SetPosition(const BoardSquares& board, bool reversed) {
  board_ = board;
  reversed_ = reversed;
  update();
}

void MiniBoard::SetEmpty() { SetPosition(BoardSquares{}, false); }

void MiniBoard::paintEvent(QPaintEvent*) {
  const double dpr = devicePixelRatioF();
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(settings_.settings.colours.background));
  const int frame = static_cast<int>(std::lround(kFrame * dpr));
  const int width = static_cast<int>(std::lround(this->width() * dpr));
  const int height = static_cast<int>(std::lround(this->height() * dpr));
  const int tile = std::max(2, (std::min(width, height) - 2 * frame) / 8);
  tiles_.Update(settings_.settings, tile);
  painter.scale(1 / dpr, 1 / dpr);
  const QRect board((width - 8 * tile) / 2, (height - 8 * tile) / 2, 8 * tile, 8 * tile);
  painter.fillRect(board.adjusted(-frame, -frame, frame, frame), tiles_.Attributes().Ink());
  DrawBoard(painter, tiles_.Strip(), tiles_.Attributes(), board_, reversed_, {board.left(), board.top()});
}

void MiniBoard::mouseDoubleClickEvent(QMouseEvent*) { Q_EMIT DoubleClicked(); }

PreviewWindow::PreviewWindow(const Settings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), board_(new MiniBoard(settings, this)), moves_(new QPlainTextEdit(this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  moves_->setReadOnly(true);
  moves_->setLineWrapMode(QPlainTextEdit::NoWrap);
  moves_->setFocusPolicy(Qt::NoFocus);
  const TextFont& font = settings.settings.fontMoves.value;
  QFont moveFont(QString::fromStdString(font.face), std::clamp(font.pointSize, 4, 96));
  moveFont.setStyleHint(QFont::Monospace);
  moves_->setFont(moveFont);
  moves_->setTabStopDistance(QFontMetricsF(moveFont).horizontalAdvance(QLatin1Char('0')) * 8);
  column->addWidget(moves_, 1);
  column->addWidget(board_, 1);
  Refresh();
}

void PreviewWindow::ShowGame(GameTree* game) {
  game_ = game;
  Refresh();
}

void PreviewWindow::Refresh() {
  if (!game_) {
    board_->SetEmpty();
    moves_->clear();
    return;
  }
  const SettingsSection& s = settings_.settings;
  ScoreLayoutOptions options;
  options.initials = s.pieceInitials;
  options.shortNotation = s.shortNotation;
  ScoreLayout layout(kPreviewLayout, options);
  QStringList lines;
  int currentLine = -1;
  for (const ScoreParagraph& paragraph : layout.Layout(*game_, false)) {
    for (const MoveSpan& span : paragraph.moves)
      if (span.node == game_->current) currentLine = static_cast<int>(lines.size());
    // Every row begins with the tab of the game text's left margin, which a
    // narrow side window does without.
    const bool margin = !paragraph.text.empty() && paragraph.text[0] == '\t';
    lines << DisplayText(margin ? paragraph.text.substr(1) : paragraph.text);
  }
  moves_->setPlainText(lines.join(QLatin1Char('\n')));
  QList<QTextEdit::ExtraSelection> marks;
  if (currentLine >= 0) {
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(moves_->document()->findBlockByNumber(currentLine));
    mark.format.setBackground(ToQColor(s.colours.box3));
    mark.format.setForeground(ToQColor(s.colours.fontHighMove));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks << mark;
    moves_->setTextCursor(mark.cursor);
    moves_->ensureCursorVisible();
  }
  moves_->setExtraSelections(marks);
  const NodeRef end = game_->lineEnd != kNoNode ? game_->lineEnd : game_->current;
  board_->SetPosition(BoardAt(game_->Store(), end), game_->boardFlipped);
}

QString PreviewWindow::LineText() const { return moves_->toPlainText(); }

StoredPositionWindow::StoredPositionWindow(const Settings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), board_(new MiniBoard(settings, this)), caption_(new QLabel(this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  auto* row = new QHBoxLayout;
  row->setSpacing(1);
  for (int slot = 0; slot < 10; ++slot) {
    auto* button = new QToolButton(this);
    button->setText(QString::number(slot));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolTip(QStringLiteral("Ctrl+%1").arg(slot));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, slot] { ShowSlot(slot); });
    slots_[static_cast<std::size_t>(slot)] = button;
    row->addWidget(button);
  }
  row->addStretch(1);
  column->addLayout(row);
  column->addWidget(board_, 1);
  column->addWidget(caption_);
  connect(board_, &MiniBoard::DoubleClicked, this, [this] {
    if (shown_ >= 0) Q_EMIT RecallRequested(shown_);
  });
  Refresh();
}

NodeRef StoredPositionWindow::SlotNode(int slot) const {
  if (!game_ || slot < 0 || slot > 9) return kNoNode;
  const NodeRef node = game_->storeSlots[static_cast<std::size_t>(slot)];
  return node != kNoNode && game_->Store().Valid(node) ? node : kNoNode;
}

void StoredPositionWindow::ShowGame(GameTree* game) {
  if (game != game_) shown_ = -1;
  game_ = game;
  Refresh();
}

void StoredPositionWindow::ShowSlot(int slot) {
  if (SlotNode(slot) != kNoNode) shown_ = slot;
  Refresh();
}

void StoredPositionWindow::Refresh() {
  if (SlotNode(shown_) == kNoNode) {
    shown_ = -1;
    for (int slot = 0; slot < 10 && shown_ < 0; ++slot)
      if (SlotNode(slot) != kNoNode) shown_ = slot;
  }
  for (int slot = 0; slot < 10; ++slot) {
    QToolButton* button = slots_[static_cast<std::size_t>(slot)];
    button->setEnabled(SlotNode(slot) != kNoNode);
    button->setChecked(slot == shown_);
  }
  if (shown_ < 0) {
    board_->SetEmpty();
    caption_->clear();
    return;
  }
  const NodeRef node = SlotNode(shown_);
  board_->SetPosition(BoardAt(game_->Store(), node), game_->boardFlipped);
  const std::string move = MoveTextOf(*game_, node, settings_.settings);
  caption_->setText(QStringLiteral("Ctrl+%1   %2").arg(shown_).arg(DisplayText(move)));
}

QString StoredPositionWindow::Caption() const { return caption_->text(); }

}  // namespace varnock
