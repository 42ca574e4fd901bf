#include "engine/EngineProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace varnock {

namespace {

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

EngineProcess::~EngineProcess() {
  End();
  CloseFds();
}

void EngineProcess::CloseFds() {
  CloseFd(input_);
  CloseFd(output_);
}

bool EngineProcess::Start(const std::string& path, Failure& failure) {
  int toEngine[2] = {-1, -1};
  int fromEngine[2] = {-1, -1};
  if (pipe2(toEngine, O_CLOEXEC) != 0) {
    failure = {true, errno};
    return false;
  }
  if (pipe2(fromEngine, O_CLOEXEC) != 0) {
    failure = {true, errno};
    close(toEngine[0]);
    close(toEngine[1]);
    return false;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toEngine[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromEngine[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fromEngine[1], 2);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors other code opened without close-on-exec stay with us.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string program = path;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  const int result = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(toEngine[0]);
  close(fromEngine[1]);
  if (result != 0) {
    failure = {false, result};
    close(toEngine[1]);
    close(fromEngine[0]);
    return false;
  }
  pid_ = pid;
  reaped_ = false;
  status_ = -1;
  input_ = toEngine[1];
  output_ = fromEngine[0];
  fcntl(input_, F_SETFL, fcntl(input_, F_GETFL) | O_NONBLOCK);
  return true;
}

bool EngineProcess::HasExited() {
  std::lock_guard lock(mutex_);
  if (pid_ <= 0 || reaped_) return true;
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return errno == ECHILD;
  return info.si_pid == pid_;
}

void EngineProcess::Suspend() {
  std::lock_guard lock(mutex_);
  if (pid_ > 0 && !reaped_) kill(-pid_, SIGSTOP);
}

void EngineProcess::Continue() {
  std::lock_guard lock(mutex_);
  if (pid_ > 0 && !reaped_) kill(-pid_, SIGCONT);
}

bool EngineProcess::WaitForExit(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!HasExited()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void EngineProcess::End(std::chrono::milliseconds quitGrace, std::chrono::milliseconds termGrace) {
  {
    std::lock_guard lock(mutex_);
    if (pid_ <= 0 || reaped_) return;
    // A stopped group must run again to see "quit" or SIGTERM.
    kill(-pid_, SIGCONT);
  }
  if (!WaitForExit(quitGrace)) {
    kill(-pid_, SIGTERM);
    if (!WaitForExit(termGrace)) kill(-pid_, SIGKILL);
  }
  // The leader is a zombie now (or dying from SIGKILL) and still holds the
  // group id: take down whatever it left behind in its group, then reap it.
  std::lock_guard lock(mutex_);
  kill(-pid_, SIGKILL);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  status_ = status;
  reaped_ = true;
}

}  // namespace varnock
