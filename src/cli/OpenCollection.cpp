#include "cli/OpenCollection.h"

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

bool OpenCollection::Open(const std::string& file) { return files.ReLoad(file); }

}  // namespace varnock::cli
