// What commands over a whole collection need from it.
#pragma once

#include "tree/GameTree.h"

namespace varnock {

class GameCollection {
 public:
  virtual ~GameCollection() = default;

  virtual int GameCount() const = 0;
  // Game `index` with its moves in memory (read the first time it is asked
  // for), or nullptr when it cannot be read.
  virtual GameTree* LoadGame(int index) = 0;
  // Marks the collection modified.
  virtual void MarkCollectionChanged() = 0;
};

}  // namespace varnock
