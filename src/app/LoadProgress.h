// Progress while a file's games are scanned: after half a second a progress
// bar shows how much of the text is done, and the window keeps repainting
// (input waits until the open is done).
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>

#include "collection/Collection.h"

class QProgressDialog;
class QWidget;

namespace varnock {

class LoadProgress : public BuildObserver {
 public:
  // `detach` is told before the first game is built: the views let go of
  // the games that are gone.
  LoadProgress(QWidget* window, std::function<void()> detach);
  ~LoadProgress() override;

  void TextStarted(std::string_view text, FileType type) override;
  void GameScanned(const ScannedGame& game) override;
  // The open is done: the bar goes.
  void Finish();

  static constexpr int kShowAfterMs = 500;

 private:
  QWidget* window_;
  std::function<void()> detach_;
  std::unique_ptr<QProgressDialog> dialog_;
  QElapsedTimer clock_;
  std::uint64_t textSize_ = 0;
  std::size_t games_ = 0;
};

}  // namespace varnock
