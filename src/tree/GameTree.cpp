#include "tree/GameTree.h"

#include <new>

#include "tree/Lines.h"

namespace varnock {

GameTree::GameTree(NodeStore& store, int id) : store_(store) {
  gameId = id ? id : store_.NextGameId();
  root = store_.Allocate(false);
  if (root == kNoNode) throw std::bad_alloc();
  store_.Node(root).SetMove(0, 0, kStoredPawn);
  rootLine = store_.NewLine(gameId, root, root);
  activeLine = rootLine;
  current = root;
  lineEnd = root;
  store_.TreeMade();
}

GameTree::~GameTree() {
  observer = nullptr;
  if (store_.TreeGoes()) {
    store_.Clear();  // the store held this game only
    return;
  }
  FreeChain(*this, root);
  store_.ForgetGame(gameId);
}

void GameTree::MarkChanged() {
  changed = true;
  ++revision_;
  if (observer) observer->GameChanged();
}

}  // namespace varnock
