// save_step FILE BACKUP_DIR: opens FILE as `varnock-cli save` does, then
// saves it unchanged in place (one backup, in BACKUP_DIR) and prints how
// long each step took: "open S s, save S s". The save step is what a user
// waits for when saving a collection that is open already.
#include <chrono>
#include <cstdio>
#include <string>

#include "cli/OpenCollection.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: save_step FILE BACKUP_DIR\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const auto seconds = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
  };
  varnock::cli::OpenCollection& open = varnock::cli::OpenCollection::ForThisProcess(true);
  open.files.settings.backupFolder = argv[2];
  open.files.settings.backupFiles = 1;
  const Clock::time_point start = Clock::now();
  if (!open.Open(argv[1])) return 2;
  const Clock::time_point opened = Clock::now();
  const bool done = open.files.CmSave().Saved();
  const Clock::time_point saved = Clock::now();
  if (!done) return 1;
  std::printf("open %.4f s, save %.4f s\n", seconds(start, opened), seconds(opened, saved));
  return 0;
}
