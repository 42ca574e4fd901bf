#include "cli/OpenCollection.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/CliSettings.h"
#include "collection/DataPlaces.h"

namespace varnock::cli {

OpenCollection::OpenCollection(bool answerYes)
    : prompt(answerYes), collection(store, prompt), files(collection, FileSettings{}) {
  collection.settings.tempFolder = DefaultTempFolder();
  files.settings.backupFolder = DefaultBackupFolder();
  const SettingsSection& stored = RunSettings().settings;
  collection.settings.badContinuation = stored.badContinuation;
  files.settings.backupFiles = stored.backupFiles;
  files.settings.pgnExtensions = stored.pgnExtensions;
  files.settings.pgnLongAlgebraic = stored.pgnLongAlgebraic;
}

OpenCollection& OpenCollection::ForThisProcess(bool answerYes) {
  // Held by a plain pointer, which no exit handler frees.
  static OpenCollection* current = nullptr;
  delete current;
  current = nullptr;
  current = new OpenCollection(answerYes);
  return *current;
}

bool OpenCollection::Open(const std::string& file) { return files.ReLoad(file).Loaded(); }

int OpenCollection::SaveAsTo(const std::string& path, bool problems) {
  prompt.AnswerFileDialogsWith(path);
  const SaveResult result = files.SaveAs();
  return SaveStatus(result, problems || !collection.errors.Empty());
}

int SaveStatus(const SaveResult& result, bool problems) {
  switch (result.outcome) {
    case SaveResult::kSaved:
      return problems ? 1 : 0;
    case SaveResult::kDeclined:
      return 1;
    case SaveResult::kFailed:
      break;
  }
  return 3;
}

bool UsableOutputPath(const std::string& command, const std::string& path) {
  if (path.empty()) {
    std::cerr << "varnock-cli: " << command << ": the output file name is empty\n";
    return false;
  }
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT) return true;  // a new file (a dangling link is refused by the save)
    std::cerr << "varnock-cli: " << command << ": '" << path << "': " << std::strerror(errno) << '\n';
    return false;
  }
  if (S_ISREG(status.st_mode)) return true;
  std::cerr << "varnock-cli: " << command << ": '" << path
            << "' is not a regular file (a folder, device or pipe): it is not replaced\n";
  return false;
}

}  // namespace varnock::cli
