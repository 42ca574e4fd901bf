// A collection: the ordered games of one file, held over the file's text.
//
// Opening a file reads the first game in full and only the headers of the
// others; a game's moves are read from the retained text (the rollback
// segment) the first time it is needed. The node pools of the store are
// shared by every game; empty pool segments go back to the system in the
// release step after games are destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/UserPrompt.h"
#include "formats/FileIdentity.h"
#include "formats/FileText.h"
#include "formats/SErrorList.h"
#include "formats/SGridFrame.h"

namespace varnock {

// What the collection asks of the window that shows it. Without a window
// nothing needs doing.
class CollectionViews {
 public:
  virtual ~CollectionViews() = default;
  // The position of the game-text view, to keep with a game being left.
  virtual std::int32_t GameTextTop() { return 0; }
  virtual void ResetGameText() {}
  virtual void RestoreGameText(std::int32_t /*top*/) {}
  // The current game or its position changed: board, captions, lists.
  virtual void Refresh() {}
};

// The retained text of the last load and the file's size before cleaning.
struct SRollback_Params {
  bool present = false;
  TextBuffer text;
  std::uint64_t length = 0;
  // The file the text was read from, while it is known to hold that text
  // unchanged: a save copies unchanged stretches from it.
  FileIdentity source;
};

// A game as BuildFromText appends it: `place` is its 0-based place in the
// collection being built.
struct ScannedGame {
  std::size_t place = 0;
  std::uint64_t textOffset = 0;
  std::uint64_t textLength = 0;
  bool flipped = false;
  bool loaded = false;  // read in full, moves and all
};

// Told on the building thread what BuildFromText builds, while it builds.
// It must not throw.
class BuildObserver {
 public:
  virtual ~BuildObserver() = default;
  // Before the first game: the text the games are built over. It is the
  // rollback text from then on, and its bytes stay where they are until the
  // next build or the collection's end.
  virtual void TextStarted(std::string_view text, FileType type) = 0;
  virtual void GameScanned(const ScannedGame& game) = 0;
};

// Settings the readers use, and where error lists are written.
struct ReadSettings {
  bool badContinuation = true;
  std::string tempFolder = "/tmp";
};

class Collection {
 public:
  Collection(NodeStore& store, UserPrompt& prompt);
  ~Collection();
  Collection(const Collection&) = delete;
  Collection& operator=(const Collection&) = delete;

  NodeStore& Store() { return store_; }
  UserPrompt& Prompt() { return prompt_; }

  // The games; never empty (an empty collection holds one empty game).
  std::size_t Count() const { return games_.size(); }
  SGridFrame& Game(std::size_t position) { return *games_.at(position); }
  const SGridFrame& Game(std::size_t position) const { return *games_.at(position); }
  std::size_t CurrentPosition() const { return current_; }
  SGridFrame& CurrentGame() { return *games_[current_]; }
  // The 1-based place of a game, or 0 when it is not in the collection.
  std::size_t PlaceOf(const SGridFrame& game) const;

  // Replaces every game by the games of a cleaned file text of the given
  // type; the text becomes the rollback segment. `fileSize` is the file's
  // size before cleaning. Reports "No games were loaded." and keeps one empty
  // game when the text holds none. Returns whether a game was found.
  bool BuildFromText(TextBuffer text, FileType type, const std::string& name, std::uint64_t fileSize);

  // Reads the moves of a game that was only scanned. Reports go to the
  // error list. Returns whether the game is loaded now.
  bool EnsureLoaded(SGridFrame& game);
  std::size_t CountUnloaded() const;

  // Makes the game at `position` current, reads its moves when needed and
  // sets up its board. `saveView` keeps the departing game's view position.
  void SelectGame(std::size_t position, bool saveView);
  void PreviousGame();
  void NextGame();
  void UpEightGames();
  void DownEightGames();
  void FirstGame();
  void LastGame();

  // "  [n/N]" for a collection of several games, else "".
  std::string PositionText() const;
  // The window title: file part of the name, position, players.
  std::string TitleText() const;

  // Starts an empty collection of one new game, without a file.
  void NewCollection();
  // Removes the games at the given places (kept in order); the list keeps
  // at least one game. Empty pool segments are released.
  void RemoveGames(const std::vector<std::size_t>& positions);
  // Appends a game (an import, a new game).
  SGridFrame& AppendGame(std::unique_ptr<SGridFrame> game);
  // Inserts a game before the game at `position` (at the end for Count());
  // the current game stays current.
  SGridFrame& InsertGame(std::size_t position, std::unique_ptr<SGridFrame> game);
  // Puts the games in a new order: `order[i]` is the present place of the
  // game that goes to place i, each place named once (else nothing changes).
  // The current game stays current at its new place.
  void PermuteGames(const std::vector<std::size_t>& order);
  std::unique_ptr<SGridFrame> MakeGame() const { return std::make_unique<SGridFrame>(store_); }
  // Frees the pool segments no game uses any more.
  void ReleaseEmptySegments();

  bool modified = false;
  std::string fileName;
  FileType fileType = kFileNone;
  SRollback_Params rollback;
  int markedGameId = -1;
  SErrorList errors;
  ReadSettings settings;
  CollectionViews* views = nullptr;
  BuildObserver* buildObserver = nullptr;

 private:
  void DestroyAllGamesBut(std::size_t keep);
  void ShowErrors();

  NodeStore& store_;
  UserPrompt& prompt_;
  std::vector<std::unique_ptr<SGridFrame>> games_;
  std::size_t current_ = 0;
  mutable std::size_t placeHint_ = 0;
};

}  // namespace varnock
