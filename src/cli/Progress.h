// A progress bar on stderr for long operations, shown only when stderr is a
// terminal.
#pragma once

#include <string>

namespace varnock::cli {

class ProgressBar {
 public:
  explicit ProgressBar(std::string label);
  ~ProgressBar();
  void Show(long long done, long long total);

 private:
  std::string label_;
  bool terminal_;
  int shownPercent_ = -1;
};

}  // namespace varnock::cli
