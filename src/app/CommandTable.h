// Every command of the main window, declared once: its identifier, its menu
// label (the access letter marked by "&", the key text after "\t"), the
// label it shows when toggled, when it is enabled or checked, and what it
// runs. Menus, keys, tool bars and context menus all name commands by id.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace varnock {

class Workspace;

enum class CommandId : int {
  // File and Export
  Load = 1,
  ReLoad,
  Save,
  SaveAs,
  ExportRtf,
  ExportPgn,
  Exit,
  // Collections
  NewCollection,
  AddGame,
  PasteFen,
  PastePgn,
  DeleteGame,
  ImportFiles,
  ReorderGames,
  DisplayGames,
  FirstGame,
  LastGame,
  PreviousGame,
  NextGame,
  UpEightGames,
  DownEightGames,
  // Actions
  Compose,
  PrintDiagram,
  Pass,
  InvalidMove,
  LaunchUci,
  ViewGameFile,
  EcoCurrent,
  EcoAll,
  EventAll,
  LaunchExplorer,
  SaveGif,
  CopyBitmap,
  CopyAscii,
  CopyFen,
  CopyRtf,
  CopyPgn,
  GameResult,
  RateMove,
  RateAdvantage,
  OpeningStatistics,
  PlayerStatistics,
  EventStatistics,
  GameInformation,
  RemoveGameComments,
  RemoveAllComments,
  DeleteMove,
  DeleteBranch,
  RemoveHigher,
  RemoveLower,
  Truncate,
  RemoveNeighbours,
  // Navigations
  PreviousPosition,
  NextPosition,
  StartPosition,
  EndPosition,
  PreviousJunction,
  NextJunction,
  NeighbouringBranch,
  FindComment,
  FindNextComment,
  FindPreviousComment,
  PreviousPawnCapture,
  NextPawnCapture,
  MoveNumber,
  BranchEndsReverse,
  BranchEndsForward,
  // Bookmarks
  ToggleBookmark,
  DeleteAllBookmarks,
  DisplayBookmarks,
  MarkPrimary,
  GoToPrimary,
  RemoveStored,
  StorePosition0,
  StorePosition9 = StorePosition0 + 9,
  RecallPosition0,
  RecallPosition9 = RecallPosition0 + 9,
  // Options
  ToolBar,
  NavigationBar,
  TreeLineUp,
  TreeLineDown,
  TreePageUp,
  TreePageDown,
  TreeTop,
  TreeBottom,
  SizeUp,
  SizeDown,
  ReverseBoard,
  PreCommentWindow,
  PreviewWindow,
  StoredPositionWindow,
  Preferences,
  Coordinates,
  ArrowPrevious,
  ArrowNext,
  ArrowVariations,
  // Help
  HelpContents,
  About,
  // Only in the context menus
  BookmarkFrom,
  BookmarkTo,
  ArrowNextPlayed,
  ArrowLastPlayed,
  RemoveMoveComment,
  // Actions, added later
  BuildExplorerDatabase,
};

struct Command {
  CommandId id;
  const char* label;         // as the menu shows it: "&Load File\tCtrl+O"; empty for the keys without a menu entry
  const char* toggledLabel;  // the label while `checked` holds for a toggling label, else nullptr
  // Enabled when empty; commands whose window comes later are never enabled.
  std::function<bool(Workspace&)> enabled;
  // For entries with a check mark or a toggling label.
  std::function<bool(Workspace&)> checked;
  std::function<void(Workspace&)> run;
  bool checkable = false;     // shown with a check mark
  const char* key = nullptr;  // the key of an entry without a menu label (store and recall keys)
};

// Every command, each once.
std::span<const Command> Commands();
const Command& CommandOf(CommandId id);

// The parts of a label: the text before "\t", and the key text after it
// ("Left,  F11" names two keys).
std::string LabelText(const char* label);
std::vector<std::string> LabelKeys(const char* label);
// The keys of a command: from its label, or its own key.
std::vector<std::string> CommandKeys(const Command& command);

}  // namespace varnock
