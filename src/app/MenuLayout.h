// Where each command appears: the menu bar, the two context menus, the tool
// bar and the navigation bar. Entries name commands of the table by id.
#pragma once

#include <span>
#include <vector>

#include "app/CommandTable.h"

class QMenu;
class QMenuBar;
class QPoint;
class QToolBar;

namespace varnock {

class Workspace;

struct MenuEntries {
  const char* title;
  std::vector<CommandId> entries;  // CommandId{0} is a separator
};
inline constexpr CommandId kSeparator = CommandId{0};

// The main menus in order; the "Recent File" submenu sits in the first, after
// the export entries.
const std::vector<MenuEntries>& MainMenus();
inline constexpr const char* kRecentFileMenu = "Recent File";

// A context-menu entry: its own label (context menus show other labels than
// the main menu for the same command), the command, the toggled label.
struct ContextEntry {
  const char* label;
  CommandId id;
  const char* toggledLabel = nullptr;
};

// The board's context menu for a click on `square` (0..63 as the model
// indexes squares, -1 off the board): the entries, those that depend on the
// square or the position included, with the square's name in their label.
struct BuiltEntry {
  std::string label;
  CommandId id;
  bool checked = false;
  bool checkable = false;
};
std::vector<BuiltEntry> BoardContextEntries(Workspace& w, int square);
// The game text's context menu for a click on the current move.
std::vector<BuiltEntry> GameTextContextEntries(Workspace& w);

// The buttons of the two bars, with their theme icon names.
struct BarButton {
  CommandId id;
  const char* icon;
};
std::span<const BarButton> ToolBarButtons();
std::span<const BarButton> NavigationBarButtons();

}  // namespace varnock
