#include "cli/OpenCollection.h"

#include "collection/DataPlaces.h"

namespace varnock::cli {

OpenCollection::OpenCollection(bool answerYes)
    : prompt(answerYes), collection(store, prompt), files(collection, FileSettings{}) {
  collection.settings.tempFolder = DefaultTempFolder();
  files.settings.backupFolder = DefaultBackupFolder();
}

bool OpenCollection::Open(const std::string& file) { return files.ReLoad(file); }

}  // namespace varnock::cli
