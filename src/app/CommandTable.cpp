#include "app/CommandTable.h"

#include <stdexcept>

#include "app/CommandActions.h"
#include "app/Workspace.h"
#include "collection/GameAdditions.h"
#include "collection/GameRemovals.h"
#include "tree/BookmarkCommands.h"
#include "tree/Bookmarks.h"
#include "tree/BranchCommands.h"
#include "tree/Junctions.h"
#include "tree/MarkCommands.h"
#include "tree/MoveEntry.h"
#include "tree/MoveNumberCommand.h"
#include "tree/Navigation.h"
#include "tree/NeighbourBranch.h"
#include "tree/PrimaryCommands.h"
#include "tree/StoreSlotCommands.h"

namespace varnock {

namespace {

using W = Workspace;

// A command whose window comes with a later version: in its menu, never
// enabled.
bool Later(W&) { return false; }
bool HasFile(W& w) { return !w.collection.fileName.empty(); }
bool SeveralGames(W& w) { return w.collection.Count() > 1; }
bool NotAtStart(W& w) { return w.Tree().current != w.Tree().root; }
bool Bookmarked(W& w) { return BookmarkOf(w.Tree(), w.Tree().current).has_value(); }
bool DiagramMarked(W& w) { return w.Tree().Node(w.Tree().current).Has(kFlagDiagram); }

Command Do(CommandId id, const char* label, std::function<void(W&)> run, std::function<bool(W&)> enabled = {}) {
  return Command{id, label, nullptr, std::move(enabled), {}, std::move(run)};
}
Command Toggle(CommandId id, const char* label, std::function<bool(W&)> checked, std::function<void(W&)> run) {
  return Command{id, label, nullptr, {}, std::move(checked), std::move(run), true};
}
Command Flip(CommandId id, const char* label, const char* toggled, std::function<bool(W&)> checked,
             std::function<void(W&)> run) {
  return Command{id, label, toggled, {}, std::move(checked), std::move(run)};
}
Command NotYet(CommandId id, const char* label) {
  return Command{id, label, nullptr, Later, {}, [](W&) {}};
}

std::vector<Command> BuildCommands() {
  std::vector<Command> c = {
      // File and Export
      Do(CommandId::Load, "&Load File\tCtrl+O", LoadCommand),
      Do(
          CommandId::ReLoad, "&ReLoad\tCtrl+L", [](W& w) { ReloadCommand(w); }, HasFile),
      Do(CommandId::Save, "Save\tCtrl+S", [](W& w) { w.files.CmSave(); }),
      Do(CommandId::SaveAs, "Save &As\tCtrl+A", [](W& w) { w.files.SaveAs(); }),
      Do(CommandId::ExportRtf, "&Export the Current Game ( RTF File )\tCtrl+R", ExportRtf),
      Do(CommandId::ExportPgn, "&Export the Current Game ( PGN )\tCtrl+X", [](W& w) { w.files.ExportCurrentGame(); }),
      Do(CommandId::Exit, "E&xit\tAlt+F4", [](W& w) { w.window.CloseWindow(); }),
      // Collections
      Do(CommandId::NewCollection, "Start a new &Collection\tCtrl+E", [](W& w) { CmCollEmpty(w.collection); }),
      Do(CommandId::AddGame, "Add a new Game\tCtrl+N", [](W& w) { AddNewGame(w.collection); }),
      Do(CommandId::PasteFen, "Paste Game from a &FEN String\tAlt+F", PasteFen),
      Do(CommandId::PastePgn, "Paste Game(s) from PGN Text\tAlt+P", PastePgn),
      Do(
          CommandId::DeleteGame, "&Delete Current Game\tCtrl+Delete", [](W& w) { CmCollDelete(w.collection); },
          SeveralGames),
      Do(CommandId::ImportFiles, "&Import File(s)\tCtrl+Insert",
         [](W& w) { CollImport(w.collection, w.collection.CurrentPosition()); }),
      NotYet(CommandId::ReorderGames, "&Reorder Games in the Collection"),
      NotYet(CommandId::DisplayGames, "&Display Games in Collection\tF6"),
      Do(
          CommandId::FirstGame, "Go to &First Game\tCtrl+Home", [](W& w) { w.collection.FirstGame(); }, SeveralGames),
      Do(
          CommandId::LastGame, "Go to &Last Game\tCtrl+End", [](W& w) { w.collection.LastGame(); }, SeveralGames),
      Do(
          CommandId::PreviousGame, "Go to &Previous Game\tCtrl+Left", [](W& w) { w.collection.PreviousGame(); },
          SeveralGames),
      Do(
          CommandId::NextGame, "Go to &Next Game\tCtrl+Right", [](W& w) { w.collection.NextGame(); }, SeveralGames),
      Do(
          CommandId::UpEightGames, "Go &Up Eight Games\tCtrl+PageUp", [](W& w) { w.collection.UpEightGames(); },
          SeveralGames),
      Do(
          CommandId::DownEightGames, "Go &Down Eight Games\tCtrl+PageDown", [](W& w) { w.collection.DownEightGames(); },
          SeveralGames),
      // Actions
      NotYet(CommandId::Compose, "&Compose a Game Position\tCtrl+C"),
      Flip(CommandId::PrintDiagram, "Add a Print &Diagram\tCtrl+D", "Remove Print &Diagram\tCtrl+D", DiagramMarked,
           [](W& w) { CmToggleDiagram(w.Tree()); }),
      Do(CommandId::Pass, "&Pass", [](W& w) { CmPass(w.Tree(), w.prompt); }),
      Do(CommandId::InvalidMove, "Make &Invalid Move", [](W& w) { CmInvalid(w.Tree(), w.prompt); }),
      NotYet(CommandId::LaunchUci, "Launch &UCI Interface\tCtrl+U"),
      Do(
          CommandId::ViewGameFile, "&View Game File\tCtrl+V",
          [](W& w) { w.window.OpenWithViewer(w.collection.fileName); }, HasFile),
      Do(CommandId::EcoCurrent, "Set &ECO Classification for Current Game\tCtrl+W", ClassifyCurrentGame),
      Do(CommandId::EcoAll, "Set &ECO Classifications for all Games", ClassifyAllGames),
      NotYet(CommandId::EventAll, "Set &Event Information for all Games"),
      Do(CommandId::LaunchExplorer, "Launch &Explorer Interface\tCtrl+Y", [](W& w) { w.window.LaunchExplorer(); }),
      Do(CommandId::BuildExplorerDatabase, "Build Explorer Database from this Collection",
         [](W& w) { w.window.BuildExplorerDatabase(); }),
      Do(CommandId::SaveGif, "Save Board Position as GIF &Image\tCtrl+F", SaveGif),
      Do(CommandId::CopyBitmap, "Copy &BMP Image to Clipboard\tCtrl+G", CopyBitmap),
      Do(CommandId::CopyAscii, "Copy &ASCII to Clipboard\tShift+Ctrl+A", CopyAscii),
      Do(CommandId::CopyFen, "Copy &FEN String to Clipboard\tShift+Ctrl+F", CopyFen),
      Do(CommandId::CopyRtf, "Copy to Clipboard ( MS &Word Format )\tShift+Ctrl+U", CopyRtf),
      Do(CommandId::CopyPgn, "Copy &PGN Text to Clipboard\tShift+Ctrl+P", CopyPgn),
      Do(CommandId::GameResult, "Add a &Game Result\tShift+Ctrl+G", [](W& w) { CmResult(w.Tree(), w.prompt); }),
      Do(
          CommandId::RateMove, "Rate the Game &Move\tShift+Ctrl+M", [](W& w) { CmRateMove(w.Tree(), w.prompt); },
          NotAtStart),
      Do(CommandId::RateAdvantage, "Rate the Positional &Advantage\tShift+Ctrl+V",
         [](W& w) { CmPositionalAdvantage(w.Tree(), w.prompt); }),
      NotYet(CommandId::OpeningStatistics, "Show &Openings Statistics\tF7"),
      NotYet(CommandId::PlayerStatistics, "Show &Player Statistics\tF8"),
      NotYet(CommandId::EventStatistics, "Show &Event Statistics\tCtrl+F9"),
      NotYet(CommandId::GameInformation, "&Game Information\tF9"),
      Do(CommandId::RemoveGameComments, "Remove all &Comments in Current Game",
         [](W& w) { CmRemoveAllComments(w.Tree(), w.prompt); }),
      Do(CommandId::RemoveAllComments, "Remove all &Comments from all Games",
         [](W& w) { CmRemovePGNComments(w, w.prompt); }),
      Do(CommandId::DeleteMove, "Delete Current Move\tDelete", [](W& w) { DeleteCurrentMove(w.Tree(), w.prompt); }),
      Do(CommandId::DeleteBranch, "&Delete Branch\tCtrl+Alt+D",
         [](W& w) { DeleteBranch(w.Tree(), w.Tree().current, true, w.prompt); }),
      Do(CommandId::RemoveHigher, "Remove &Higher Branching\tCtrl+Alt+H",
         [](W& w) { RemoveOffBranches(w.Tree(), BranchDirection::Higher, w.prompt); }),
      Do(CommandId::RemoveLower, "Remove &Lower Branching\tCtrl+Alt+L",
         [](W& w) { RemoveOffBranches(w.Tree(), BranchDirection::Lower, w.prompt); }),
      Do(CommandId::Truncate, "&Truncate\tCtrl+Alt+T",
         [](W& w) { CmTruncate(w.Tree(), w.Tree().current, true, w.prompt); }),
      Do(CommandId::RemoveNeighbours, "&Remove Neighbouring Branches\tCtrl+Alt+X",
         [](W& w) { CmRemoveNeighbours(w.Tree(), w.prompt); }),
      // Navigations
      Do(CommandId::PreviousPosition, "&Previous Position\tLeft,  F11", [](W& w) { GoBack(w.Tree(), 1); }),
      Do(CommandId::NextPosition, "&Next Position\tRight,  F12", [](W& w) { GoForward(w.Tree(), 1); }),
      Do(CommandId::StartPosition, "Go to &Start Position\tHome", [](W& w) { GoToRoot(w.Tree()); }),
      Do(CommandId::EndPosition, "Go to &End Position\tEnd", [](W& w) { GoToLineEnd(w.Tree()); }),
      Do(CommandId::PreviousJunction, "Go to &Previous Junction\tPageUp", [](W& w) { GoToPreviousJunction(w.Tree()); }),
      Do(CommandId::NextJunction, "Go to &Next Junction\tPageDown", [](W& w) { GoToNextJunction(w.Tree()); }),
      Do(CommandId::NeighbouringBranch, "Go to &Neighbouring Branch\tBackSpace",
         [](W& w) { GoToNeighbouringBranch(w.Tree(), false); }),
      Do(CommandId::FindComment, "&Find Comment\tCtrl+Alt+C", [](W& w) { CmFind(w.Tree(), w.prompt, w.find); }),
      Do(CommandId::FindNextComment, "Find &Next Comment\tCtrl+Alt+N", [](W& w) { FindComment(w, true); }),
      Do(CommandId::FindPreviousComment, "Find &Previous Comment\tCtrl+Alt+P", [](W& w) { FindComment(w, false); }),
      Do(CommandId::PreviousPawnCapture, "Go to Previous Pawn / &Capture Move\tCtrl+Alt+U",
         [](W& w) { GoBackToPawnOrCapture(w.Tree()); }),
      Do(CommandId::NextPawnCapture, "Go to Next Pawn / &Capture Move\tCtrl+Alt+V",
         [](W& w) { GoForwardToPawnOrCapture(w.Tree()); }),
      Do(CommandId::MoveNumber, "Go to &Move Number\tCtrl+Alt+W", [](W& w) { CmMoveTo(w.Tree(), w.prompt); }),
      Do(CommandId::BranchEndsReverse, "Cycle through Branch &Ends - Rev\tCtrl+Alt+E",
         [](W& w) { CycleBranchEnds(w.Tree(), false); }),
      Do(CommandId::BranchEndsForward, "Cycle through Branch &Ends - Fwd\tCtrl+Alt+F",
         [](W& w) { CycleBranchEnds(w.Tree(), true); }),
      // Bookmarks
      Flip(CommandId::ToggleBookmark, "Set &Bookmark\tAlt+F2", "Remove &Bookmark\tAlt+F2", Bookmarked,
           [](W& w) { CmToggleBookmark(w.Tree()); }),
      Do(CommandId::DeleteAllBookmarks, "Delete &all Bookmarks", [](W& w) { CmBMDeleteAll(w.Tree(), w.prompt); }),
      NotYet(CommandId::DisplayBookmarks, "&Display Bookmarks\tF2"),
      Do(CommandId::MarkPrimary, "Mark Current Position as &Primary\tAlt+F3",
         [](W& w) { MarkCurrentAsPrimary(w.Tree()); }),
      Do(CommandId::GoToPrimary, "&Go to Primary Position\tF3", [](W& w) { CmGoToPrimary(w.Tree(), w.prompt); }),
      Do(CommandId::RemoveStored, "Remove all Stored ( Ctrl+n ) Positions", [](W& w) { CmRemoveAllStored(w.Tree()); }),
      // Options
      Toggle(
          CommandId::ToolBar, "&Tool bar", [](W& w) { return w.settings.application.toolbar; },
          [](W& w) {
            w.settings.application.toolbar = !w.settings.application.toolbar;
            w.window.UpdateBars();
          }),
      Toggle(
          CommandId::NavigationBar, "&Navigation bar", [](W& w) { return w.settings.application.navigationBar; },
          [](W& w) {
            w.settings.application.navigationBar = !w.settings.application.navigationBar;
            w.window.UpdateBars();
          }),
      Do(CommandId::TreeLineUp, "&Game Tree up one Line\tAlt+Up", [](W& w) { w.window.ScrollGameText(-1, 0); }),
      Do(CommandId::TreeLineDown, "&Game Tree down one Line\tAlt+Down", [](W& w) { w.window.ScrollGameText(1, 0); }),
      Do(CommandId::TreePageUp, "&Game Tree up one Page\tAlt+PageUp", [](W& w) { w.window.ScrollGameText(0, -1); }),
      Do(CommandId::TreePageDown, "&Game Tree down one Page\tAlt+PageDown",
         [](W& w) { w.window.ScrollGameText(0, 1); }),
      Do(CommandId::TreeTop, "&Game Tree to Top\tAlt+Home", [](W& w) { w.window.ScrollGameTextToEnd(false); }),
      Do(CommandId::TreeBottom, "&Game Tree to Bottom\tAlt+End", [](W& w) { w.window.ScrollGameTextToEnd(true); }),
      Do(CommandId::SizeUp, "Size &Up\tShift+Ctrl+Right", [](W& w) { w.window.ResizeBoard(true); }),
      Do(CommandId::SizeDown, "Size &Down\tShift+Ctrl+Left", [](W& w) { w.window.ResizeBoard(false); }),
      Toggle(
          CommandId::ReverseBoard, "&Reverse Board\tShift+Ctrl+R", [](W& w) { return w.Tree().boardFlipped; },
          [](W& w) { w.Tree().boardFlipped = !w.Tree().boardFlipped; }),
      Toggle(
          CommandId::PreCommentWindow, "Pre-Comment &Window\tShift+Ctrl+W",
          [](W& w) { return w.settings.settings.showPreCommentWindow; }, [](W& w) { w.window.TogglePreCommentPane(); }),
      Toggle(
          CommandId::PreviewWindow, "&Preview Window\tShift+Ctrl+F4", [](W& w) { return w.window.PreviewShown(); },
          [](W& w) { w.window.ShowPreview(!w.window.PreviewShown()); }),
      Toggle(
          CommandId::StoredPositionWindow, "&Stored Position\tShift+Ctrl+F6",
          [](W& w) { return w.window.StoredPositionShown(); },
          [](W& w) { w.window.ShowStoredPosition(!w.window.StoredPositionShown()); }),
      NotYet(CommandId::Preferences, "User &Preferences\tShift+Ctrl+O"),
      Toggle(
          CommandId::Coordinates, "Display A-H,1-8", [](W& w) { return w.settings.settings.optionAH == 1; },
          [](W& w) { w.settings.settings.optionAH = w.settings.settings.optionAH == 1 ? 0 : 1; }),
      Toggle(
          CommandId::ArrowPrevious, "Arrow &Previous Moves", [](W& w) { return w.settings.settings.arrowLast; },
          [](W& w) { w.settings.settings.arrowLast = !w.settings.settings.arrowLast; }),
      Toggle(
          CommandId::ArrowNext, "Arrow &Next Moves", [](W& w) { return w.settings.settings.arrowNext; },
          [](W& w) { w.settings.settings.arrowNext = !w.settings.settings.arrowNext; }),
      Toggle(
          CommandId::ArrowVariations, "Arrow &Variations", [](W& w) { return w.settings.settings.arrowVariations; },
          [](W& w) { w.settings.settings.arrowVariations = !w.settings.settings.arrowVariations; }),
      // Help
      Do(CommandId::HelpContents, "Help Contents\tF1", [](W& w) { w.window.ShowHelp(); }),
      Do(CommandId::About, "&About", [](W& w) { w.window.ShowAbout(); }),
      // Context menus only
      Do(CommandId::BookmarkFrom, "", [](W& w) { CmBMPlayedFrom(w.Tree(), w.prompt, w.contextSquare); }),
      Do(CommandId::BookmarkTo, "", [](W& w) { CmBMPlayedTo(w.Tree(), w.prompt, w.contextSquare); }),
      Toggle(
          CommandId::ArrowNextPlayed, "", [](W& w) { return w.settings.settings.arrowNext; },
          [](W& w) { w.settings.settings.arrowNext = !w.settings.settings.arrowNext; }),
      Toggle(
          CommandId::ArrowLastPlayed, "", [](W& w) { return w.settings.settings.arrowLast; },
          [](W& w) { w.settings.settings.arrowLast = !w.settings.settings.arrowLast; }),
      Do(CommandId::RemoveMoveComment, "", [](W& w) { CmRemoveMoveComments(w.Tree()); }),
  };
  // The ten store and recall keys.
  static const char* const kStoreKeys[10] = {"Ctrl+Shift+0", "Ctrl+Shift+1", "Ctrl+Shift+2", "Ctrl+Shift+3",
                                             "Ctrl+Shift+4", "Ctrl+Shift+5", "Ctrl+Shift+6", "Ctrl+Shift+7",
                                             "Ctrl+Shift+8", "Ctrl+Shift+9"};
  static const char* const kRecallKeys[10] = {"Ctrl+0", "Ctrl+1", "Ctrl+2", "Ctrl+3", "Ctrl+4",
                                              "Ctrl+5", "Ctrl+6", "Ctrl+7", "Ctrl+8", "Ctrl+9"};
  for (int slot = 0; slot < 10; ++slot) {
    Command store = Do(static_cast<CommandId>(static_cast<int>(CommandId::StorePosition0) + slot), "",
                       [slot](W& w) { CmStorePosition(w.Tree(), slot); });
    store.key = kStoreKeys[slot];
    c.push_back(std::move(store));
    Command recall = Do(static_cast<CommandId>(static_cast<int>(CommandId::RecallPosition0) + slot), "",
                        [slot](W& w) { CmGoToStoredPosition(w.Tree(), slot); });
    recall.key = kRecallKeys[slot];
    c.push_back(std::move(recall));
  }
  return c;
}

}  // namespace

std::span<const Command> Commands() {
  static const std::vector<Command> commands = BuildCommands();
  return commands;
}

const Command& CommandOf(CommandId id) {
  for (const Command& command : Commands())
    if (command.id == id) return command;
  throw std::out_of_range("no such command");
}

std::string LabelText(const char* label) {
  const std::string text = label ? label : "";
  return text.substr(0, text.find('\t'));
}

std::vector<std::string> LabelKeys(const char* label) {
  std::vector<std::string> keys;
  const std::string text = label ? label : "";
  const std::size_t tab = text.find('\t');
  if (tab == std::string::npos) return keys;
  std::string rest = text.substr(tab + 1);
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t comma = rest.find(',', start);
    std::string key = rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const std::size_t first = key.find_first_not_of(' ');
    const std::size_t last = key.find_last_not_of(' ');
    if (first != std::string::npos) keys.push_back(key.substr(first, last - first + 1));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return keys;
}

std::vector<std::string> CommandKeys(const Command& command) {
  if (command.key) return {command.key};
  return LabelKeys(command.label);
}

}  // namespace varnock
