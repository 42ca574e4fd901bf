#include "tree/BookmarkCommands.h"

#include <algorithm>
#include <unordered_map>

#include "core/Format.h"
#include "tree/Bookmarks.h"
#include "tree/LineActivation.h"
#include "tree/Positions.h"
#include "tree/TreeOrder.h"

namespace varnock {

void CmToggleBookmark(GameTree& game) {
  if (!RemoveBookmark(game, game.current)) SetBookmark(game, game.current, 0);
  game.MarkChanged();
}

std::string BookmarkMenuText(const GameTree& game) {
  return BookmarkOf(game, game.current) ? "Remove &Bookmark\tAlt+F2" : "Set &Bookmark\tAlt+F2";
}

namespace {

// Bookmarks the moves that start (`fromSquare`) or end on the square.
void BookmarkMovesOnSquare(GameTree& game, UserPrompt& prompt, int boardSquare, bool fromSquare) {
  const char* caption = fromSquare ? "CmBMPlayedFrom()" : "CmBMPlayedTo()";
  if (boardSquare < 0 || boardSquare >= 64) return;
  const int square = game.boardFlipped ? 63 - boardSquare : boardSquare;
  int played = 0, added = 0;
  for (NodeRef at : NodesInTreeOrder(game)) {
    const MoveNode& node = game.Node(at);
    // The root, set-up positions and passes are no moves between squares.
    if (node.parent == kNoNode || node.Has(kFlagComposed) || node.From() == node.To()) continue;
    if ((fromSquare ? node.From() : node.To()) != square) continue;
    ++played;
    if (BookmarkOf(game, at)) continue;
    SetBookmark(game, at, 0);
    ++added;
  }
  if (played == 0) {
    prompt.Inform(caption, Format(fromSquare ? "No moves have been played from square %c%d"
                                             : "No moves have been played to square %c%d",
                                  'a' + FileOf(square), RankOf(square)));
    return;
  }
  if (added > 0) game.MarkChanged();
  prompt.Inform(caption,
                added == 1 ? std::string("1 bookmark has been added") : Format("%d bookmarks have been added", added));
}

}  // namespace

void CmBMPlayedTo(GameTree& game, UserPrompt& prompt, int boardSquare) {
  BookmarkMovesOnSquare(game, prompt, boardSquare, false);
}

void CmBMPlayedFrom(GameTree& game, UserPrompt& prompt, int boardSquare) {
  BookmarkMovesOnSquare(game, prompt, boardSquare, true);
}

void CmBMDeleteAll(GameTree& game, UserPrompt& prompt) {
  if (game.bookmarks.empty()) {
    prompt.Inform("CmBMDeleteAll()", "No bookmarks were found in the current game");
    return;
  }
  if (!prompt.AskYesNo("CmBMDeleteAll()",
                       "Warning.\nAbout to delete all bookmarks from the current game.\n\nDo you wish to continue?"))
    return;
  const int count = static_cast<int>(game.bookmarks.size());
  game.bookmarks.clear();
  game.MarkChanged();
  prompt.Inform("RemoveBookmarks()", Format("%d bookmark%sdeleted", count, count == 1 ? " " : "s "));
}

BookmarkListing ListBookmarks(const GameTree& game) {
  BookmarkListing listing;
  listing.title = Format(" Bookmarks ( %d )", static_cast<int>(game.bookmarks.size()));
  if (game.bookmarks.empty()) return listing;
  // The plies of every node in one walk, parents before children: a walk up
  // from each bookmark would take as long as the game for each of them.
  std::unordered_map<NodeRef, int> plies;
  for (NodeRef at : NodesInTreeOrder(game)) {
    const MoveNode& node = game.Node(at);
    const auto parent = node.parent == kNoNode ? plies.end() : plies.find(node.parent);
    // PlyOf stops at once at the root and at a set-up position.
    const bool counted = parent != plies.end() && !node.Has(kFlagComposed);
    plies[at] = counted ? parent->second + 1 : PlyOf(game.Store(), at);
  }
  for (const SBookmarkDetails& mark : game.bookmarks) {
    const auto ply = plies.find(mark.node);
    const long long plyCount = ply != plies.end() ? ply->second : PlyOf(game.Store(), mark.node);
    listing.entries.push_back(
        {mark.number, static_cast<int>((plyCount + 1) / 2), BookmarkDescription(game, mark.node)});
  }
  return listing;
}

void CmBMDisplay(GameTree& game, UserPrompt& prompt, const BookmarkListDialog& dialog) {
  if (game.bookmarks.empty()) {
    prompt.Inform("CmBMDisplay()", "There are no bookmarks in the game tree");
    return;
  }
  // The nodes in listing order, so the dialog's indexes name them even when
  // two bookmarks share a number.
  std::vector<NodeRef> nodes;
  for (const SBookmarkDetails& mark : game.bookmarks) nodes.push_back(mark.node);
  BookmarkListOutcome outcome = dialog(ListBookmarks(game));
  auto valid = [&nodes](int index) { return index >= 0 && index < static_cast<int>(nodes.size()); };

  bool removed = false;
  for (int index : outcome.deleted)
    if (valid(index)) removed = RemoveBookmark(game, nodes[static_cast<std::size_t>(index)]) || removed;
  if (removed) game.MarkChanged();

  if (!outcome.chosen || !valid(*outcome.chosen)) return;
  const NodeRef chosen = nodes[static_cast<std::size_t>(*outcome.chosen)];
  if (std::find(outcome.deleted.begin(), outcome.deleted.end(), *outcome.chosen) != outcome.deleted.end()) return;
  ActivateAndGoTo(game, chosen);
}

}  // namespace varnock
