// The main window's menus: the menu bar, the recent files, the two bars and
// the context menus of the board and the game text, all made of the router's
// commands.
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/CommandRouter.h"
#include "app/FrameWin.h"
#include "app/MenuLayout.h"
#include "app/QtPrompt.h"
#include "tree/Navigation.h"

namespace varnock {

void FrameWin::BuildMenus() {
  for (const MenuEntries& layout : MainMenus()) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(layout.title));
    // Labels that toggle, and what is enabled, are brought up to date when a
    // menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this] {
      CommitPanes();
      router_->UpdateStates();
    });
    for (CommandId id : layout.entries) {
      if (id == kSeparator) {
        menu->addSeparator();
        continue;
      }
      menu->addAction(router_->Action(id));
      if (id == CommandId::ExportPgn) {
        menu->addSeparator();
        recentMenu_ = menu->addMenu(QString::fromLatin1(kRecentFileMenu));
        connect(recentMenu_, &QMenu::aboutToShow, this, &FrameWin::RebuildRecentMenu);
      }
    }
  }
  RebuildRecentMenu();
}

void FrameWin::RebuildRecentMenu() {
  recentMenu_->clear();
  const std::vector<std::string>& entries = settings_.recentFiles.Entries();
  recentMenu_->setEnabled(!entries.empty());
  int number = 1;
  for (const std::string& path : entries) {
    const QString label = QStringLiteral("&%1 %2").arg(number++).arg(ScreenText(RecentFileMenuName(path)));
    QAction* action = recentMenu_->addAction(label);
    action->setToolTip(ScreenText(path));
    connect(action, &QAction::triggered, this, [this, path] {
      CommitPanes();
      workspace_->files.From_MRU(path);
      RefreshViews();
    });
  }
}

void FrameWin::BuildBars() {
  const auto fill = [this](QToolBar* bar, std::span<const BarButton> buttons) {
    for (const BarButton& button : buttons) {
      QAction* action = router_->Action(button.id);
      action->setIcon(QIcon::fromTheme(QString::fromLatin1(button.icon)));
      QString tip = ScreenText(LabelText(CommandOf(button.id).label)).remove(QLatin1Char('&'));
      action->setIconText(tip);  // a button without an icon shows the label, not the key text
      const std::vector<std::string> keys = CommandKeys(CommandOf(button.id));
      if (!keys.empty()) tip += QStringLiteral("  (%1)").arg(QString::fromStdString(keys.front()));
      action->setToolTip(tip);
      bar->addAction(action);
    }
  };
  toolBar_ = addToolBar(QStringLiteral("Tool bar"));
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  fill(toolBar_, ToolBarButtons());
  navigationBar_ = addToolBar(QStringLiteral("Navigation bar"));
  navigationBar_->setObjectName(QStringLiteral("NavigationBar"));
  fill(navigationBar_, NavigationBarButtons());
  UpdateBars();
}

void FrameWin::ShowBoardMenu(int square, QPoint globalPos) {
  CommitPanes();
  RefreshViews();
  GameTree& tree = workspace_->Tree();
  QMenu menu(this);
  for (const BuiltEntry& entry : BoardContextEntries(*workspace_, square)) {
    if (entry.id == kSeparator) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ScreenText(entry.label));
    action->setEnabled(router_->Enabled(entry.id));
    action->setCheckable(entry.checkable);
    action->setChecked(entry.checked);
    const CommandId id = entry.id;
    // The bookmark commands take the square as the board shows it.
    const int shown = square < 0 ? -1 : (tree.boardFlipped ? 63 - square : square);
    connect(action, &QAction::triggered, this, [this, id, shown] {
      workspace_->contextSquare = shown;
      router_->Run(id);
    });
  }
  menu.exec(globalPos);
}

void FrameWin::ShowGameTextMenu(NodeRef node, QPoint globalPos) {
  // The entries act on the clicked move: it becomes current first.
  CommitPanes();
  GoToNode(workspace_->Tree(), node);
  RefreshViews();
  QMenu menu(this);
  for (const BuiltEntry& entry : GameTextContextEntries(*workspace_)) {
    if (entry.id == kSeparator) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ScreenText(entry.label));
    action->setEnabled(router_->Enabled(entry.id));
    const CommandId id = entry.id;
    connect(action, &QAction::triggered, this, [this, id] { router_->Run(id); });
  }
  menu.exec(globalPos);
}

}  // namespace varnock
