#include "app/ExplorerLink.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <exception>

#include "app/ExplorerWindow.h"
#include "app/QtPrompt.h"
#include "app/Workspace.h"
#include "openings/CollectionStatsBuild.h"
#include "openings/ExplorerMovePlay.h"
#include "openings/ExplorerPlaces.h"
#include "openings/ExplorerSummary.h"

namespace varnock {

ExplorerLink::ExplorerLink(Workspace& workspace, QWidget* mainWindow, std::function<void()> beforeEdit,
                           std::function<void()> afterEdit, std::function<void(CommandId)> runCommand)
    : workspace_(workspace),
      mainWindow_(mainWindow),
      beforeEdit_(std::move(beforeEdit)),
      afterEdit_(std::move(afterEdit)),
      runCommand_(std::move(runCommand)) {}

ExplorerLink::~ExplorerLink() { Close(); }

void ExplorerLink::Launch() {
  UserPrompt& prompt = workspace_.prompt;
  // The watcher's notice comes on its own thread: it only posts a call
  // back here and returns.
  const auto notify = [this] {
    QMetaObject::invokeMethod(
        this, [this] { WatcherNoticed(); }, Qt::QueuedConnection);
  };
  if (!watcher_.Launch(notify, prompt)) return;
  workspace_.eco.Start(prompt);
  StartExplorerECODatabase(index_, prompt);
  if (!stats_ && !LoadStatistics(ExplorerDatabasePath())) {
    watcher_.Stop();
    return;
  }
  if (!window_) {
    window_ = new ExplorerWindow(workspace_.settings, mainWindow_);
    connect(window_, &ExplorerWindow::RowChosen, this, &ExplorerLink::PlayRow);
    connect(window_, &ExplorerWindow::BuildRequested, this, [this] { runCommand_(CommandId::BuildExplorerDatabase); });
    connect(window_, &ExplorerWindow::Closed, this, &ExplorerLink::WindowClosed);
    ApplySources();
  }
  Follow();
  window_->show();
  window_->raise();
}

void ExplorerLink::Follow() {
  if (!window_) return;
  GameTree& tree = workspace_.Tree();
  const auto game = static_cast<std::uint32_t>(workspace_.collection.CurrentPosition());
  watcher_.Publish(game, tree.current);
  shownPlace_ = ExplorerWatcher::PlaceOf(game, tree.current);
  window_->Show(tree.board, tree.sideToMove);
}

void ExplorerLink::WatcherNoticed() {
  // The main window refreshes, and so the window follows, unless the shown
  // place is the one published.
  if (window_ && watcher_.Published() != shownPlace_) afterEdit_();
}

void ExplorerLink::Close() {
  if (window_) window_->close();  // stops the watcher through WindowClosed
  watcher_.Stop();
}

void ExplorerLink::WindowClosed() {
  watcher_.Stop();
  if (!window_) return;
  window_->deleteLater();
  window_ = nullptr;
}

bool ExplorerLink::LoadStatistics(const std::string& path) {
  std::optional<ExplorerStats> loaded = LoadExplorerStats(path, workspace_.prompt);
  if (!loaded) return false;
  stats_ = std::move(loaded);
  statsPath_ = path;
  return true;
}

void ExplorerLink::ApplySources() {
  if (!window_ || !stats_) return;
  ExplorerSources sources;
  sources.stats = &*stats_;
  sources.index = index_.Available() ? &index_ : nullptr;
  sources.table = workspace_.eco.Table();
  sources.initials = workspace_.settings.settings.pieceInitials;
  window_->SetSources(sources, ExplorerDatabaseSummary(statsPath_, *stats_));
}

void ExplorerLink::PlayRow(const SExplorerMove& row) {
  beforeEdit_();
  PlayExplorerMove(workspace_.Tree(), row, workspace_.prompt);
  afterEdit_();
}

void ExplorerLink::Build() {
  UserPrompt& prompt = workspace_.prompt;
  CollectionStatsBuild build(workspace_.collection);
  // Modal: the collection stays as it is while its games are counted.
  QProgressDialog progress(ScreenText(kExplorerBuildProgressText), QStringLiteral("Cancel"), 0,
                           static_cast<int>(build.GamesTotal()), mainWindow_);
  progress.setWindowTitle(ScreenText(LabelText(CommandOf(CommandId::BuildExplorerDatabase).label)));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(300);
  try {
    while (build.Step()) {
      progress.setValue(static_cast<int>(build.GamesDone()));
      // Input waits until the dialog shows, and then goes only to it.
      QCoreApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                           : QEventLoop::ExcludeUserInputEvents);
      if (progress.wasCanceled()) return;
    }
  } catch (const std::exception& failure) {
    prompt.Inform(kExplorerBuildCaption, failure.what());
    return;
  }
  progress.setValue(static_cast<int>(build.GamesTotal()));
  if (build.Builder().Games() == 0) {
    prompt.Inform(kExplorerBuildCaption, kExplorerNothingToBuild);
    return;
  }
  const std::string path = UserExplorerDatabasePath();
  if (!WriteExplorerDatabase(path, build.Builder(), prompt) || !LoadStatistics(path)) return;
  if (!window_) return Launch();
  ApplySources();
  Follow();
}

}  // namespace varnock
