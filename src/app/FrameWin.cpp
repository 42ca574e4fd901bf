#include "app/FrameWin.h"

#include <QLabel>

namespace varnock {

FrameWin::FrameWin(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Varnock"));
  setCentralWidget(new QLabel(QStringLiteral("Varnock"), this));
}

FrameWin::~FrameWin() = default;

}  // namespace varnock
