// The main window: one game of the open collection, shown as a board, the
// game text and the comment panes, with the menus, the two bars and the
// status line. It composes the views and routes every command through the
// command router; the commands themselves live in the command table.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/AppClipboard.h"
#include "app/CommandTable.h"
#include "app/Workspace.h"
#include "collection/Collection.h"

class QLabel;
class QMenu;
class QToolBar;
class QDockWidget;

namespace varnock {

class BoardView;
class CommandRouter;
class CommentPane;
class ExplorerLink;
class GameTextView;
class LoadProgress;
class PreviewWindow;
class StoredPositionWindow;

class FrameWin : public QMainWindow, public WindowSide, private CollectionViews {
  Q_OBJECT
 public:
  // `settings` and `prompt` outlive the window; the window reads and writes
  // the "Application" section through `settings` and writes it to
  // `settingsPath` when it closes (nothing when the path is empty).
  FrameWin(Settings& settings, UserPrompt& prompt, std::string settingsPath = {}, QWidget* parent = nullptr);
  ~FrameWin() override;

  // Opens the start-up file: the first of `arguments`, else the newest
  // recent file when "OpenLast" is on.
  void OpenStartFile(const std::vector<std::string>& arguments);

  Workspace& Work() { return *workspace_; }
  CommandRouter& Router() { return *router_; }
  AppClipboard& Clipboard() { return clipboard_; }
  BoardView& Board() { return *board_; }
  GameTextView& GameText() { return *gameText_; }
  CommentPane& AfterPane() { return *afterPane_; }
  CommentPane& BeforePane() { return *beforePane_; }
  QToolBar& ToolBar() { return *toolBar_; }
  QToolBar& NavigationBar() { return *navigationBar_; }
  // The texts of the status bar: game place, move, modified mark.
  QString StatusText() const;
  // Whether closing may go on: asks when there are unsaved changes.
  bool MayClose();

  // The one refresh path: every view pulls from the model.
  void RefreshViews();

  // WindowSide.
  void ScrollGameText(int lines, int pages) override;
  void ScrollGameTextToEnd(bool bottom) override;
  void ResizeBoard(bool up) override;
  void UpdateBars() override;
  void TogglePreCommentPane() override;
  bool PreviewShown() const override;
  bool StoredPositionShown() const override;
  void ShowPreview(bool show) override;
  void ShowStoredPosition(bool show) override;
  void CloseWindow() override;
  void ShowHelp() override;
  void ShowAbout() override;
  std::optional<std::string> AskImportText(const std::string& title, bool pgn, bool& bracesToBrackets,
                                           const std::string& initial) override;
  void OpenWithViewer(const std::string& path) override;
  void PreviewText(const std::string& text) override;
  void LaunchExplorer() override;
  void BuildExplorerDatabase() override;
  ExplorerLink& Explorer() { return *explorer_; }

  // The file the help command opens.
  static std::string ManualPath();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // CollectionViews: the collection tells when it replaced or moved its
  // games; the views are then handed the game anew.
  void Refresh() override {
    reshow_ = true;
    RefreshViews();
  }
  void ResetGameText() override { reshow_ = true; }

  void BuildViews();
  void BuildMenus();
  void BuildBars();
  void RebuildRecentMenu();
  void CommitPanes();
  void DetachViews();
  void ShowBoardMenu(int square, QPoint globalPos);
  void ShowGameTextMenu(NodeRef node, QPoint globalPos);
  void RestorePlacement();
  void StorePlacement();

  Settings& settings_;
  UserPrompt& prompt_;
  std::string settingsPath_;
  AppClipboard clipboard_;
  std::unique_ptr<Workspace> workspace_;
  CommandRouter* router_ = nullptr;
  BoardView* board_ = nullptr;
  GameTextView* gameText_ = nullptr;
  CommentPane* afterPane_ = nullptr;
  CommentPane* beforePane_ = nullptr;
  PreviewWindow* preview_ = nullptr;
  StoredPositionWindow* stored_ = nullptr;
  QDockWidget* previewDock_ = nullptr;
  QDockWidget* storedDock_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QToolBar* navigationBar_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QLabel* placeLabel_ = nullptr;
  QLabel* moveLabel_ = nullptr;
  QLabel* modifiedLabel_ = nullptr;
  const SGridFrame* shownGame_ = nullptr;
  const GameTree* shownTree_ = nullptr;
  std::uint64_t shownRevision_ = 0;
  bool reshow_ = false;
  std::unique_ptr<LoadProgress> progress_;
  std::unique_ptr<ExplorerLink> explorer_;
};

}  // namespace varnock
