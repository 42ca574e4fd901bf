// Turns the command table into the window's actions and runs every command,
// whatever its source (menu, key, tool bar, context menu), through one path:
// the hooks before (the comment panes store their text), the command, the
// hooks after (the one refresh of every view).
#pragma once

#include <QKeySequence>
#include <QObject>
#include <functional>
#include <map>

#include "app/CommandTable.h"

class QAction;
class QWidget;

namespace varnock {

class Workspace;

// A key as the menus write it ("Shift+Ctrl+PageUp", "BackSpace") as Qt's
// key sequence.
QKeySequence KeySequenceOf(const std::string& key);

class CommandRouter : public QObject {
  Q_OBJECT
 public:
  // Actions are made for every command and added to `window`, so that their
  // keys work wherever the focus is in it.
  CommandRouter(Workspace& workspace, QWidget* window, std::function<void()> before, std::function<void()> after);

  QAction* Action(CommandId id) const;
  void Run(CommandId id);
  // Runs a command from a context menu after `prepare` (going to the clicked
  // move) has run inside the same path.
  void RunAfter(CommandId id, const std::function<void()>& prepare);
  // Labels, enabled and checked states from the workspace, as a menu opening
  // shows them.
  void UpdateStates();
  bool Enabled(CommandId id) const;
  // The label the command shows now (its toggled label while checked).
  const char* CurrentLabel(CommandId id) const;

 private:
  void Execute(const Command& command, const std::function<void()>& prepare);

  Workspace& workspace_;
  std::function<void()> before_;
  std::function<void()> after_;
  std::map<CommandId, QAction*> actions_;
  bool running_ = false;
};

}  // namespace varnock
