#include "app/CommandRouter.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <exception>

#include "app/QtPrompt.h"
#include "app/Workspace.h"

namespace varnock {

QKeySequence KeySequenceOf(const std::string& key) {
  // Qt's portable key names differ from the menus' for a few keys.
  static const std::pair<const char*, const char*> kNames[] = {
      {"PageUp", "PgUp"}, {"PageDown", "PgDown"}, {"Insert", "Ins"}, {"Delete", "Del"}, {"BackSpace", "Backspace"}};
  QString text = QString::fromStdString(key);
  for (const auto& [menu, qt] : kNames) text.replace(QLatin1String(menu), QLatin1String(qt));
  return QKeySequence(text, QKeySequence::PortableText);
}

CommandRouter::CommandRouter(Workspace& workspace, QWidget* window, std::function<void()> before,
                             std::function<void()> after)
    : QObject(window), workspace_(workspace), before_(std::move(before)), after_(std::move(after)) {
  for (const Command& command : Commands()) {
    // The menus show the key text after "\t" as written in the label, not
    // Qt's own spelling of the shortcut.
    auto* action = new QAction(ScreenText(command.label), window);
    QList<QKeySequence> keys;
    for (const std::string& key : CommandKeys(command)) keys << KeySequenceOf(key);
    action->setShortcuts(keys);
    action->setCheckable(command.checkable);
    // Keys work while the window (or a dialog of its own) has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    const CommandId id = command.id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    window->addAction(action);
    actions_[id] = action;
  }
  UpdateStates();
}

QAction* CommandRouter::Action(CommandId id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

bool CommandRouter::Enabled(CommandId id) const {
  const Command& command = CommandOf(id);
  return !command.enabled || command.enabled(workspace_);
}

const char* CommandRouter::CurrentLabel(CommandId id) const {
  const Command& command = CommandOf(id);
  if (command.toggledLabel && command.checked && command.checked(workspace_)) return command.toggledLabel;
  return command.label;
}

void CommandRouter::UpdateStates() {
  for (const Command& command : Commands()) {
    QAction* action = actions_.at(command.id);
    action->setEnabled(!command.enabled || command.enabled(workspace_));
    if (command.toggledLabel) action->setText(ScreenText(CurrentLabel(command.id)));
    if (command.checkable && command.checked) action->setChecked(command.checked(workspace_));
  }
}

void CommandRouter::Run(CommandId id) { RunAfter(id, {}); }

void CommandRouter::RunAfter(CommandId id, const std::function<void()>& prepare) { Execute(CommandOf(id), prepare); }

void CommandRouter::Execute(const Command& command, const std::function<void()>& prepare) {
  // A key pressed while a command's dialog is open must not start another.
  if (running_) return;
  running_ = true;
  if (before_) before_();
  const bool enabled = !command.enabled || command.enabled(workspace_);
  if (enabled) {
    SGridFrame* game = &workspace_.Game();
    const std::uint64_t revision = workspace_.ShownRevision();
    try {
      if (prepare) prepare();
      command.run(workspace_);
    } catch (const std::exception& error) {
      // A failed command leaves the window running; the user is told.
      workspace_.prompt.Inform("FrameWin", error.what());
    }
    if (game == &workspace_.Game()) workspace_.NoteEdits(revision);
  }
  if (after_) after_();
  running_ = false;
}

}  // namespace varnock
