#include "engine/SSebrand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/Format.h"
#include "engine/UciText.h"

namespace varnock {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// A write that cannot raise SIGPIPE: the signal is blocked in this thread for
// the call, and one raised by it is taken back before the mask is restored.
ssize_t WriteWithoutSigpipe(int fd, const char* data, std::size_t size) {
  sigset_t pipeSignal, previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  ssize_t written = write(fd, data, size);
  const int error = errno;
  if (written < 0 && error == EPIPE) {
    const timespec zero{0, 0};
    while (sigtimedwait(&pipeSignal, nullptr, &zero) == SIGPIPE) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = error;
  return written;
}

constexpr const char* kCommandStop = "UCIStop";

}  // namespace

SSebrand::SSebrand(EngineEvents& events, EngineSettings settings) : events_(events), settings_(std::move(settings)) {
  watched_ = settings_.position;
  events_.Accept();
  if (!Start()) state_ = kFailed;
}

SSebrand::~SSebrand() {
  events_.Release();
  bool wasPaused = false;
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
    wasPaused = paused_;
    paused_ = false;
  }
  resumed_.notify_all();
  if (wasPaused) process_.Continue();
  if (thread_.joinable()) {
    RequestStop();
    thread_.join();
  }
  if (process_.Started() && !quitSent_ && !process_.HasExited()) {
    static constexpr std::string_view kQuit = "quit\r\n";
    WriteWithoutSigpipe(process_.InputFd(), kQuit.data(), kQuit.size());
    quitSent_ = true;
  }
  process_.End();
  CloseFd(commandRead_);
  CloseFd(commandWrite_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
}

bool SSebrand::Start() {
  int command[2], wake[2];
  if (pipe2(command, O_CLOEXEC | O_NONBLOCK) != 0) {
    const int error = errno;
    startReport_ = Format("CreatePipe\n\n%s\nError Code is %d", std::strerror(error), error);
    startFailure_ = StartFailure::NotStarted;
    return false;
  }
  commandRead_ = command[0], commandWrite_ = command[1];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    const int error = errno;
    startReport_ = Format("CreatePipe\n\n%s\nError Code is %d", std::strerror(error), error);
    startFailure_ = StartFailure::NotStarted;
    return false;
  }
  wakeRead_ = wake[0], wakeWrite_ = wake[1];

  EngineProcess::Failure failure;
  if (!process_.Start(settings_.enginePath, failure)) {
    if (failure.pipe) {
      startReport_ = Format("CreatePipe\n\n%s\nError Code is %d", std::strerror(failure.error), failure.error);
    } else {
      startReport_ = Format(
          "CreateProcessA( '%s' )\r\n\r\nVarnock was attempting to create a Windows process.\r\nThis statement gave "
          "a failed return code.\r\n\r\nError Message is '%s'\r\nError Code is %d",
          settings_.enginePath.c_str(), std::strerror(failure.error), failure.error);
    }
    startFailure_ = StartFailure::NotStarted;
    return false;
  }
  if (process_.HasExited()) {
    startFailure_ = StartFailure::ProcessEnded;
    return false;
  }
  return true;
}

void SSebrand::Run() {
  if (thread_.joinable() || state_ != kCreated) return;
  threadRunning_ = true;
  thread_ = std::thread([this] { EndThread(ProtocolThread()); });
}

void SSebrand::EndThread(int result) {
  threadResult_ = result;
  threadRunning_ = false;
}

void SSebrand::Watch(SharedPosition position) {
  if (!position) return;
  {
    std::lock_guard lock(mutex_);
    if (watched_ && watched_->key == position->key && watched_->fen == position->fen) return;
    watched_ = std::move(position);
    ++watchedGeneration_;
  }
  Wake();
}

void SSebrand::RequestStop() {
  if (commandWrite_ < 0) return;
  [[maybe_unused]] ssize_t written = write(commandWrite_, kCommandStop, std::strlen(kCommandStop));
  Wake();
}

void SSebrand::Pause() {
  {
    std::lock_guard lock(mutex_);
    if (paused_ || ending_) return;
    paused_ = true;
  }
  process_.Suspend();
  Wake();
}

void SSebrand::Resume() {
  {
    std::lock_guard lock(mutex_);
    if (!paused_) return;
    paused_ = false;
  }
  process_.Continue();
  resumed_.notify_all();
}

