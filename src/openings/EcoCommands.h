// The bulk classification commands: every game of the collection, and the
// games selected in the games list. They work through EcoCollection, which
// the collection implements.
#pragma once

#include <span>
#include <string>

#include "core/UserPrompt.h"
#include "formats/SGridFrame.h"
#include "openings/EcoDatabase.h"
#include "openings/FetchEco.h"

namespace varnock {

class EcoCollection {
 public:
  virtual ~EcoCollection() = default;

  virtual int GameCount() const = 0;
  // The game at a 0-based place in collection order.
  virtual SGridFrame& Game(int index) = 0;
  // Reads the game's moves from the retained file text when they have not
  // been read yet (afterwards `loaded` is set); errors are collected.
  virtual void EnsureLoaded(SGridFrame& game) = 0;
  // Shows the collected load errors, if there are any.
  virtual void ShowLoadErrors() = 0;
  // Sets the collection's modified flag.
  virtual void MarkModified() = 0;

  // Redraws the board of the current game.
  virtual void RefreshBoard() {}
  // Redraws the games list.
  virtual void RepaintList() {}
  // Loading progress: `done` of `total` games read so far.
  virtual void Progress(int done, int total) {
    (void)done;
    (void)total;
  }
};

// A selected item of the games list: its 0-based place in the list and its
// game.
struct SelectedGame {
  int item = 0;
  SGridFrame* game = nullptr;
};

// "Set &ECO Classifications for all Games": loads every game not yet loaded
// (after asking), classifies every game and reports the counts (the report
// is also given in `report`, when asked for). Returns how many games changed.
int CmFetchAllECO(EcoCollection& collection, EcoDatabase& database, EcoMethod method, UserPrompt& prompt,
                  std::string* report = nullptr);

// "Fetch &Opening Classifications" in the games list: classifies the
// selected games, loading those not loaded yet. Returns how many changed.
int CmFoldersECO(EcoCollection& collection, std::span<const SelectedGame> selection, EcoDatabase& database,
                 EcoMethod method, UserPrompt& prompt);

}  // namespace varnock
