// One engine program running as a child process in a process group of its
// own, its standard input and output (with standard error joined to it) on
// pipes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <mutex>
#include <string>

namespace varnock {

class EngineProcess {
 public:
  EngineProcess() = default;
  ~EngineProcess();  // End(), then closes the pipes
  EngineProcess(const EngineProcess&) = delete;
  EngineProcess& operator=(const EngineProcess&) = delete;

  // What went wrong when Start failed.
  struct Failure {
    bool pipe = false;  // creating a pipe failed (else starting the program)
    int error = 0;      // errno
  };

  // Starts the program at `path` (the whole command line: no arguments).
  // Our ends of the pipes are close-on-exec; the input end we write to does
  // not block.
  bool Start(const std::string& path, Failure& failure);

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  int InputFd() const { return input_; }    // we write commands here
  int OutputFd() const { return output_; }  // we read replies here

  // Whether the process has ended; it is not reaped yet, so that its process
  // group id cannot be taken by another process while we may still signal it.
  bool HasExited();

  // SIGSTOP / SIGCONT to the whole process group.
  void Suspend();
  void Continue();

  // Ends the process: waits up to `quitGrace` for it to leave on its own (the
  // caller has sent "quit"), then SIGTERM to the group and up to `termGrace`,
  // then SIGKILL to the group. Whatever else is left in the group is killed
  // too, and the process is always reaped. Safe to call more than once.
  void End(std::chrono::milliseconds quitGrace = std::chrono::milliseconds(1000),
           std::chrono::milliseconds termGrace = std::chrono::milliseconds(500));

  // The exit status once reaped (as waitpid reports it), else -1.
  int ExitStatus() const { return status_; }

 private:
  bool WaitForExit(std::chrono::milliseconds limit);
  void CloseFds();

  // Signals may come from the interface thread while the protocol thread
  // ends the process: a reaped process's group id is never signalled.
  mutable std::mutex mutex_;
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = -1;
  int input_ = -1;
  int output_ = -1;
};

}  // namespace varnock
