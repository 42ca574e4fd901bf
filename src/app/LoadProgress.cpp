#include "app/LoadProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>

namespace varnock {

LoadProgress::LoadProgress(QWidget* window, std::function<void()> detach)
    : window_(window), detach_(std::move(detach)) {}

LoadProgress::~LoadProgress() = default;

void LoadProgress::TextStarted(std::string_view text, FileType type) {
  (void)type;
  if (detach_) detach_();
  textSize_ = text.size();
  games_ = 0;
  clock_.start();
}

void LoadProgress::GameScanned(const ScannedGame& game) {
  // Only the window's own thread may draw; helper threads of a large open
  // pass by.
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) return;
  if (++games_ % 512 != 0 || clock_.elapsed() < kShowAfterMs) return;
  if (!dialog_) {
    dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("Loading games ..."), QString(), 0, 1000, window_);
    dialog_->setWindowTitle(QStringLiteral("Varnock"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setCancelButton(nullptr);
  }
  const int permille = textSize_ ? static_cast<int>(game.textOffset * 1000 / textSize_) : 0;
  dialog_->setValue(std::min(permille, 999));
  dialog_->setLabelText(QStringLiteral("Loading games ...  %1").arg(games_));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LoadProgress::Finish() { dialog_.reset(); }

}  // namespace varnock
