// varnock: the desktop program.
#include <QApplication>

#include "app/FrameWin.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  varnock::FrameWin window;
  window.show();
  return application.exec();
}
