#include "app/FrameWin.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <filesystem>

#include "app/BoardView.h"
#include "app/CommandRouter.h"
#include "app/CommentPane.h"
#include "app/ExplorerLink.h"
#include "app/GameTextView.h"
#include "app/ImportDialog.h"
#include "app/LoadProgress.h"
#include "app/MenuLayout.h"
#include "app/QtPrompt.h"
#include "app/SideBoards.h"
#include "app/StartUp.h"
#include "app/TemporaryText.h"
#include "core/Notation.h"
#include "render/ChessFontFiles.h"
#include "render/ProductInfo.h"
#include "settings/SettingsFile.h"
#include "tree/Navigation.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

FrameWin::FrameWin(Settings& settings, UserPrompt& prompt, std::string settingsPath, QWidget* parent)
    : QMainWindow(parent), settings_(settings), prompt_(prompt), settingsPath_(std::move(settingsPath)) {
  setWindowIcon(QIcon::fromTheme(QStringLiteral("applications-games")));
  workspace_ = std::make_unique<Workspace>(settings_, prompt_, clipboard_, *this);
  workspace_->collection.NewCollection();
  BuildViews();
  router_ = new CommandRouter(
      *workspace_, this, [this] { CommitPanes(); }, [this] { RefreshViews(); });
  workspace_->collection.views = this;
  explorer_ = std::make_unique<ExplorerLink>(
      *workspace_, this, [this] { CommitPanes(); }, [this] { RefreshViews(); },
      [this](CommandId id) { router_->Run(id); });
  progress_ = std::make_unique<LoadProgress>(this, [this] { DetachViews(); });
  workspace_->collection.buildObserver = progress_.get();
  BuildMenus();
  BuildBars();
  RestorePlacement();
  RefreshViews();
  // The keys move in the game from the start; a click on a pane types in it.
  board_->setFocus();
}

FrameWin::~FrameWin() {
  explorer_.reset();
  workspace_->collection.views = nullptr;
  workspace_->collection.buildObserver = nullptr;
}

void FrameWin::DetachViews() {
  // The games the views show are gone: until the next refresh they show none.
  board_->ShowGame(nullptr);
  gameText_->ShowGame(nullptr);
  afterPane_->ShowGame(nullptr);
  beforePane_->ShowGame(nullptr);
  preview_->ShowGame(nullptr);
  stored_->ShowGame(nullptr);
  shownGame_ = nullptr;
  shownTree_ = nullptr;
}

void FrameWin::BuildViews() {
  board_ = new BoardView(settings_, prompt_);
  board_->SetCaptionSource([this] {
    Collection& collection = workspace_->collection;
    const SGridFrame& game = collection.CurrentGame();
    BoardCaptionValues values;
    values.place = static_cast<int>(collection.CurrentPosition()) + 1;
    values.count = static_cast<int>(collection.Count());
    values.board = std::string(game.header.Get(HeaderField::Board));
    values.white = std::string(game.header.Get(HeaderField::White));
    values.black = std::string(game.header.Get(HeaderField::Black));
    values.movesChanged = (game.StateFlags() & kMovesChanged) != 0;
    values.fileName = collection.fileName;
    values.modified = collection.modified;
    return values;
  });
  gameText_ = new GameTextView(settings_);
  afterPane_ = new CommentPane(CommentPane::Kind::AfterMove, settings_);
  beforePane_ = new CommentPane(CommentPane::Kind::BeforeMove, settings_);
  // Names for screen readers.
  board_->setAccessibleName(QStringLiteral("Board"));
  gameText_->setAccessibleName(QStringLiteral("Game text"));
  afterPane_->setAccessibleName(QStringLiteral("Comment after the move"));
  beforePane_->setAccessibleName(QStringLiteral("Comment before the move"));

  auto* text = new QSplitter(Qt::Vertical);
  text->addWidget(beforePane_);
  text->addWidget(gameText_);
  text->addWidget(afterPane_);
  text->setStretchFactor(1, 4);
  auto* panes = new QSplitter(Qt::Horizontal);
  panes->addWidget(board_);
  panes->addWidget(text);
  panes->setStretchFactor(0, 3);
  panes->setStretchFactor(1, 2);
  setCentralWidget(panes);

  preview_ = new PreviewWindow(settings_);
  stored_ = new StoredPositionWindow(settings_);
  previewDock_ = new QDockWidget(QStringLiteral("Preview"), this);
  previewDock_->setObjectName(QStringLiteral("PreviewDock"));
  previewDock_->setWidget(preview_);
  storedDock_ = new QDockWidget(QStringLiteral("Stored Position"), this);
  storedDock_->setObjectName(QStringLiteral("StoredDock"));
  storedDock_->setWidget(stored_);
  addDockWidget(Qt::RightDockWidgetArea, previewDock_);
  addDockWidget(Qt::RightDockWidgetArea, storedDock_);
  previewDock_->hide();
  storedDock_->hide();

  // Edits made in a view: the one refresh path takes them up.
  connect(board_, &BoardView::GameEdited, this, &FrameWin::RefreshViews);
  connect(board_, &BoardView::MoveRefused, this, &FrameWin::RefreshViews);
  connect(afterPane_, &CommentPane::GameEdited, this, &FrameWin::RefreshViews);
  connect(beforePane_, &CommentPane::GameEdited, this, &FrameWin::RefreshViews);
  connect(board_, &BoardView::ContextMenuRequested, this, &FrameWin::ShowBoardMenu);
  connect(board_, &BoardView::PreferredSquareChanged, this,
          [this](int square) { settings_.application.sizeChs = square; });
  connect(gameText_, &GameTextView::NodeClicked, this, [this](NodeRef node) {
    CommitPanes();
    GoToNode(workspace_->Tree(), node);
    RefreshViews();
  });
  connect(gameText_, &GameTextView::ContextMenuRequested, this, &FrameWin::ShowGameTextMenu);
  connect(stored_, &StoredPositionWindow::RecallRequested, this, [this](int slot) {
    router_->Run(static_cast<CommandId>(static_cast<int>(CommandId::RecallPosition0) + slot));
  });

  placeLabel_ = new QLabel;
  moveLabel_ = new QLabel;
  modifiedLabel_ = new QLabel;
  statusBar()->addWidget(placeLabel_);
  statusBar()->addWidget(moveLabel_, 1);
  statusBar()->addPermanentWidget(modifiedLabel_);
}

