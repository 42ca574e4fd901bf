// The classification commands working on a collection.
#pragma once

#include <functional>

#include "collection/Collection.h"
#include "openings/EcoCommands.h"

namespace varnock {

class CollectionEco : public EcoCollection {
 public:
  explicit CollectionEco(Collection& collection) : collection_(collection) {}

  int GameCount() const override { return static_cast<int>(collection_.Count()); }
  SGridFrame& Game(int index) override { return collection_.Game(static_cast<std::size_t>(index)); }
  void EnsureLoaded(SGridFrame& game) override { collection_.EnsureLoaded(game); }
  void ShowLoadErrors() override;
  void MarkModified() override { collection_.modified = true; }
  void RefreshBoard() override {
    if (collection_.views) collection_.views->Refresh();
  }
  void RepaintList() override { RefreshBoard(); }
  void Progress(int done, int total) override {
    if (progress) progress(done, total);
  }

  // Told as games are loaded before classification.
  std::function<void(int done, int total)> progress;

 private:
  Collection& collection_;
};

}  // namespace varnock
