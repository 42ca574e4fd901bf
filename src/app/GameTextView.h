// The game score of the main window: the rows of the game-text layout drawn
// in the settings' fonts and colours, the current move highlighted and kept
// in view. A step through the game only moves the highlight; the rows are
// laid out again only when the tree, the game or the display settings
// changed. Only the rows in view are painted.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "render/ScoreParagraph.h"
#include "settings/Settings.h"
#include "tree/GameTree.h"

namespace varnock {

class GameTextView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit GameTextView(const Settings& settings, QWidget* parent = nullptr);

  // The game to show (nullptr: none); laid out at once.
  void ShowGame(GameTree* game);
  // Pulls again from the same game: lays out only when something changed,
  // else moves the highlight to the current move and keeps it in view.
  void Refresh();

  // The "&Game Tree ..." commands: they scroll without moving in the game.
  void ScrollLines(int lines);
  void ScrollPages(int pages);
  void ScrollToTop();
  void ScrollToBottom();

  // The first line in view, to keep with a game and give back to it.
  int TopLine() const;
  void SetTopLine(int line);

  // What is shown, for the window and its tests.
  int LineCount() const { return static_cast<int>(lines_.size()); }
  QString LineText(int line) const;
  const std::vector<ScoreParagraph>& Rows() const { return rows_; }
  NodeRef Highlighted() const { return highlighted_; }
  int LineOfNode(NodeRef node) const;
  // The node under a point of the viewport: a move, else the move a row
  // belongs to (a comment, result or marks); kNoNode elsewhere.
  NodeRef NodeAt(QPoint viewportPos) const;
  // Where the node's move text is drawn in the viewport (empty when it is
  // not on a line in view).
  QRect MoveRect(NodeRef node) const;
  // How many times the rows were laid out since the view was made.
  int LayoutCount() const { return layoutCount_; }
  int LineHeight() const { return lineHeight_; }

 Q_SIGNALS:
  void NodeClicked(NodeRef node);
  void ContextMenuRequested(NodeRef node, QPoint globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  enum class Style : std::uint8_t { Move, Branch, Comment, Result, Marks };
  // A stretch of one line drawn in one style at one place.
  struct Piece {
    QString text;
    int x = 0;
    int width = 0;
    NodeRef node = kNoNode;  // the move it shows, if it is a move
  };
  struct Line {
    int row = 0;
    Style style = Style::Move;
    std::vector<Piece> pieces;
  };
  // What the layout depends on beside the tree.
  struct DisplayKey {
    GameTree* game = nullptr;
    int gameId = 0;
    std::uint64_t revision = 0;
    std::string initials;
    bool shortNotation = false;
    TextFont fonts[5];
    bool operator==(const DisplayKey&) const = default;
  };

  DisplayKey CurrentKey() const;
  void Relayout();
  void BuildLines();
  void AddColumnLine(int row, Style style);
  void AddWrappedLines(int row, Style style);
  const QFont& FontOf(Style style) const;
  void UpdateScrollRange();
  void MoveHighlight();
  void KeepInView(int line);
  int VisibleLines() const;
  QRect LineRect(int line) const;

  const Settings& settings_;
  GameTree* game_ = nullptr;
  DisplayKey key_;
  std::vector<ScoreParagraph> rows_;
  std::vector<Line> lines_;
  std::unordered_map<NodeRef, std::pair<int, int>> pieceOfNode_;  // line and piece of each move
  NodeRef highlighted_ = kNoNode;
  bool utf8_ = true;
  QFont moveFont_, highFont_, branchFont_, commentFont_, marksFont_;
  int lineHeight_ = 16;
  int indent_ = 8;
  int whiteColumn_ = 100;  // width of the White move column
  int wrappedWidth_ = -1;  // the viewport width the comments were wrapped for
  int layoutCount_ = 0;
};

}  // namespace varnock
