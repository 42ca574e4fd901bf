// One engine connection: the engine process with its pipes, the command pipe
// from the analysis window, and the protocol thread that runs the UCI
// handshake and keeps the engine analysing the watched position.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/AnalysisPosition.h"
#include "engine/EngineCapabilities.h"
#include "engine/EngineEvents.h"
#include "engine/EngineProcess.h"
#include "engine/ReplyLines.h"

namespace varnock {

// What a connection is created with.
struct EngineSettings {
  std::string enginePath;
  int hashMegabytes = 32;
  int lines = 1;  // MultiPV lines requested
  bool oneProcessor = false;
  int processorCount = 1;  // processors of this computer
  bool fixedPosition = false;
  SharedPosition position;  // the fixed position, or the watched one at the start
};

class SSebrand {
 public:
  enum State : int {
    kCreated = 0,
    kAwaitingUciOk = 4,
    kAwaitingReadyOk = 8,
    kIdle = 2,
    kAnalysing = 1,
    kAwaitingBestMove = 16,
    kFailed = 32,
  };
  enum class StartFailure { None, ProcessEnded, NotStarted };

  static constexpr std::chrono::milliseconds kUciOkLimit{4000};
  static constexpr std::chrono::milliseconds kReadyOkLimit{4000};
  static constexpr std::chrono::milliseconds kBestMoveLimit{3000};
  static constexpr std::chrono::milliseconds kIdleRead{250};
  static constexpr std::size_t kReceiveBuffer = 2000;
  static constexpr std::size_t kLargestRead = 1998;

  // Starts the engine process (on the interface thread). When that fails the
  // state is failed and StartFailed tells why; the report for the user, if
  // any, is in StartReport.
  SSebrand(EngineEvents& events, EngineSettings settings);
  // Ends the connection: asks the thread to end (the engine gets "quit"),
  // waits for it, and ends the engine process and its group (see
  // EngineProcess::End).
  ~SSebrand();
  SSebrand(const SSebrand&) = delete;
  SSebrand& operator=(const SSebrand&) = delete;

  StartFailure StartFailed() const { return startFailure_; }
  const std::string& StartReport() const { return startReport_; }
  static constexpr const char* kStartCaption = "SSebrand::Start()";

  // Runs the protocol thread.
  void Run();
  bool ThreadRunning() const { return threadRunning_; }
  // 1 when the thread ended on request, 0 otherwise; -1 while it runs.
  int ThreadResult() const { return threadResult_; }

  // The interface thread's position changed (follow mode).
  void Watch(SharedPosition position);
  // Writes "UCIStop" into the command pipe: the thread sends "quit" and ends.
  void RequestStop();
  // Suspends the engine's process group and holds the thread at its next safe
  // point; Resume lets both go on.
  void Pause();
  void Resume();
  bool Paused() const;

  State CurrentState() const { return state_; }
  int ProcessId() const { return static_cast<int>(process_.Pid()); }

  // The protocol thread's operations.
  int ProtocolThread();
  bool SendToEngine(std::string_view text);
  int ReadFromPipe(char* buffer, double seconds);
  int Read5FromDlg(char* buffer, std::size_t size);

 private:
  enum class ReadStatus { Data, Timeout, Interrupted, Closed, Failed };
  ReadStatus ReadEngine(char* buffer, std::chrono::milliseconds wait, bool interruptible, int& bytes);

  bool Start();
  void Report(const char* caption, std::string text);
  void Deliver(EngineEventKind kind, std::string text = {});
  void SetState(State state) { state_ = state; }
  void Arm(std::chrono::milliseconds limit) { deadline_ = std::chrono::steady_clock::now() + limit; }
  bool AwaitingReply() const;
  // Whether the owner asked the connection to end (the request is kept once
  // seen); `ending` tells whether it is going away at once.
  bool StopRequested(bool& ending);
  std::string LastOutput() const;
  void RememberLine(std::string_view line);
  bool TakeWatched(SharedPosition& position);
  void TakePosition(SharedPosition position);
  bool PositionChanged(SharedPosition position);
  bool HandleLine(std::string_view line);
  bool StartSearch(bool newGame);
  void WaitWhilePaused();
  void Wake();
  void DrainWake();
  void EndThread(int result);

  EngineEvents& events_;
  const EngineSettings settings_;
  EngineProcess process_;
  int commandRead_ = -1, commandWrite_ = -1;  // "UCIStop" from the window
  int wakeRead_ = -1, wakeWrite_ = -1;        // interrupts the thread's waits
  StartFailure startFailure_ = StartFailure::None;
  std::string startReport_;

  std::thread thread_;
  std::atomic<bool> threadRunning_{false};
  std::atomic<int> threadResult_{-1};
  std::atomic<State> state_{kCreated};

  // Shared with the interface thread, under mutex_.
  mutable std::mutex mutex_;
  std::condition_variable resumed_;
  bool paused_ = false;
  bool ending_ = false;
  bool stopRequested_ = false;  // protocol thread only
  // The engine's last few lines, told to the owner when it ends on its own
  // (an engine that cannot allocate its hash says so, then exits).
  std::vector<std::string> lastOutput_;
  bool stopSent_ = false;  // "stop" sent for the request; "bestmove" awaited
  SharedPosition watched_;
  unsigned watchedGeneration_ = 0;

  // The protocol thread's own.
  EngineCapabilities capabilities_;
  ReplyLines replies_;
  std::string engineName_;
  unsigned seenGeneration_ = 0;
  SharedPosition current_;   // the position last taken
  SharedPosition searched_;  // the position of the search being stopped
  std::string fen_;          // what the engine is sent; empty when not analysable
  bool readyOkSeen_ = false;
  bool engineGone_ = false;
  std::atomic<bool> quitSent_{false};
  std::chrono::steady_clock::time_point deadline_{};
};

}  // namespace varnock
