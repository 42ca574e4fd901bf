#include "formats/Backups.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/Format.h"
#include "formats/SystemError.h"
#include "formats/TempNames.h"

namespace varnock {

namespace {

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// Copies the file's bytes into a new temporary file in the folder of `to`,
// flushes it to disk and only then gives it the name `to`: a copy cut off
// midway never stands under a backup's name. errno tells a failure.
bool CopyFileContents(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string tempName;
  const int out = CreateTempFileFor(FolderOf(to), FilePartOf(to), tempName);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    errno = error;
    return false;
  }
  char buffer[1 << 16];
  bool ok = true;
  int error = 0;
  while (ok) {
    const ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ok = false;
      error = errno;
    }
    if (got <= 0) break;
    for (ssize_t done = 0; ok && done < got;) {
      const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        ok = false;
        error = put < 0 ? errno : ENOSPC;
      } else {
        done += put;
      }
    }
  }
  if (ok && ::fchmod(out, 0644) != 0) {
    ok = false;
    error = errno;
  }
  if (ok && ::fsync(out) != 0) {
    ok = false;
    error = errno;
  }
  ::close(in);
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  // Linked rather than renamed, so that a backup another save gave the same
  // name meanwhile is never replaced; renamed where links are not had.
  if (ok && ::link(tempName.c_str(), to.c_str()) == 0) {
    ::unlink(tempName.c_str());
  } else if (ok && (errno == EEXIST || ::rename(tempName.c_str(), to.c_str()) != 0)) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(tempName.c_str());
    errno = error;
  }
  return ok;
}

