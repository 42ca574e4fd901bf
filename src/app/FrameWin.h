// The main window: one game of the open collection, shown as a board, the
// game text and the comment panes, with the menus, bars and the status line.
#pragma once

#include <QMainWindow>

namespace varnock {

class FrameWin : public QMainWindow {
  Q_OBJECT
 public:
  explicit FrameWin(QWidget* parent = nullptr);
  ~FrameWin() override;
};

}  // namespace varnock
