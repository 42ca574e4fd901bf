#include "app/Workspace.h"

#include "collection/DataPlaces.h"

namespace varnock {

Workspace::Workspace(Settings& settings, UserPrompt& prompt, AppClipboard& clipboard, WindowSide& window)
    : settings(settings),
      prompt(prompt),
      clipboard(clipboard),
      window(window),
      collection(store, prompt),
      files(collection, FileSettings{}) {
  ApplySettings();
}

Workspace::~Workspace() = default;

void Workspace::ApplySettings() {
  collection.settings.tempFolder = DefaultTempFolder();
  collection.settings.badContinuation = settings.settings.badContinuation;
  files.settings.backupFolder = DefaultBackupFolder();
  files.settings.backupFiles = settings.settings.backupFiles;
  files.settings.pgnExtensions = settings.settings.pgnExtensions;
  files.settings.pgnLongAlgebraic = settings.settings.pgnLongAlgebraic;
}

std::uint64_t Workspace::ShownRevision() {
  SGridFrame& game = collection.CurrentGame();
  return game.HasTree() ? game.Tree().Revision() : 0;
}

void Workspace::NoteEdits(std::uint64_t revisionBefore) {
  if (ShownRevision() != revisionBefore) collection.modified = true;
}

GameTree* Workspace::LoadGame(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= collection.Count()) return nullptr;
  SGridFrame& game = collection.Game(static_cast<std::size_t>(index));
  if (!collection.EnsureLoaded(game)) return nullptr;
  return &game.Tree();
}

}  // namespace varnock
