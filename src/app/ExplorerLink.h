// The main window's side of the opening explorer: opens the explorer's
// window, keeps its databases and its watcher, hands it the shown position
// and plays its rows in the shown game, and builds a database from the
// collection.
//
// Everything here runs on the interface thread. The watcher thread only
// compares the place the main window publishes and posts a queued call
// back; the position is then worked out here, from the tree, through the
// main window's refresh. That refresh publishes the place and shows it at
// once, so a notice normally finds the window up to date and does nothing:
// in particular it never reads the collection while a command (a load that
// keeps the window painting) is still changing it.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/CommandTable.h"
#include "openings/ExplorerEcoIndex.h"
#include "openings/ExplorerStats.h"
#include "openings/ExplorerWatcher.h"

class QWidget;

namespace varnock {

class ExplorerWindow;
class Workspace;
struct SExplorerMove;

class ExplorerLink : public QObject {
  Q_OBJECT
 public:
  // `beforeEdit` and `afterEdit` run around a move played from the
  // explorer (the main window stores its panes, then refreshes);
  // `runCommand` runs a command of the table (the window's build button).
  ExplorerLink(Workspace& workspace, QWidget* mainWindow, std::function<void()> beforeEdit,
               std::function<void()> afterEdit, std::function<void(CommandId)> runCommand);
  ~ExplorerLink() override;

  // The launch command: refused while the watcher runs; else loads the
  // databases (no window when the statistics cannot be read), opens the
  // window and starts the watcher.
  void Launch();
  // Publishes the main window's place to the watcher and shows its position
  // in the window, when open. Called from the main window's refresh.
  void Follow();
  // Closes the window and stops the watcher (the program ends).
  void Close();
  // The build command: counts the collection's games with a progress
  // dialog, writes the user's database and shows it.
  void Build();

  ExplorerWindow* Window() const { return window_; }
  ExplorerWatcher& Watcher() { return watcher_; }

 private:
  bool LoadStatistics(const std::string& path);
  void ApplySources();
  void PlayRow(const SExplorerMove& row);
  void WindowClosed();
  void WatcherNoticed();

  Workspace& workspace_;
  QWidget* mainWindow_;
  std::function<void()> beforeEdit_;
  std::function<void()> afterEdit_;
  std::function<void(CommandId)> runCommand_;
  ExplorerEcoIndex index_;
  std::optional<ExplorerStats> stats_;
  std::string statsPath_;
  ExplorerWatcher watcher_;
  ExplorerWindow* window_ = nullptr;
  std::uint64_t shownPlace_ = 0;  // the place last shown in the window
};

}  // namespace varnock
