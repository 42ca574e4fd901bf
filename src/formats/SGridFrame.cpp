#include "formats/SGridFrame.h"

namespace varnock {

SGridFrame::SGridFrame(NodeStore& store) : gameId(store.NextGameId()), store_(store) {}

GameTree& SGridFrame::Tree() {
  if (!tree_) {
    tree_ = std::make_unique<GameTree>(store_, gameId);
    tree_->boardFlipped = flipped;
  }
  return *tree_;
}

}  // namespace varnock
