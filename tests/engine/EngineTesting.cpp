#include "EngineTesting.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/TempFolder.h"

namespace varnock::testing {

namespace {

struct ProcStat {
  pid_t pid = 0;
  char state = 0;
  pid_t parent = 0;
  pid_t group = 0;
};

std::vector<ProcStat> ProcessTable() {
  std::vector<ProcStat> table;
  DIR* proc = opendir("/proc");
  if (!proc) return table;
  while (dirent* entry = readdir(proc)) {
    const char* name = entry->d_name;
    if (name[0] < '0' || name[0] > '9') continue;
    std::string stat = ReadFile(std::string("/proc/") + name + "/stat");
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    ProcStat row;
    row.pid = std::atoi(name);
    fields >> row.state >> row.parent >> row.group;
    table.push_back(row);
  }
  closedir(proc);
  return table;
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

}  // namespace

FakeEngine::FakeEngine(const std::string& script) {
  char pattern[] = "/tmp/varnock-fake-engineXXXXXX";
  folder_ = mkdtemp(pattern);
  log_ = folder_ + "/received";
  std::ofstream(folder_ + "/script") << script;
  std::ofstream(log_).flush();
  path_ = folder_ + "/engine";
  std::ofstream(path_) << "#!/bin/sh\nexec '" << VARNOCK_FAKE_ENGINE << "' '" << folder_ << "/script' '" << log_
                       << "'\n";
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
}

FakeEngine::~FakeEngine() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string FakeEngine::Received() const { return ReadFile(log_); }

bool FakeEngine::WaitForReceived(const std::string& text, int times, std::chrono::milliseconds limit) const {
  return WaitUntil([&] { return Occurrences(Received(), text) >= times; }, limit);
}

std::string RespondingScript(const std::string& uciReply) {
  return "on uci:\n" + uciReply +
         "send uciok\n"
         "on isready:\n"
         "send readyok\n"
         "on go:\n"
         "send info depth 1 score cp 12 pv e2e4\n"
         "on stop:\n"
         "send bestmove e2e4\n";
}

void RecordingEvents::Deliver(const EngineEvent& event) {
  std::lock_guard lock(mutex_);
  events_.push_back(event);
  changed_.notify_all();
}

std::vector<EngineEvent> RecordingEvents::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<EngineEventKind> RecordingEvents::Kinds() const {
  std::lock_guard lock(mutex_);
  std::vector<EngineEventKind> kinds;
  for (const EngineEvent& event : events_) kinds.push_back(event.kind);
  return kinds;
}

int RecordingEvents::Count(EngineEventKind kind) const {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const EngineEvent& event : events_) count += event.kind == kind;
  return count;
}

bool RecordingEvents::WaitFor(EngineEventKind kind, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] {
    for (const EngineEvent& event : events_) {
      if (event.kind == kind) return true;
    }
    return false;
  });
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::vector<pid_t> ChildProcesses() {
  std::vector<pid_t> children;
  const pid_t self = getpid();
  for (const ProcStat& row : ProcessTable()) {
    if (row.parent == self) children.push_back(row.pid);
  }
  return children;
}

std::vector<pid_t> GroupMembers(pid_t group) {
  std::vector<pid_t> members;
  const pid_t self = getpid();
  for (const ProcStat& row : ProcessTable()) {
    // A dead orphan waiting for init to reap it is gone for our purposes.
    if (row.state == 'Z' && row.parent != self) continue;
    if (row.group == group) members.push_back(row.pid);
  }
  return members;
}

char ProcessState(pid_t pid) {
  for (const ProcStat& row : ProcessTable()) {
    if (row.pid == pid) return row.state;
  }
  return 0;
}

}  // namespace varnock::testing
