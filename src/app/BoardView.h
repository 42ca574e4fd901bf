// The board of the main window: the current position of the shown game in
// the chosen chess font, with its caption, coordinates and arrows, and move
// entry with the mouse (drag and drop, or a click on the piece and a click
// on the target square).
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/BoardTiles.h"
#include "app/PromotionPicker.h"
#include "core/UserPrompt.h"
#include "render/BoardCaption.h"
#include "settings/Settings.h"
#include "tree/MoveNode.h"

namespace varnock {

class GameTree;

class BoardView : public QWidget {
  Q_OBJECT
 public:
  // Square sizes "Size &Up" and "Size &Down" step between, in logical pixels.
  static constexpr int kMinSquare = 16;
  static constexpr int kMaxSquare = 160;
  static constexpr int kSquareStep = 4;

  BoardView(const Settings& settings, UserPrompt& prompt, QWidget* parent = nullptr);
  ~BoardView() override;

  void ShowGame(GameTree* game);  // nullptr shows the empty frame; pulls and repaints
  void Refresh();                 // pull again from the same game (after any command)
  void SizeUp();
  void SizeDown();
  int SquareAt(QPoint widgetPos) const;  // 0..63 as the model indexes squares, -1 outside

  // The lines above the board need the collection (place, count, file name):
  // the window says where to read them; without a source only the move line
  // is shown.
  void SetCaptionSource(std::function<BoardCaptionValues()> source);

  // The preferred square size in logical pixels ("SizeCHS"); the board draws
  // smaller when the widget is too small for it.
  int PreferredSquare() const { return preferredSquare_; }
  // The square of the model's index as drawn, in widget coordinates; empty
  // when no board is drawn.
  QRect SquareRect(int square) const;
  // The same square in the device pixels the board is drawn in.
  QRect SquareDeviceRect(int square) const;
  // The square held for a move (selected or dragged), or -1, and the squares
  // marked as its legal targets.
  int HeldSquare() const { return held_; }
  const std::vector<int>& TargetSquares() const { return targets_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 Q_SIGNALS:
  void GameEdited();   // the tree changed (a move entered, or an existing one followed)
  void MoveRefused();  // a move was refused or abandoned: the game's status text says why
  void ContextMenuRequested(int square, QPoint globalPos);
  void PreferredSquareChanged(int square);  // "Size &Up"/"Size &Down": the window stores "SizeCHS"

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  struct Geometry {
    double dpr = 1;
    int tile = 0;  // device pixels
    int margin = 0;
    QRect board;  // the 64 squares, device pixels
    std::vector<QRect> captionLines;
    QRect moveLine, commentLine;
  };

  void Relayout();
  void Hold(int square);
  void Release();
  void TryMove(int from, int to, QPoint globalPos);
  bool IsOwnPiece(int square) const;
  bool Reversed() const;
  QPoint DevicePoint(QPoint widgetPos) const;
  void DrawHeldPiece(QPainter& painter);
  void DrawTargets(QPainter& painter);
  void DrawTexts(QPainter& painter);

  const Settings& settings_;
  BoardPrompt prompt_;
  GameTree* game_ = nullptr;
  std::function<BoardCaptionValues()> captionSource_;
  int preferredSquare_;

  Geometry geometry_;
  BoardTiles tiles_;
  QFont captionFont_, borderFont_;
  std::vector<std::string> captionTexts_;
  std::string moveText_, commentText_;

  // Move entry: the held square, whether it is being dragged, where.
  int held_ = -1;
  NodeRef heldAt_ = kNoNode;  // the position the hold was made in
  std::vector<int> targets_;
  bool dragging_ = false;
  bool pressedHeld_ = false;  // the press went down on the square already held
  QPoint pressPos_, dragPos_;
};

}  // namespace varnock
