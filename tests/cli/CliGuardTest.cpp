// varnock-cli against hostile inputs: one exit rule for every command, output
// targets that are no regular files, a file-size limit, and saves killed at
// random moments while the backup is copied to another file system.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "support/CliRunner.h"
#include "support/Corpus.h"
#include "support/TempFolder.h"

namespace varnock {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::WriteFile;

std::size_t EntriesIn(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

constexpr const char* kUnbalanced = "[Event \"A\"]\n\n1. e4 (1. d4 e5 *\n\n[Event \"B\"]\n\n1. c4 *\n";

TEST(CliGuard, OneExitRuleForEveryCommand) {
  testing::TempFolder folder;
  const std::string pgn = folder / "unbalanced.pgn", out = folder / "out.pgn", dir = folder / "dir";
  WriteFile(pgn, kUnbalanced);
  std::filesystem::create_directories(dir);
  const std::string fifo = folder / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      // The bracket warning is a reported problem for every command.
      {{"count", pgn}, 1},
      {{"check", pgn}, 1},
      {{"dump", pgn, "1"}, 1},
      {{"convert", pgn, out}, 1},
      // Output paths that are no regular files, and an empty one.
      {{"convert", pgn, ""}, 2},
      {{"convert", pgn, "/dev/null"}, 2},
      {{"convert", pgn, fifo}, 2},
      {{"convert", pgn, dir}, 2},
      {{"reorder", pgn, "-o", "/dev/null", "--by", "white"}, 2},
      // Tag values PGN cannot hold on one line between quotes.
      {{"save", pgn, "--tag", "1:Event=say \"hi\""}, 2},
      {{"save", pgn, "--tag", "1:White=two\nlines"}, 2},
  };
  for (const auto& c : cases) {
    const auto run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.args) << "\n" << run.err;
  }
  struct stat status {};
  ASSERT_EQ(::stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
  ASSERT_EQ(::lstat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));

  // A symbolic link as the target is written through; the link stays.
  const std::string clean = folder / "clean.pgn", real = folder / "real.pgn", link = folder / "link.pgn";
  WriteFile(clean, "[Event \"A\"]\n\n1. e4 e5 *\n");
  WriteFile(real, "old");
  ASSERT_EQ(::symlink("real.pgn", link.c_str()), 0);
  EXPECT_EQ(RunCli({"convert", clean, link}).status, 0);
  ASSERT_EQ(::lstat(link.c_str(), &status), 0);
  EXPECT_TRUE(S_ISLNK(status.st_mode));
  EXPECT_EQ(ReadFile(real), ReadFile(clean));
}

TEST(CliGuard, ASaveAtTheFileSizeLimitFailsWithExitThree) {
  testing::TempFolder folder;
  std::string text;
  for (int i = 0; i < 300; ++i) text += "[Event \"Game " + std::to_string(i) + "\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n";
  const std::string pgn = folder / "games.pgn";
  WriteFile(pgn, text);
  const pid_t child = ::fork();
  if (child == 0) {
    struct rlimit limit {
      4096, 4096
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    const std::string backups = folder / "bk";
    ::execl(VARNOCK_CLI, VARNOCK_CLI, "save", pgn.c_str(), "--backup-dir", backups.c_str(), "--tag",
            "1:Event=A much longer name than before", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(ReadFile(pgn), text);
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
}

// Thirty saves killed at random moments, each copying its backup to a tmpfs:
// every backup left is whole, and so is the file.
TEST(CliGuard, BackupsOnAnotherFileSystemSurviveKilledSaves) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs for the backups needs root (or a user namespace)";
  std::string text;
  for (const auto& path : testing::CorpusFiles({"big"}))
    if (path.filename() == "Carlsen.pgn.xz") text = testing::ReadCorpusFile(path);
  ASSERT_FALSE(text.empty());
  const std::string one = text;
  for (int i = 0; i < 7; ++i) text += one;
  testing::TempFolder folder;
  const std::string pgn = folder / "big.pgn", backups = folder / "bk";
  std::filesystem::create_directories(backups);

  // The mount lives in a private mount namespace of a child, and goes with it.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", backups.c_str(), "tmpfs", 0, "size=512m") != 0)
      ::_exit(77);
    struct stat a {
    }, b{};
    if (::stat(folder.Path().c_str(), &a) != 0 || ::stat(backups.c_str(), &b) != 0 || a.st_dev == b.st_dev) ::_exit(78);
    const std::vector<std::string> save = {"save",      pgn,    "--backup-dir", backups,
                                           "--backups", "1000", "--tag",        "1:Event=Killed"};
    // How long a whole save takes: the kills fall anywhere within it.
    WriteFile(pgn, text);
    const auto began = std::chrono::steady_clock::now();
    if (RunCli(save).status != 0) ::_exit(79);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - began);
    const std::string saved = ReadFile(pgn);
    for (const auto& entry : std::filesystem::directory_iterator(backups)) std::filesystem::remove(entry.path());
    std::mt19937 random(30);
    int bad = 0;
    for (int kill = 0; kill < 30; ++kill) {
      WriteFile(pgn, text);
      const std::size_t before = EntriesIn(backups);
      bool ended = false;
      const int pid = testing::StartCli(save);
      if (pid <= 0) ::_exit(80);
      if (kill % 2 == 0) {
        // Anywhere in the save.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (whole.count() + 1)));
      } else {
        // Within the copy to the backup folder: soon after its file appears.
        const auto limit = std::chrono::steady_clock::now() + 4 * whole;
        while (EntriesIn(backups) == before && std::chrono::steady_clock::now() < limit && !ended)
          if (::waitpid(pid, nullptr, WNOHANG) == pid)
            ended = true;
          else
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
      }
      if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
      const std::string now = ReadFile(pgn);
      if (now != text && now != saved) ++bad;
    }
    // Every backup the thirty saves left, counted once.
    for (const auto& entry : std::filesystem::directory_iterator(backups)) {
      const std::string name = entry.path().filename();
      if (name.ends_with(".tmp")) continue;  // a copy under its temporary name, never counted
      if (ReadFile(entry.path()) != text) ++bad;
    }
    ::_exit(std::min(bad, 60));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no tmpfs could be mounted in a private mount namespace";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "up to 60: that many cut-off files or backups; 78: the tmpfs shares the "
                                       "folder's device; 79: the uninterrupted save failed";
}

}  // namespace
}  // namespace varnock
