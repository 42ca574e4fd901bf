#include "app/MenuLayout.h"

#include <cstdio>

#include "app/CommandRouter.h"
#include "app/Workspace.h"
#include "core/Board.h"
#include "tree/Bookmarks.h"
#include "tree/GameTree.h"

namespace varnock {

namespace {
using C = CommandId;
}  // namespace

const std::vector<MenuEntries>& MainMenus() {
  static const std::vector<MenuEntries> menus = {
      {"&File and Export",
       {C::Load, C::ReLoad, kSeparator, C::Save, C::SaveAs, kSeparator, C::ExportRtf, C::ExportPgn, kSeparator,
        kSeparator, C::Exit}},
      {"&Collections",
       {C::NewCollection, C::AddGame, C::PasteFen, C::PastePgn, C::DeleteGame, C::ImportFiles, C::ReorderGames,
        kSeparator, C::DisplayGames, kSeparator, C::FirstGame, C::LastGame, C::PreviousGame, C::NextGame,
        C::UpEightGames, C::DownEightGames}},
      {"&Actions",
       {C::Compose,
        C::PrintDiagram,
        C::Pass,
        C::InvalidMove,
        kSeparator,
        C::LaunchUci,
        C::ViewGameFile,
        C::EcoCurrent,
        C::EcoAll,
        C::EventAll,
        C::LaunchExplorer,
        C::BuildExplorerDatabase,  // its database from the open collection
        kSeparator,
        C::SaveGif,
        C::CopyBitmap,
        C::CopyAscii,
        C::CopyFen,
        C::CopyRtf,
        C::CopyPgn,
        kSeparator,
        C::GameResult,
        C::RateMove,
        C::RateAdvantage,
        kSeparator,
        C::OpeningStatistics,
        C::PlayerStatistics,
        C::EventStatistics,
        C::GameInformation,
        kSeparator,
        C::RemoveGameComments,
        C::RemoveAllComments,
        kSeparator,
        C::DeleteMove,
        C::DeleteBranch,
        C::RemoveHigher,
        C::RemoveLower,
        C::Truncate,
        C::RemoveNeighbours}},
      {"&Navigations",
       {C::PreviousPosition, C::NextPosition, C::StartPosition, C::EndPosition, kSeparator, C::PreviousJunction,
        C::NextJunction, C::NeighbouringBranch, kSeparator, C::FindComment, C::FindNextComment, C::FindPreviousComment,
        kSeparator, C::PreviousPawnCapture, C::NextPawnCapture, C::MoveNumber, kSeparator, C::BranchEndsReverse,
        C::BranchEndsForward}},
      {"&Bookmarks",
       {C::ToggleBookmark, C::DeleteAllBookmarks, C::DisplayBookmarks, kSeparator, C::MarkPrimary, C::GoToPrimary,
        kSeparator, C::RemoveStored}},
      {"&Options",
       {C::ToolBar,
        C::NavigationBar,
        kSeparator,
        C::TreeLineUp,
        C::TreeLineDown,
        C::TreePageUp,
        C::TreePageDown,
        C::TreeTop,
        C::TreeBottom,
        kSeparator,
        C::SizeUp,
        C::SizeDown,
        C::ReverseBoard,
        kSeparator,
        C::PreCommentWindow,
        C::PreviewWindow,
        C::StoredPositionWindow,
        kSeparator,
        C::Preferences,
        kSeparator,
        C::Coordinates,
        C::ArrowPrevious,
        C::ArrowNext,
        C::ArrowVariations}},
      {"&Help", {C::HelpContents, kSeparator, C::About}},
  };
  return menus;
}

namespace {

BuiltEntry Entry(const char* label, CommandId id) { return BuiltEntry{label, id}; }

}  // namespace

std::vector<BuiltEntry> BoardContextEntries(Workspace& w, int square) {
  GameTree& tree = w.Tree();
  const bool bookmarked = BookmarkOf(tree, tree.current).has_value();
  std::vector<BuiltEntry> entries = {
      Entry("&Help\tF1", C::HelpContents),
      Entry("Display &Bookmarks\tF2", C::DisplayBookmarks),
      Entry("&Collection Details\tF6", C::DisplayGames),
      Entry("User &Preferences\tCtrl+Alt+O", C::Preferences),
      {"", kSeparator},
      Entry("Launch &UCI Interface\tCtrl+U", C::LaunchUci),
      Entry("Fetch the &Opening Classification\tCtrl+W", C::EcoCurrent),
      Entry("Launch &Explorer Interface\tCtrl+Y", C::LaunchExplorer),
      {"", kSeparator},
      Entry("Copy &FEN String to Clipboard\tShift+Ctrl+F", C::CopyFen),
      Entry("Copy &PGN Text to Clipboard\tShift+Ctrl+P", C::CopyPgn),
      {"", kSeparator},
      Entry(bookmarked ? "Remove &Bookmark\tAlt+F2" : "Set &Bookmark\tAlt+F2", C::ToggleBookmark),
  };
  if (square >= 0 && square < 64) {
    const std::string name = SquareName(square);
    entries.push_back({"Bookmark all Moves from '" + name + "'", C::BookmarkFrom});
    entries.push_back({"Bookmark all '" + name + "' Moves", C::BookmarkTo});
  }
  entries.push_back({"", kSeparator});
  entries.push_back({"Arrow &Next Played Moves", C::ArrowNextPlayed, w.settings.settings.arrowNext, true});
  entries.push_back({"Arrow &Last Played Moves", C::ArrowLastPlayed, w.settings.settings.arrowLast, true});
  if (tree.current != tree.root) {
    entries.push_back({"", kSeparator});
    entries.push_back({"Mark Current Position as &Primary\tAlt+F3", C::MarkPrimary});
  }
  return entries;
}

std::vector<BuiltEntry> GameTextContextEntries(Workspace& w) {
  GameTree& tree = w.Tree();
  const MoveNode& node = tree.Node(tree.current);
  std::vector<BuiltEntry> entries;
  if (node.Has(kFlagCommentBefore) || node.Has(kFlagCommentAfter))
    entries.push_back(Entry("&Remove Comment", C::RemoveMoveComment));
  entries.push_back(Entry(node.Has(kFlagDiagram) ? "Remove Print &Diagram" : "Add a Print &Diagram", C::PrintDiagram));
  entries.push_back(Entry("Set the &Game Result", C::GameResult));
  entries.push_back(Entry("&Rate the Game Move", C::RateMove));
  entries.push_back(Entry("Positional &Advantage", C::RateAdvantage));
  entries.push_back(Entry("Make &Primary", C::MarkPrimary));
  entries.push_back(Entry(BookmarkOf(tree, tree.current) ? "Remove &Bookmark" : "Set &Bookmark", C::ToggleBookmark));
  entries.push_back({"", kSeparator});
  entries.push_back(Entry("&Truncate", C::Truncate));
  entries.push_back(Entry("&Remove Branch", C::DeleteBranch));
  return entries;
}

std::span<const BarButton> ToolBarButtons() {
  static const BarButton buttons[] = {
      {C::Load, "document-open"},          {C::Save, "document-save"},
      {C::SaveAs, "document-save-as"},     {C::AddGame, "document-new"},
      {C::PastePgn, "edit-paste"},         {C::CopyFen, "edit-copy"},
      {C::ToggleBookmark, "bookmark-new"}, {C::ReverseBoard, "object-flip-vertical"},
      {C::SizeDown, "zoom-out"},           {C::SizeUp, "zoom-in"},
      {C::HelpContents, "help-contents"},
  };
  return buttons;
}

std::span<const BarButton> NavigationBarButtons() {
  static const BarButton buttons[] = {
      {C::FirstGame, "go-top"},     {C::PreviousGame, "go-up"},     {C::NextGame, "go-down"},
      {C::LastGame, "go-bottom"},   {C::StartPosition, "go-first"}, {C::PreviousPosition, "go-previous"},
      {C::NextPosition, "go-next"}, {C::EndPosition, "go-last"},    {C::NeighbouringBranch, "media-playlist-shuffle"},
  };
  return buttons;
}

}  // namespace varnock
