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

bool OpenCollection::Open(const std::string& file) { return files.ReLoad(file); }

}  // namespace varnock::cli
