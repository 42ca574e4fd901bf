// Saves that fail: the disk is full, the folder is not writable. The old
// file stays as it was and no temporary file is left.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/CollectionTesting.h"

namespace varnock {
namespace {

using testing::CollectionUnderTest;
using testing::ReadFile;

// Runs `save` in a child process prepared by `prepare`, and returns the
// caption and text of every message the save showed, one per line.
template <typename Prepare>
std::string SaveInChild(CollectionUnderTest& t, Prepare prepare) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    prepare();
    t.prompt.DeclineUnscripted();
    t.prompt.Clear();
    t.files.CmSave();
    std::string told;
    for (const auto& record : t.prompt.Records()) told += record.caption + "|" + record.text + "\n";
    if (::write(pipeEnds[1], told.data(), told.size()) < 0) ::_exit(3);
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string told;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) told.append(buffer, got);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  return told;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ChangedCollection(CollectionUnderTest& t, const std::string& folder) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "[Event \"Game " + std::to_string(i) + "\"]\n\n1. e4 e5 2. Nf3 Nc6 *\n\n";
  const std::string name = folder + "/games.pgn";
  testing::WriteFile(name, text);
  EXPECT_TRUE(t.files.ReLoad(name));
  // Every game gets a new header: the whole file is written anew.
  for (std::size_t i = 0; i < t.collection.Count(); ++i) {
    t.collection.Game(i).header.Set(HeaderField::Site, "Somewhere rather far away from here");
    t.collection.Game(i).stateFlags |= kHeaderChanged;
  }
  t.collection.modified = true;
  return text;
}

TEST(SaveFault, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  CollectionUnderTest t;
  const std::string old = ChangedCollection(t, t.folder.Path());
  const std::string told = SaveInChild(t, [] {
    // Files may not grow beyond 4 KB in the child: writes fail as on a full disk.
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      4096, 4096
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
  });
  EXPECT_TRUE(told.starts_with("FrameWin::Save_File()|WriteFile failed\n\n'")) << told;
  EXPECT_NE(told.find("\nFile too large\nError Code is 27"), std::string::npos) << told;
  EXPECT_EQ(told.find("File saved"), std::string::npos);
  EXPECT_EQ(ReadFile(t.folder / "games.pgn"), old);
  EXPECT_EQ(FilesIn(t.folder.Path()), (std::vector<std::string>{"Backup", "games.pgn", "temp"}));
  EXPECT_TRUE(FilesIn(t.folder / "Backup").empty());
}

TEST(SaveFault, AFolderThatCannotBeWrittenLeavesTheOldFile) {
  CollectionUnderTest t;
  // The collection in a folder nobody may write to; backups elsewhere.
  const std::string folder = t.folder / "readonly";
  std::filesystem::create_directories(folder);
  ::chmod(t.folder.Path().c_str(), 0755);
  const std::string old = ChangedCollection(t, folder);
  ::chmod((folder + "/games.pgn").c_str(), 0666);
  ::chmod(folder.c_str(), 0555);
  t.files.settings.backupFolder = "/tmp/varnock-test-backups-" + std::to_string(::getpid());
  std::filesystem::create_directories(t.files.settings.backupFolder);
  ::chmod(t.files.settings.backupFolder.c_str(), 0777);

  const std::string told = SaveInChild(t, [] {
    // The superuser may write anywhere: the child gives that up.
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      const uid_t uid = nobody ? nobody->pw_uid : 65534;
      if (::setgid(nobody ? nobody->pw_gid : 65534) != 0 || ::setuid(uid) != 0) ::_exit(4);
    }
  });
  EXPECT_EQ(told,
            "GetTempFileName()|Directory '" + folder + "'\nFile 'games.pgn'\n\nPermission denied\nError Code is 13\n");
  EXPECT_EQ(ReadFile(folder + "/games.pgn"), old);
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"games.pgn"}));
  std::filesystem::remove_all(t.files.settings.backupFolder);
}

TEST(SaveFault, AWriteProtectedFileIsNotReplaced) {
  CollectionUnderTest t;
  const std::string old = ChangedCollection(t, t.folder.Path());
  const std::string name = t.folder / "games.pgn";
  ::chmod(name.c_str(), 0444);
  ::chmod(t.folder.Path().c_str(), 0755);
  const std::string told = SaveInChild(t, [] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(4);
  });
  // As the superuser the file is writable after all; as anyone else it is not.
  if (::geteuid() != 0 || told.find("IsWriteProtected") != std::string::npos) {
    EXPECT_EQ(told, "CmSave(): IsWriteProtected()|'" + name +
                        "'\n\nUnable to replace file.  File is marked as being write protected\n");
  }
  EXPECT_EQ(ReadFile(name), old);
}

}  // namespace
}  // namespace varnock
