// Synchronous delivery of engine events to an interface thread that pumps
// them: the protocol thread waits in Deliver until the interface thread has
// run the handler.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "engine/EngineEvents.h"

namespace varnock {

class BlockingEventQueue : public EngineEvents {
 public:
  using Handler = std::function<void(const EngineEvent&)>;

  // `wake`, when given, is called (on the protocol thread) whenever an event
  // arrives, so that an event loop can schedule a Pump.
  explicit BlockingEventQueue(Handler handler = {}, std::function<void()> wake = {});

  void SetHandler(Handler handler) { handler_ = std::move(handler); }

  void Deliver(const EngineEvent& event) override;
  void Accept() override;
  void Release() override;

  // On the interface thread: runs the handler for the events waiting now,
  // waiting up to `wait` for the first one. Returns how many were handled.
  int Pump(std::chrono::milliseconds wait = std::chrono::milliseconds(0));

 private:
  struct Waiting {
    const EngineEvent* event;
    std::uint64_t ticket;
  };

  Handler handler_;
  std::function<void()> wake_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::condition_variable handled_;
  std::deque<Waiting> waiting_;
  std::uint64_t nextTicket_ = 0;
  std::uint64_t done_ = 0;  // tickets below this are handled or dropped
  bool released_ = true;
};

}  // namespace varnock
