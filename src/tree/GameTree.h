// The move tree of one game and the state of its display.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "core/Placement.h"
#include "tree/BookmarkList.h"
#include "tree/LineRecords.h"
#include "tree/NodeStore.h"

namespace varnock {

// Told when a game changes, so that the window (or the collection) can mark
// itself modified and refresh.
class GameObserver {
 public:
  virtual ~GameObserver() = default;
  virtual void GameChanged() {}
  // The current node moved (not told for quiet moves).
  virtual void CurrentNodeChanged() {}
};

class GameTree {
 public:
  // A new game with only its root; `id` 0 takes the next id of the store.
  explicit GameTree(NodeStore& store, int id = 0);
  // Frees every node of the game. Segments left empty stay with the pools
  // until their owner releases them (closing many games at once would
  // otherwise free and allocate segments over and over).
  ~GameTree();
  GameTree(const GameTree&) = delete;
  GameTree& operator=(const GameTree&) = delete;

  NodeStore& Store() const { return store_; }
  MoveNode& Node(NodeRef ref) const { return store_.Node(ref); }

  // Sets the changed flag, counts the edit and tells the observer.
  void MarkChanged();
  // Counts the edits since the game was made: a view that shows the tree
  // lays it out again only when the count moved.
  std::uint64_t Revision() const { return revision_; }

  int gameId = 0;
  NodeRef root = kNoNode;
  NodeRef lineEnd = kNoNode;  // last node of the active line
  NodeRef current = kNoNode;  // the displayed position
  NodeRef primary = kNoNode;
  SBranchDetails* rootLine = nullptr;    // the line that starts at the root
  SBranchDetails* activeLine = nullptr;  // the line being extended
  BookmarkList bookmarks;                // highest number first
  std::array<NodeRef, 10> storeSlots{};
  bool changed = false;
  bool boardFlipped = false;

  // The displayed position.
  BoardSquares board = StartBoard;
  KingSquares kings;
  std::uint8_t sideToMove = kWhite;
  std::string statusText;

  // One-shot permission for the next move attempt to break the rules.
  bool invalidMovePermitted = false;

  GameObserver* observer = nullptr;

  // Edits that add, remove or reorder commented nodes drop the comment
  // search's ring; the next search builds it anew.
  void ForgetCommentRing() { commentRing_.valid = false; }

  // The node created last (kNoNode when none is remembered), and forgetting
  // it when that node goes or a set-up position restarts the snapshot count.
  NodeRef LastCreated() const { return lastCreated_.ref; }
  void ForgetLastCreated() { lastCreated_ = {}; }

 private:
  friend struct CommentRingAccess;  // tree/CommentSearch.cpp
  friend struct LastCreatedAccess;  // tree/NodeCreation.cpp

  // The ring of commented nodes used by the comment search, and where the
  // last search stopped.
  struct CommentRing {
    std::vector<NodeRef> nodes;
    bool valid = false;
    NodeRef position = kNoNode;
  };
  // The last node created and how many moves lie between it and the nearest
  // node above it with a snapshot, a set-up position or no parent: saves a
  // walk up the tree for every move appended to a line. `node` is its slot
  // while `ref` is set (slots never move).
  struct LastCreatedNode {
    NodeRef ref = kNoNode;
    int snapshotDistance = 0;
    MoveNode* node = nullptr;
  };

  CommentRing commentRing_;
  LastCreatedNode lastCreated_;
  std::uint64_t revision_ = 0;
  NodeStore& store_;
};

}  // namespace varnock