// Whether a folder entry carries a backup's name, "NAME   YYYYMMDD
// HHMMSS_N.EXT": pruning counts and deletes nothing else.
bool IsBackupName(std::string_view part) {
  const std::size_t underscore = part.rfind('_');
  if (underscore == std::string_view::npos || underscore < 18) return false;
  const std::string_view stamp = part.substr(underscore - 18, 18);
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    const char c = stamp[i];
    const bool ok = i < 3 || i == 11 ? c == ' ' : c >= '0' && c <= '9';
    if (!ok) return false;
  }
  std::string_view rest = part.substr(underscore + 1);
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  if (digits == 0 || digits >= rest.size() || rest[digits] != '.') return false;
  rest.remove_prefix(digits + 1);
  if (rest.empty()) return false;
  for (char c : rest)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string RenameFailure(const std::string& from, const std::string& to, int error) {
  return Format("'%s'\n\nUnable to rename file to '%s'\n\n%s\nError Code is %d", from.c_str(), to.c_str(),
                SystemMessage(error).c_str(), error);
}

}  // namespace

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FilePartOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ForceDirectories(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

std::string BackupStamp(std::time_t now) {
  std::tm local{};
  ::localtime_r(&now, &local);
  return Format("%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         Format(" %02d%02d%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

std::optional<std::string> GetBackupName(const std::string& backupFolder, const std::string& fileName,
                                         const std::string& extension, std::time_t now, UserPrompt& prompt) {
  const std::string folder = WithoutTrailingSlashes(backupFolder);
  if (!ForceDirectories(folder)) {
    prompt.Inform("GetBackupName()", Format("Unable to create directory\n'%s'", folder.c_str()));
    return std::nullopt;
  }
  const std::string stamp = BackupStamp(now);
  const std::string part = FilePartOf(fileName);
  std::string base;
  if (part.size() < 137) {
    base = folder + "/" + part + "   " + stamp;
  } else {
    base = folder + "/" + part.substr(0, 136 - stamp.size()) + "...   " + stamp;
  }
  for (int n = 1;; ++n) {
    const std::string name = Format("%s_%d.%s", base.c_str(), n, extension.c_str());
    struct stat status {};
    if (::lstat(name.c_str(), &status) != 0) return name;  // nothing there: free
  }
}

bool SwapBackupFiles(const std::string& fileName, const std::string& tempName, const std::string& backupName, int keep,
                     UserPrompt& prompt) {
  // Copies left by saves killed while copying to this file's backups.
  if (!backupName.empty()) {
    const std::string part = FilePartOf(backupName);
    const std::size_t stamp = part.rfind("   ");
    if (stamp != std::string::npos) RemoveStaleTempFiles(FolderOf(backupName), part.substr(0, stamp + 3), true);
  }
  // The old contents go to the backup name while the file keeps its name.
  if (::link(fileName.c_str(), backupName.c_str()) != 0) {
    const int linkError = errno;
    const bool copyable = !backupName.empty() && (linkError == EXDEV || linkError == EPERM || linkError == EMLINK ||
                                                  linkError == ENOTSUP || linkError == EACCES);
    if (!copyable || !CopyFileContents(fileName, backupName)) {
      const int error = copyable ? errno : linkError;
      prompt.Inform("SwapBackupFiles_1(): MoveFile()", RenameFailure(fileName, backupName, error));
      return false;
    }
  }
  SyncFolder(FolderOf(backupName));
  // The one step that changes what the name holds: atomic.
  if (::rename(tempName.c_str(), fileName.c_str()) != 0) {
    const int error = errno;
    prompt.Inform("SwapBackupFiles_2(): MoveFile()", RenameFailure(tempName, fileName, error));
    return false;
  }
  SyncFolder(FolderOf(fileName));
  SetBackupFileTime(backupName, prompt);
  BackupDelete(FolderOf(backupName), keep, prompt);
  return true;
}

void SetBackupFileTime(const std::string& backupName, UserPrompt& prompt) {
  // A hard link shares the old file's times: the backup is dated now, so that
  // pruning keeps the newest backups.
  if (::utimensat(AT_FDCWD, backupName.c_str(), nullptr, 0) != 0) {
    const int error = errno;
    prompt.Inform("SetBackupFileTime()", Format("SetFileTime( '%s' )\n%s\nError Code is %d", backupName.c_str(),
                                                SystemMessage(error).c_str(), error));
  }
}

bool DirectoryFound(const std::string& folder, std::vector<std::string>& files, UserPrompt& prompt) {
  files.clear();
  // A folder that is missing or cannot be entered is one thing; one that is
  // there but cannot be listed (no descriptor left, a read error) another.
  struct stat folderStatus {};
  if (::stat(folder.c_str(), &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode) ||
      ::access(folder.c_str(), X_OK) != 0) {
    prompt.Inform("DirectoryFound()", Format("Unable to SetCurrentDirectory() to '%s'", folder.c_str()));
    return false;
  }
  auto listingFailed = [&] {
    prompt.Inform("DirectoryFound()", Format("Unable to FindFirstFile() in '%s'", folder.c_str()));
    return false;
  };
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return listingFailed();
  struct Entry {
    std::string path;
    struct timespec time;
  };
  std::vector<Entry> entries;
  while (true) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    const std::string path = folder + "/" + entry->d_name;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) continue;
    entries.push_back({path, status.st_mtim});
  }
  const int listingError = errno;
  ::closedir(dir);
  // A listing cut short must not decide which backups are the oldest.
  if (listingError != 0) return listingFailed();
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.time.tv_sec != b.time.tv_sec) return a.time.tv_sec > b.time.tv_sec;
    if (a.time.tv_nsec != b.time.tv_nsec) return a.time.tv_nsec > b.time.tv_nsec;
    return a.path > b.path;  // the same instant: the later name (a higher _N) first
  });
  for (Entry& entry : entries) files.push_back(std::move(entry.path));
  return true;
}

void BackupDelete(const std::string& folder, int keep, UserPrompt& prompt) {
  std::vector<std::string> files;
  if (!DirectoryFound(folder, files, prompt)) return;
  // Only whole backups count: a copy still under its temporary name, or any
  // other file kept in the folder, is neither counted nor deleted.
  std::erase_if(files, [](const std::string& path) { return !IsBackupName(FilePartOf(path)); });
  const std::size_t kept = static_cast<std::size_t>(std::max(keep, 0));
  for (std::size_t i = kept; i < files.size(); ++i) {
    if (::unlink(files[i].c_str()) != 0) {
      const int error = errno;
      prompt.Inform("BackupDelete(): DeleteFile()",
                    Format("'%s'\n\nUnable to delete file\nError Code is %d", files[i].c_str(), error));
    }
  }
}

}  // namespace varnock
