// The backups a save leaves behind: a time-stamped copy of the old file in
// the backup folder, the newest few kept.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"

namespace varnock {

// Creates the folder and any missing parents; true when it exists after.
bool ForceDirectories(const std::string& folder);

// The local date and time as "YYYYMMDD HHMMSS".
std::string BackupStamp(std::time_t now);

// "FOLDER/FILE   STAMP_N.EXT" with the first free N from 1: the file part
// of `fileName` (shortened with "..." when long), the stamp of `now`. The
// folder is created when missing; when that fails the user is told and
// nothing is returned.
std::optional<std::string> GetBackupName(const std::string& backupFolder, const std::string& fileName,
                                         const std::string& extension, std::time_t now, UserPrompt& prompt);

// Puts the new contents under the file's name and keeps the old under the
// backup name: the old file is linked (or, across file systems, copied) to
// the backup name first, then the temporary file is renamed over the name,
// so that there is never a moment without a file under it. Then the backup
// is stamped with the current time and the folder pruned to `keep` files.
// A failure is reported and returns false.
bool SwapBackupFiles(const std::string& fileName, const std::string& tempName, const std::string& backupName, int keep,
                     UserPrompt& prompt);

// Gives the backup the current time as its time (the order of pruning).
void SetBackupFileTime(const std::string& backupName, UserPrompt& prompt);

// The files of the folder (not sub-folders), newest first; false (after a
// report) when the folder cannot be read.
bool DirectoryFound(const std::string& folder, std::vector<std::string>& files, UserPrompt& prompt);

// Deletes all but the `keep` newest files of the backup folder.
void BackupDelete(const std::string& folder, int keep, UserPrompt& prompt);

// Flushes a folder's entries (new names, renames) to disk.
void SyncFolder(const std::string& folder);

// The folder part (before the last "/") and the file part of a path.
std::string FolderOf(const std::string& path);
std::string FilePartOf(const std::string& path);

}  // namespace varnock
