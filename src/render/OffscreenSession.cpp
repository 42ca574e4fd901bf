#include "render/OffscreenSession.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace varnock {

OffscreenSession::OffscreenSession(const char* programName) : name_(programName) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  argv_[0] = name_.data();
  // Start-up notes of the platform (such as a missing runtime folder) are
  // of no use off screen.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
      });
  application_ = std::make_unique<QGuiApplication>(argc_, argv_);
  qInstallMessageHandler(previous);
}

OffscreenSession::~OffscreenSession() = default;

}  // namespace varnock
