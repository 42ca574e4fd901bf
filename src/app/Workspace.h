// What the window's commands work on: the settings, the open collection with
// its file commands, the clipboard and the prompt, and the few things only
// the window can do (scrolling its views, showing its bars). The window owns
// one; every command of the table receives it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "collection/Collection.h"
#include "collection/FileCommands.h"
#include "core/UserPrompt.h"
#include "openings/EcoDatabase.h"
#include "settings/Settings.h"
#include "tree/CommentSearch.h"
#include "tree/GameCollection.h"

namespace varnock {

class AppClipboard;

// The window's side of a command: what changes the window, not the model.
class WindowSide {
 public:
  virtual ~WindowSide() = default;
  virtual void ScrollGameText(int lines, int pages) = 0;  // +-1 line or page
  virtual void ScrollGameTextToEnd(bool bottom) = 0;
  virtual void ResizeBoard(bool up) = 0;
  virtual void UpdateBars() = 0;  // the tool bar and navigation bar follow the settings
  virtual void TogglePreCommentPane() = 0;
  virtual bool PreviewShown() const = 0;
  virtual bool StoredPositionShown() const = 0;
  virtual void ShowPreview(bool show) = 0;
  virtual void ShowStoredPosition(bool show) = 0;
  virtual void CloseWindow() = 0;  // asks about unsaved changes first
  virtual void ShowHelp() = 0;
  virtual void ShowAbout() = 0;
  // The import dialog, showing `initial`: the pasted text and, for PGN, the
  // brace option. Nothing when cancelled.
  virtual std::optional<std::string> AskImportText(const std::string& title, bool pgn, bool& bracesToBrackets,
                                                   const std::string& initial) = 0;
  // Opens a file in the "FileViewer" program, or the desktop's.
  virtual void OpenWithViewer(const std::string& path) = 0;
  // Shows a text in the file viewer (through a temporary file).
  virtual void PreviewText(const std::string& text) = 0;
  // The opening explorer: opens its window, and builds its database from
  // the collection.
  virtual void LaunchExplorer() = 0;
  virtual void BuildExplorerDatabase() = 0;
};

class Workspace : public GameCollection {
 public:
  Workspace(Settings& settings, UserPrompt& prompt, AppClipboard& clipboard, WindowSide& window);
  ~Workspace() override;

  Settings& settings;
  UserPrompt& prompt;
  AppClipboard& clipboard;
  WindowSide& window;
  NodeStore store;
  Collection collection;
  FileCommands files;
  FindSettings find;
  EcoDatabase eco;
  // The clicked square (0..63) and move of the last context menu.
  int contextSquare = -1;

  // The shown game's tree (its moves read the first time).
  GameTree& Tree() { return collection.CurrentGame().Tree(); }
  SGridFrame& Game() { return collection.CurrentGame(); }
  // The edit count of the shown game, and marking the collection modified
  // when a command changed it since.
  std::uint64_t ShownRevision();
  void NoteEdits(std::uint64_t revisionBefore);
  // The settings the file commands and readers take from the stored options.
  void ApplySettings();

  // GameCollection.
  int GameCount() const override { return static_cast<int>(collection.Count()); }
  GameTree* LoadGame(int index) override;
  void MarkCollectionChanged() override { collection.modified = true; }
};

}  // namespace varnock