bool SSebrand::Paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

void SSebrand::Wake() {
  if (wakeWrite_ < 0) return;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(wakeWrite_, &byte, 1);  // a full pipe wakes the thread just as well
}

void SSebrand::DrainWake() {
  char bytes[64];
  while (read(wakeRead_, bytes, sizeof bytes) > 0) {
  }
}

void SSebrand::Report(const char* caption, std::string text) {
  EngineEvent event;
  event.kind = EngineEventKind::Message;
  event.processId = ProcessId();
  event.caption = caption;
  event.text = std::move(text);
  events_.Deliver(event);
}

void SSebrand::Deliver(EngineEventKind kind, std::string text) {
  EngineEvent event;
  event.kind = kind;
  event.processId = ProcessId();
  event.text = std::move(text);
  events_.Deliver(event);
}

bool SSebrand::SendToEngine(std::string_view text) {
  std::size_t done = 0;
  for (int call = 0; call < 12 && done < text.size(); ++call) {
    if (call > 0) std::this_thread::sleep_for(milliseconds(100));
    const ssize_t written = WriteWithoutSigpipe(process_.InputFd(), text.data() + done, text.size() - done);
    if (written < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      if (errno == EPIPE) {
        engineGone_ = true;  // the engine closed its input: it has ended
      } else {
        Report("SSebrand::SendToEngine()", "WriteFile failed");
      }
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  if (done < text.size()) {
    Report("SSebrand::SendToEngine()", Format("Unable to send '%s' to UCI engine", std::string(text).c_str()));
    return false;
  }
  return true;
}

SSebrand::ReadStatus SSebrand::ReadEngine(char* buffer, milliseconds wait, bool interruptible, int& bytes) {
  bytes = 0;
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    const int slice = static_cast<int>(std::clamp<long long>(left.count(), 0, 100));
    pollfd fds[3] = {{process_.OutputFd(), POLLIN, 0}, {wakeRead_, POLLIN, 0}, {commandRead_, POLLIN, 0}};
    const int ready = poll(fds, interruptible ? 3 : 1, slice);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return ReadStatus::Failed;
    }
    if (fds[0].revents != 0) {
      const ssize_t got = read(process_.OutputFd(), buffer, kLargestRead);
      if (got > 0) {
        bytes = static_cast<int>(got);
        return ReadStatus::Data;
      }
      if (got == 0) return ReadStatus::Closed;
      if (errno != EINTR && errno != EAGAIN) return ReadStatus::Failed;
    }
    if (interruptible && (fds[1].revents != 0 || fds[2].revents != 0)) {
      DrainWake();
      return ReadStatus::Interrupted;
    }
    if (Clock::now() >= deadline) return ReadStatus::Timeout;
  }
}

int SSebrand::ReadFromPipe(char* buffer, double seconds) {
  int bytes = 0;
  const auto wait = milliseconds(static_cast<long long>(std::max(seconds, 0.0) * 1000));
  const ReadStatus status = ReadEngine(buffer, wait, false, bytes);
  if (status == ReadStatus::Failed) {
    const int error = errno;
    Report("SSebrand::ReadFromPipe()",
           Format("Unable to read pipe\n\n%s\nError Code is %d", std::strerror(error), error));
  }
  return status == ReadStatus::Data ? bytes : 0;
}

int SSebrand::Read5FromDlg(char* buffer, std::size_t size) {
  if (size == 0) return 0;
  const ssize_t got = read(commandRead_, buffer, size);
  if (got > 0) return static_cast<int>(got);
  if (got < 0 && errno != EAGAIN && errno != EINTR) {
    const int error = errno;
    Report("SSebrand::Read5FromDlg()",
           Format("Unable to read pipe\n\n%s\nError Code is %d", std::strerror(error), error));
  }
  return 0;
}

bool SSebrand::StopRequested(bool& ending) {
  char command[64];
  for (int got; (got = Read5FromDlg(command, sizeof command)) > 0;) {
    if (std::string_view(command, static_cast<std::size_t>(got)).find(kCommandStop) != std::string_view::npos)
      stopRequested_ = true;
  }
  std::lock_guard lock(mutex_);
  ending = ending_;
  return stopRequested_ || ending_;
}

