// The explorer's watcher: a thread that looks every 100 ms at the place the
// main window shows (the current game and node, which the window publishes
// whenever it refreshes) and tells when it changed since it last looked.
//
// The thread only compares published values: it never reads a game. What it
// tells goes to a callback that must not block on the thread that stops the
// watcher (the window posts itself a queued call and returns).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "core/UserPrompt.h"

namespace varnock {

inline constexpr const char* kExplorerLaunchCaption = "CmExplorerLaunch()";
inline constexpr const char* kExplorerRunningText = "An explorer thread is already running";

class ExplorerWatcher {
 public:
  using Notify = std::function<void()>;

  ExplorerWatcher() = default;
  ~ExplorerWatcher() { Stop(); }
  ExplorerWatcher(const ExplorerWatcher&) = delete;
  ExplorerWatcher& operator=(const ExplorerWatcher&) = delete;

  // The main window's place: its current game and that game's current node.
  static std::uint64_t PlaceOf(std::uint32_t game, std::uint32_t node) { return std::uint64_t{game} << 32 | node; }
  void Publish(std::uint32_t game, std::uint32_t node) {
    published_.store(PlaceOf(game, node), std::memory_order_release);
  }
  std::uint64_t Published() const { return published_.load(std::memory_order_acquire); }

  // Starts the thread, which calls `notify` on itself whenever the
  // published place differs from the one it saw last (and once at the
  // start). While a thread runs, reports kExplorerRunningText (caption
  // kExplorerLaunchCaption) and returns false.
  bool Launch(Notify notify, UserPrompt& prompt);
  bool Running() const { return thread_.joinable(); }
  // Ends the thread and waits for it; nothing when none runs.
  void Stop();

  // One look: true, remembering the place, when the published place is not
  // the one seen last. The thread's step, callable while no thread runs.
  bool Changed();

 private:
  void Run();

  static constexpr std::uint64_t kNoPlace = ~std::uint64_t{0};
  std::atomic<std::uint64_t> published_{kNoPlace - 1};
  std::uint64_t seen_ = kNoPlace;  // the thread's own while it runs
  Notify notify_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace varnock
