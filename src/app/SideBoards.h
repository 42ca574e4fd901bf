// The side windows beside the main board: the preview window (the line of
// the current move and the position it ends in) and the stored-position
// window (the positions of the ten store slots). Both pull from the game the
// window hands them; neither changes it.
#pragma once

#include <QWidget>
#include <array>

#include "app/BoardTiles.h"
#include "core/Board.h"
#include "settings/Settings.h"
#include "tree/MoveNode.h"

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace varnock {

class GameTree;

// A small board: a position in the chess font, as large as the widget
// allows, sharp at any device pixel ratio.
class MiniBoard : public QWidget {
  Q_OBJECT
 public:
  explicit MiniBoard(const Settings& settings, QWidget* parent = nullptr);

  // The position shown; `empty` shows the squares without pieces.
  void SetPosition(const BoardSquares& board, bool reversed);
  void SetEmpty();
  const BoardSquares& Position() const { return board_; }

  QSize sizeHint() const override { return QSize(8 * 22 + 8, 8 * 22 + 8); }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width; }

 Q_SIGNALS:
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  const Settings& settings_;
  BoardTiles tiles_;
  BoardSquares board_{};
  bool reversed_ = false;
};

// "&Preview Window": the moves of the current line, the current one marked,
// above the position at the end of that line.
class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewWindow(const Settings& settings, QWidget* parent = nullptr);

  void ShowGame(GameTree* game);  // nullptr shows an empty board and no moves
  void Refresh();

  const MiniBoard& Board() const { return *board_; }
  QString LineText() const;

 private:
  const Settings& settings_;
  GameTree* game_ = nullptr;
  MiniBoard* board_;
  QPlainTextEdit* moves_;
};

// "&Stored Position": one button per store slot (enabled when the slot holds
// a position) and the position of the chosen slot. A double click on the
// board asks the window to go to that position (the Ctrl+digit command).
class StoredPositionWindow : public QWidget {
  Q_OBJECT
 public:
  explicit StoredPositionWindow(const Settings& settings, QWidget* parent = nullptr);

  void ShowGame(GameTree* game);
  void Refresh();

  // The slot shown (0..9), or -1 when no slot holds a position.
  int ShownSlot() const { return shown_; }
  void ShowSlot(int slot);
  const MiniBoard& Board() const { return *board_; }
  QString Caption() const;

 Q_SIGNALS:
  void RecallRequested(int slot);

 private:
  NodeRef SlotNode(int slot) const;

  const Settings& settings_;
  GameTree* game_ = nullptr;
  int shown_ = -1;
  std::array<QToolButton*, 10> slots_{};
  MiniBoard* board_;
  QLabel* caption_;
};

}  // namespace varnock