bool SSebrand::TakeWatched(SharedPosition& position) {
  std::lock_guard lock(mutex_);
  if (watchedGeneration_ == seenGeneration_) return false;
  seenGeneration_ = watchedGeneration_;
  position = watched_;
  return true;
}

void SSebrand::TakePosition(SharedPosition position) {
  current_ = std::move(position);
  fen_.clear();
  const std::string fen = current_ ? current_->fen : std::string();
  std::string normalised;
  switch (CheckPosition(fen, &normalised)) {
    case PositionVerdict::Analysable:
      fen_ = normalised;
      break;
    case PositionVerdict::Invalid:
      Deliver(EngineEventKind::InvalidPosition, fen);
      break;
    case PositionVerdict::Checkmate:
      Deliver(EngineEventKind::Checkmate, fen);
      break;
    case PositionVerdict::Stalemate:
      Deliver(EngineEventKind::Stalemate, fen);
      break;
  }
}

bool SSebrand::StartSearch(bool newGame) {
  std::string commands = newGame ? "ucinewgame\r\n" : "";
  commands += "position fen " + fen_ + "\r\n" + "go infinite\r\n";
  if (!SendToEngine(commands)) return false;
  SetState(kAnalysing);
  searched_.reset();
  return true;
}

bool SSebrand::PositionChanged(SharedPosition position) {
  // Stop the running search first; the new one starts on its "bestmove". A
  // search already being stopped is not stopped twice.
  if (readyOkSeen_ && state_ == kAnalysing) {
    if (!SendToEngine("stop\r\n")) return false;
    SetState(kAwaitingBestMove);
    Arm(kBestMoveLimit);
    searched_ = current_;
  }
  EngineEvent event;
  event.kind = EngineEventKind::NewPosition;
  event.processId = ProcessId();
  event.newPosition = position;
  if (position) event.position = position->key;
  events_.Deliver(event);
  TakePosition(std::move(position));
  if (state_ == kIdle && !fen_.empty()) return StartSearch(true);
  return true;
}

bool SSebrand::AwaitingReply() const {
  const State state = state_;
  return state == kAwaitingUciOk || state == kAwaitingReadyOk || state == kAwaitingBestMove;
}

void SSebrand::WaitWhilePaused() {
  std::unique_lock lock(mutex_);
  if (!paused_) return;
  const auto began = Clock::now();
  resumed_.wait(lock, [&] { return !paused_ || ending_; });
  // The engine could not answer while it was stopped.
  deadline_ += Clock::now() - began;
}

void SSebrand::RememberLine(std::string_view line) {
  constexpr std::size_t kKeptLines = 4, kKeptLength = 300;
  if (lastOutput_.size() == kKeptLines) lastOutput_.erase(lastOutput_.begin());
  lastOutput_.emplace_back(line.substr(0, kKeptLength));
}

bool SSebrand::HandleLine(std::string_view line) {
  RememberLine(line);
  std::size_t at = kNoMatch;
  switch (state_.load()) {
    case kAwaitingUciOk:
      if ((at = MatchReply(line, "id name")) != kNoMatch) {
        engineName_ = std::string(ReplyRest(line, at));
        Deliver(EngineEventKind::EngineName, engineName_);
      } else if ((at = MatchReply(line, "option name")) != kNoMatch) {
        capabilities_.Record(ReplyRest(line, at));
      } else if (MatchReply(line, "uciok") != kNoMatch) {
        const OptionRequest request{settings_.lines, settings_.hashMegabytes, settings_.oneProcessor,
                                    settings_.processorCount};
        if (!SendToEngine(OptionCommands(capabilities_, request))) return false;
        SetState(kAwaitingReadyOk);
        Arm(kReadyOkLimit);
      }
      return true;
    case kAwaitingReadyOk:
      if (MatchReply(line, "readyok") == kNoMatch) return true;
      readyOkSeen_ = true;
      if (fen_.empty()) {
        SetState(kIdle);
        return true;
      }
      return StartSearch(true);
    case kAwaitingBestMove: {
      if (MatchReply(line, "bestmove") == kNoMatch) return true;
      if (fen_.empty()) {
        SetState(kIdle);
        searched_.reset();
        return true;
      }
      // One move on from the position searched needs no new game.
      const bool continues = searched_ && current_ && current_->parent == searched_->key.move &&
                             current_->key.game == searched_->key.game && current_->parent != kNoNode &&
                             !current_->irregular && !current_->setUp;
      return StartSearch(!(settings_.fixedPosition || continues));
    }
    case kAnalysing:
      if (MatchReply(line, "info") != kNoMatch) {
        EngineEvent event;
        event.kind = EngineEventKind::InfoLine;
        event.text = std::string(line);
        if (current_) event.position = current_->key;
        events_.Deliver(event);
      } else if (MatchReply(line, "bestmove") != kNoMatch) {
        SetState(kIdle);  // the engine ended the search by itself
      }
      return true;
    default:
      return true;  // idle: a late "bestmove" included
  }
}

