// The bookmark commands of the displayed game.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// Removes the current node's bookmark, or adds one with the next number; and
// the menu entry that does it.
void CmToggleBookmark(GameTree& game);
std::string BookmarkMenuText(const GameTree& game);

// Bookmarks every move of every line played to (or from) a square, skipping
// moves that already carry one. `boardSquare` is the square as shown on the
// board, mirrored here when the board is flipped.
void CmBMPlayedTo(GameTree& game, UserPrompt& prompt, int boardSquare);
void CmBMPlayedFrom(GameTree& game, UserPrompt& prompt, int boardSquare);

// Deletes every bookmark of the game, after a question.
void CmBMDeleteAll(GameTree& game, UserPrompt& prompt);

// The bookmark list as the list dialog shows it, highest number first.
struct BookmarkListing {
  struct Entry {
    int number = 0;
    int moveNumber = 0;
    std::string description;
  };
  std::string title;  // " Bookmarks ( %d )"
  std::vector<Entry> entries;
};
BookmarkListing ListBookmarks(const GameTree& game);

// What the user did in the list: entries deleted and the entry chosen, as
// indexes into the listing's entries.
struct BookmarkListOutcome {
  std::vector<int> deleted;
  std::optional<int> chosen;
};
using BookmarkListDialog = std::function<BookmarkListOutcome(const BookmarkListing&)>;

// Shows the bookmark list (or reports that there is none), deletes the
// bookmarks deleted there and goes to the chosen one, making its line part
// of the active line.
void CmBMDisplay(GameTree& game, UserPrompt& prompt, const BookmarkListDialog& dialog);

}  // namespace varnock
