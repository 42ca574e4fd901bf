// Qt's GUI session for drawing without a display, for programs that draw
// images but show no window.
#pragma once

#include <memory>
#include <string>

class QGuiApplication;

namespace varnock {

// Makes the session on the offscreen platform (unless QT_QPA_PLATFORM names
// another) and ends it when destroyed. Make one before any drawing and only
// where no application object exists yet.
class OffscreenSession {
 public:
  explicit OffscreenSession(const char* programName);
  ~OffscreenSession();
  OffscreenSession(const OffscreenSession&) = delete;
  OffscreenSession& operator=(const OffscreenSession&) = delete;

 private:
  // Qt keeps argc and argv for the life of the application.
  std::string name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace varnock
