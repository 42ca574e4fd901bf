// One game of a collection: its header, its move tree (once read) and where
// its text lies in the file it came from.
#pragma once

#include <cstdint>
#include <memory>

#include "formats/GameHeader.h"
#include "tree/GameTree.h"

namespace varnock {

enum class ReadMode {
  Full,    // header and moves
  Scan,    // header only; the moves are found, not read
  Reread,  // the moves of a scanned game; the header stays as it is
};

// stateFlags bits.
constexpr std::uint8_t kFromFileText = 1;
constexpr std::uint8_t kMovesChanged = 2;
constexpr std::uint8_t kHeaderChanged = 4;

class SGridFrame {
 public:
  explicit SGridFrame(NodeStore& store);

  // The move tree, created on first use.
  GameTree& Tree();
  bool HasTree() const { return tree_ != nullptr; }
  // Frees the move tree (it is read again when next needed).
  void DropTree() { tree_.reset(); }
  NodeStore& Store() const { return store_; }

  // stateFlags with kMovesChanged also set when the tree was edited since it
  // was read.
  std::uint8_t StateFlags() const {
    return static_cast<std::uint8_t>(stateFlags | (tree_ && tree_->changed ? kMovesChanged : 0));
  }

  int gameId = 0;
  std::int32_t treeViewTop = 0;
  GameHeader header;
  std::uint64_t textOffset = 0;  // first character of the game in the file text
  std::uint64_t textLength = 0;  // 0 for a game that did not come from the file
  std::uint32_t headerLength = 0;
  std::uint8_t stateFlags = 0;
  bool loaded = true;
  bool flipped = false;
  bool selected = false;

 private:
  NodeStore& store_;
  std::unique_ptr<GameTree> tree_;
};

}  // namespace varnock