int SSebrand::ProtocolThread() {
  if (state_ != kCreated) return 0;
  char buffer[kReceiveBuffer];

  if (!SendToEngine("uci\r\n")) {
    if (engineGone_) Deliver(EngineEventKind::ProcessEnded);
    return 0;
  }
  SetState(kAwaitingUciOk);
  Arm(kUciOkLimit);
  // A position watched since is taken as a change in the loop, so that the
  // owner hears of it.
  TakePosition(settings_.position);

  for (;;) {
    WaitWhilePaused();
    bool ending = false;
    if (StopRequested(ending)) {
      // A running search is stopped and its "bestmove" awaited before the
      // engine is told to quit, so that it ends cleanly and one that does
      // not answer is reported (the bestmove limit).
      if (!ending && !stopSent_ && state_ == kAnalysing && readyOkSeen_) {
        stopSent_ = true;
        fen_.clear();  // the "bestmove" starts no new search
        if (!SendToEngine("stop\r\n")) break;
        SetState(kAwaitingBestMove);
        Arm(kBestMoveLimit);
        continue;
      }
      if (ending || state_ != kAwaitingBestMove) {
        SendToEngine("quit\r\n");
        quitSent_ = true;
        process_.End();
        return 1;
      }
    }
    SharedPosition next;
    if (!settings_.fixedPosition && TakeWatched(next) && !PositionChanged(next)) break;
    if (engineGone_ || process_.HasExited()) {
      engineGone_ = true;
      break;
    }

    const auto now = Clock::now();
    const milliseconds wait = AwaitingReply()
                                  ? std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline_ - now))
                                  : kIdleRead;
    int bytes = 0;
    const ReadStatus status = ReadEngine(buffer, wait, true, bytes);
    if (status == ReadStatus::Interrupted) continue;
    if (status == ReadStatus::Timeout) {
      if (!AwaitingReply() || Clock::now() < deadline_) continue;
      if (Paused()) continue;  // the deadline moves on once resumed
      const State state = state_;
      Deliver(state == kAwaitingUciOk     ? EngineEventKind::NoUciOk
              : state == kAwaitingReadyOk ? EngineEventKind::NoReadyOk
                                          : EngineEventKind::NoBestMove);
      return 0;
    }
    if (status == ReadStatus::Closed) {
      engineGone_ = true;
      break;
    }
    if (status == ReadStatus::Failed) {
      const int error = errno;
      Report("SSebrand::ReadFromPipe()",
             Format("Unable to read pipe\n\n%s\nError Code is %d", std::strerror(error), error));
      return 0;
    }
    // Any reply shows a live engine: the handshake limits count silence.
    if (state_ == kAwaitingUciOk) Arm(kUciOkLimit);
    if (state_ == kAwaitingReadyOk) Arm(kReadyOkLimit);
    const bool sent = replies_.Feed(buffer, static_cast<std::size_t>(bytes),
                                    [this](std::string_view line) { return HandleLine(line); });
    if (!sent) break;
  }
  if (engineGone_) {
    // What the engine wrote before it ended may still wait in the pipe: its
    // last words tell why it ended. They are remembered, not acted on.
    int bytes = 0;
    for (int reads = 0; reads < 64 && ReadEngine(buffer, milliseconds(0), false, bytes) == ReadStatus::Data; ++reads)
      replies_.Feed(buffer, static_cast<std::size_t>(bytes), [this](std::string_view line) {
        RememberLine(line);
        return true;
      });
    Deliver(EngineEventKind::ProcessEnded, LastOutput());
  }
  return 0;
}

std::string SSebrand::LastOutput() const {
  std::string text;
  for (const std::string& line : lastOutput_) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

}  // namespace varnock
