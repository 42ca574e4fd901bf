#include "cli/Progress.h"

#include <unistd.h>

#include <iostream>

namespace varnock::cli {

ProgressBar::ProgressBar(std::string label) : label_(std::move(label)), terminal_(::isatty(2) == 1) {}

ProgressBar::~ProgressBar() {
  if (terminal_ && shownPercent_ >= 0) std::cerr << '\n';
}

void ProgressBar::Show(long long done, long long total) {
  if (!terminal_ || total <= 0) return;
  const int percent = static_cast<int>(done * 100 / total);
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  std::cerr << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << done << '/' << total
            << std::flush;
}

}  // namespace varnock::cli
