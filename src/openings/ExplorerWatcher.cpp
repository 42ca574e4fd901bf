#include "openings/ExplorerWatcher.h"

#include <chrono>

namespace varnock {

bool ExplorerWatcher::Launch(Notify notify, UserPrompt& prompt) {
  if (Running()) {
    prompt.Inform(kExplorerLaunchCaption, kExplorerRunningText);
    return false;
  }
  notify_ = std::move(notify);
  stop_ = false;
  seen_ = kNoPlace;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void ExplorerWatcher::Stop() {
  if (!Running()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

bool ExplorerWatcher::Changed() {
  const std::uint64_t place = published_.load(std::memory_order_acquire);
  if (place == seen_) return false;
  seen_ = place;
  return true;
}

void ExplorerWatcher::Run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    lock.unlock();
    if (Changed() && notify_) notify_();
    lock.lock();
    wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return stop_; });
  }
}

}  // namespace varnock
