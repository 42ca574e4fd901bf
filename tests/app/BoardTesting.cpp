#include "BoardTesting.h"

#include <QApplication>
#include <QMouseEvent>
#include <filesystem>
#include <sstream>

#include "render/ChessFontFiles.h"
#include "tree/MoveEntry.h"

namespace varnock::testing {

namespace {

void Send(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

}  // namespace

void LoadBoardFonts() {
  static const bool loaded = [] {
    ScriptedPrompt prompt;
    return LoadChessFonts(std::filesystem::path(VARNOCK_DATA_DIR) / "Fonts", prompt) == 5;
  }();
  (void)loaded;
}

int SquareNamed(const std::string& name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

bool PlayMoves(GameTree& game, const std::string& moves) {
  std::istringstream in(moves);
  std::string move;
  ScriptedPrompt prompt;
  while (in >> move) {
    if (PlayMove(game, SquareNamed(move.substr(0, 2)), SquareNamed(move.substr(2, 2)), prompt) == EntryOutcome::Refused)
      return false;
  }
  return true;
}

BoardFixture::BoardFixture() {
  LoadBoardFonts();
  view = std::make_unique<BoardView>(settings, prompt);
  view->resize(460, 520);
  view->show();
  view->ShowGame(&game);
}

QPoint BoardFixture::Centre(const std::string& square) const { return view->SquareRect(SquareNamed(square)).center(); }

void BoardFixture::Press(const std::string& square) {
  Send(*view, QEvent::MouseButtonPress, Centre(square), Qt::LeftButton, Qt::LeftButton);
}

void BoardFixture::Release(const std::string& square) {
  Send(*view, QEvent::MouseButtonRelease, Centre(square), Qt::LeftButton, Qt::NoButton);
}

void BoardFixture::Click(const std::string& square) {
  Press(square);
  Release(square);
}

void BoardFixture::DragOver(const std::string& from, const std::string& to) {
  Press(from);
  const QPoint start = Centre(from), end = Centre(to);
  for (int step = 1; step <= 4; ++step)
    Send(*view, QEvent::MouseMove, start + (end - start) * step / 4, Qt::NoButton, Qt::LeftButton);
}

void BoardFixture::Drag(const std::string& from, const std::string& to) {
  DragOver(from, to);
  Release(to);
}

}  // namespace varnock::testing