void FrameWin::CommitPanes() {
  afterPane_->Commit();
  beforePane_->Commit();
}

void FrameWin::RefreshViews() {
  progress_->Finish();
  Collection& collection = workspace_->collection;
  SGridFrame& game = collection.CurrentGame();
  GameTree& tree = game.Tree();
  if (&game != shownGame_ || &tree != shownTree_ || reshow_) {
    reshow_ = false;
    shownGame_ = &game;
    shownTree_ = &tree;
    shownRevision_ = tree.Revision();
    board_->ShowGame(&tree);
    gameText_->ShowGame(&tree);
    afterPane_->ShowGame(&tree);
    beforePane_->ShowGame(&tree);
    preview_->ShowGame(&tree);
    stored_->ShowGame(&tree);
  } else {
    board_->Refresh();
    gameText_->Refresh();
    afterPane_->Refresh();
    beforePane_->Refresh();
    preview_->Refresh();
    stored_->Refresh();
  }
  // A move entered on the board or a comment stored in a pane is an edit.
  if (tree.Revision() != shownRevision_) collection.modified = true;
  shownRevision_ = tree.Revision();
  // The file list follows the files opened.
  const std::vector<std::string>& opened = workspace_->files.recent.Names();
  if (!opened.empty() && settings_.recentFiles.Newest() != opened.front()) settings_.recentFiles.Add(opened.front());

  const QString title = ScreenText(collection.TitleText());
  setWindowTitle((title.isEmpty() ? QStringLiteral("Varnock") : title + QStringLiteral(" - Varnock")) +
                 QStringLiteral("[*]"));
  setWindowModified(collection.modified);
  placeLabel_->setText(QStringLiteral("Game %1 of %2").arg(collection.CurrentPosition() + 1).arg(collection.Count()));
  const std::string move = CurrentMoveText(tree.Store(), tree.current, settings_.settings.shortNotation,
                                           {settings_.settings.pieceInitials}, true);
  // The game's last message (a refused move's reason), else who is to move.
  const QString status = ScreenText(tree.statusText.empty() ? ToMoveText(tree.sideToMove) : tree.statusText);
  moveLabel_->setText(move.empty() ? status : ScreenText(move).trimmed() + QStringLiteral("    ") + status);
  modifiedLabel_->setText(collection.modified ? QStringLiteral("Modified") : QString());
  router_->UpdateStates();
  if (explorer_) explorer_->Follow();
}

QString FrameWin::StatusText() const {
  return placeLabel_->text() + QLatin1Char('|') + moveLabel_->text() + QLatin1Char('|') + modifiedLabel_->text();
}

void FrameWin::OpenStartFile(const std::vector<std::string>& arguments) {
  const std::optional<std::string> path = StartFile(arguments, settings_, prompt_);
  if (!path) return;
  workspace_->files.ReLoad(*path);
  RefreshViews();
}

void FrameWin::ScrollGameText(int lines, int pages) {
  if (lines) gameText_->ScrollLines(lines);
  if (pages) gameText_->ScrollPages(pages);
}

void FrameWin::ScrollGameTextToEnd(bool bottom) {
  if (bottom)
    gameText_->ScrollToBottom();
  else
    gameText_->ScrollToTop();
}

