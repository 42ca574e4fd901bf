#include "support/CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "support/TempFolder.h"

extern char** environ;

namespace varnock::testing {

CliRun RunCli(const std::vector<std::string>& args) {
  char outPath[] = "/tmp/varnock-cli-outXXXXXX";
  char errPath[] = "/tmp/varnock-cli-errXXXXXX";
  int outFd = mkstemp(outPath);
  int errFd = mkstemp(errPath);
  std::vector<std::string> argv{VARNOCK_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> raw;
  for (auto& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  CliRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(outFd);
  close(errFd);
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  unlink(outPath);
  unlink(errPath);
  return run;
}

int StartCli(const std::vector<std::string>& args) {
  std::vector<std::string> argv{VARNOCK_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> raw;
  for (auto& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

}  // namespace varnock::testing
