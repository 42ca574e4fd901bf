#include "engine/BlockingEventQueue.h"

namespace varnock {

BlockingEventQueue::BlockingEventQueue(Handler handler, std::function<void()> wake)
    : handler_(std::move(handler)), wake_(std::move(wake)) {}

void BlockingEventQueue::Deliver(const EngineEvent& event) {
  std::unique_lock lock(mutex_);
  if (released_) return;
  const std::uint64_t ticket = nextTicket_++;
  waiting_.push_back({&event, ticket});
  arrived_.notify_all();
  if (wake_) {
    lock.unlock();
    wake_();
    lock.lock();
  }
  handled_.wait(lock, [&] { return done_ > ticket || released_; });
}

void BlockingEventQueue::Accept() {
  std::lock_guard lock(mutex_);
  released_ = false;
}

void BlockingEventQueue::Release() {
  std::lock_guard lock(mutex_);
  released_ = true;
  waiting_.clear();
  done_ = nextTicket_;
  handled_.notify_all();
}

int BlockingEventQueue::Pump(std::chrono::milliseconds wait) {
  int handled = 0;
  std::unique_lock lock(mutex_);
  if (waiting_.empty() && wait.count() > 0) arrived_.wait_for(lock, wait, [&] { return !waiting_.empty(); });
  // Only the events waiting now: a protocol thread that delivers one event
  // after another must not keep the interface thread here.
  for (std::size_t now = waiting_.size(); now > 0 && !waiting_.empty(); --now) {
    const Waiting next = waiting_.front();
    waiting_.pop_front();
    // The event lives on the protocol thread's stack only until its ticket is
    // done, which a Release from inside the handler makes it at once.
    const EngineEvent event = *next.event;
    lock.unlock();
    if (handler_) handler_(event);
    lock.lock();
    if (done_ <= next.ticket) done_ = next.ticket + 1;
    handled_.notify_all();
    ++handled;
  }
  return handled;
}

}  // namespace varnock
