// A collection with scripted questions and its file commands, for tests.
#pragma once

#include <string>

#include "collection/FileCommands.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

namespace varnock::testing {

struct CollectionUnderTest {
  CollectionUnderTest() : collection(store, prompt), files(collection, FileSettings{}) {
    collection.settings.tempFolder = folder / "temp";
    files.settings.backupFolder = folder / "Backup";
    std::filesystem::create_directories(collection.settings.tempFolder);
  }

  // Writes a file into the test's folder and loads it.
  bool LoadText(const std::string& name, const std::string& text) {
    WriteFile(folder / name, text);
    return files.ReLoad(folder / name).Loaded();
  }

  TempFolder folder;
  ScriptedPrompt prompt;
  NodeStore store;
  Collection collection;
  FileCommands files;
};

}  // namespace varnock::testing