void FrameWin::ResizeBoard(bool up) {
  if (up)
    board_->SizeUp();
  else
    board_->SizeDown();
}

void FrameWin::UpdateBars() {
  toolBar_->setVisible(settings_.application.toolbar);
  navigationBar_->setVisible(settings_.application.navigationBar);
}

void FrameWin::TogglePreCommentPane() { beforePane_->ToggleShown(settings_.settings.showPreCommentWindow); }

bool FrameWin::PreviewShown() const { return previewDock_->isVisible(); }
bool FrameWin::StoredPositionShown() const { return storedDock_->isVisible(); }
void FrameWin::ShowPreview(bool show) { previewDock_->setVisible(show); }
void FrameWin::ShowStoredPosition(bool show) { storedDock_->setVisible(show); }

void FrameWin::CloseWindow() { close(); }

std::string FrameWin::ManualPath() { return (DefaultFontFolder().parent_path() / "manual" / "index.html").string(); }

void FrameWin::ShowHelp() {
  const std::string path = ManualPath();
  if (!std::filesystem::exists(path)) {
    prompt_.Inform("FrameWin::CmHelp()", "'" + path + "'\n\nThe system cannot find the file.");
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void FrameWin::ShowAbout() {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About %1").arg(QLatin1String(kProductName)),
                  QStringLiteral("<h2>%1</h2><p>%2</p><p>A desktop editor for chess game collections.</p>"
                                 "<p>Build %3, Qt %4</p>")
                      .arg(QLatin1String(kProductName), QLatin1String(kDocumentVersionText),
                           QLatin1String(BuildVersionText()), QLatin1String(qVersion())),
                  QMessageBox::Ok, this);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

std::optional<std::string> FrameWin::AskImportText(const std::string& title, bool pgn, bool& bracesToBrackets,
                                                   const std::string& initial) {
  RecordRect& place =
      pgn ? settings_.application.commentPlacementPgn.value : settings_.application.commentPlacementFen.value;
  bool& placed =
      pgn ? settings_.application.commentPlacementPgn.saved : settings_.application.commentPlacementFen.saved;
  ImportDialog dialog(ScreenText(title), pgn, this);
  dialog.SetText(initial.empty() ? QApplication::clipboard()->text() : ScreenText(initial));
  dialog.SetBracesToBrackets(bracesToBrackets);
  if (placed) dialog.setGeometry(QRect(QPoint(place.left, place.top), QPoint(place.right - 1, place.bottom - 1)));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  const QRect shown = dialog.geometry();
  place = RecordRect{shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1};
  placed = true;
  if (!accepted) return std::nullopt;
  bracesToBrackets = dialog.BracesToBrackets();
  return dialog.Text().toStdString();
}

void FrameWin::OpenWithViewer(const std::string& path) {
  const QString file = QString::fromStdString(path);
  const std::string& viewer = settings_.settings.fileViewer;
  const bool started = viewer.empty() ? QDesktopServices::openUrl(QUrl::fromLocalFile(file))
                                      : QProcess::startDetached(QString::fromStdString(viewer), {file});
  if (!started)
    prompt_.Inform("FrameWin::CmViewGameFile()",
                   "'" + (viewer.empty() ? std::string("xdg-open") : viewer) + "'\n\nUnable to open '" + path + "'");
}

void FrameWin::LaunchExplorer() { explorer_->Launch(); }
void FrameWin::BuildExplorerDatabase() { explorer_->Build(); }

void FrameWin::PreviewText(const std::string& text) {
  const std::optional<std::string> path =
      WriteTemporaryText(workspace_->collection.settings.tempFolder, "PG", ".txt", text, prompt_);
  if (path) OpenWithViewer(*path);
}

bool FrameWin::MayClose() {
  CommitPanes();
  RefreshViews();
  if (!workspace_->collection.modified) return true;
  return prompt_.AskYesNo("FrameWin::CanClose()", "Unsaved changes will be lost.\r\nDo you wish to exit?");
}

void FrameWin::closeEvent(QCloseEvent* event) {
  if (!MayClose()) {
    event->ignore();
    return;
  }
  explorer_->Close();
  StorePlacement();
  if (!settingsPath_.empty()) SaveSettings(settingsPath_, settings_, prompt_, kSectionApplication | kSectionFileList);
  event->accept();
}

void FrameWin::RestorePlacement() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const SavedRecord<WindowPlacement>& stored = settings_.application.windowPlacement;
  std::optional<QRect> rect;
  if (stored.saved) rect = StoredWindowRect(stored.value, available);
  setGeometry(rect ? *rect : DefaultWindowRect(available));
  if (rect && stored.value.showState == WindowPlacement::kMaximised) setWindowState(Qt::WindowMaximized);
}

void FrameWin::StorePlacement() {
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  settings_.application.windowPlacement = {PlacementOf(normal, isMaximized()), true};
}

}  // namespace varnock
