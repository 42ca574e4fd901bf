// Helpers of the engine tests: scripted fake engines, a recording event sink,
// waiting for conditions, and a look at the process table.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/EngineEvents.h"

namespace varnock::testing {

// A fake engine run from a script (see FakeEngine.cpp): a folder of its own
// with the script, the log of what it received, and the program path the
// driver starts.
class FakeEngine {
 public:
  explicit FakeEngine(const std::string& script);
  ~FakeEngine();
  const std::string& Path() const { return path_; }
  std::string Received() const;  // every byte the engine was sent so far
  // Waits until the received bytes contain `text` `times` times.
  bool WaitForReceived(const std::string& text, int times = 1,
                       std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) const;

 private:
  std::string folder_;
  std::string path_;
  std::string log_;
};

// A common script: a well-behaved engine with the given "uci" reply lines.
std::string RespondingScript(const std::string& uciReply = "send id name Fake Engine\n");

// Records every event; Deliver returns at once, as if the interface thread
// had handled it.
class RecordingEvents : public EngineEvents {
 public:
  void Deliver(const EngineEvent& event) override;
  void Accept() override {}
  void Release() override {}
  std::vector<EngineEvent> Events() const;
  std::vector<EngineEventKind> Kinds() const;
  bool WaitFor(EngineEventKind kind, std::chrono::milliseconds limit = std::chrono::milliseconds(6000)) const;
  int Count(EngineEventKind kind) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<EngineEvent> events_;
};

bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

// Processes whose parent is this process (zombies included).
std::vector<pid_t> ChildProcesses();
// Live processes in the process group (dead orphans that init has not
// reaped yet are left out).
std::vector<pid_t> GroupMembers(pid_t group);
// The state letter of a process in /proc ('R', 'S', 'T', 'Z' ...), or 0.
char ProcessState(pid_t pid);

}  // namespace varnock::testing
