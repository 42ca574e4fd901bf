#include "collection/Collection.h"

#include <algorithm>

#include "core/Format.h"
#include "formats/EchReader.h"
#include "formats/PgnReader.h"
#include "tree/Navigation.h"

namespace varnock {

namespace {

constexpr const char* kProductName = "Varnock";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Collection::Collection(NodeStore& store, UserPrompt& prompt) : store_(store), prompt_(prompt) {
  games_.push_back(MakeGame());
}

Collection::~Collection() {
  games_.clear();
  store_.ReleaseEmptySegments();
}

std::size_t Collection::PlaceOf(const SGridFrame& game) const {
  // Games are mostly asked for in list order: the place after the last one
  // found is tried first.
  for (std::size_t guess : {placeHint_, placeHint_ + 1}) {
    if (guess < games_.size() && games_[guess].get() == &game) {
      placeHint_ = guess;
      return guess + 1;
    }
  }
  for (std::size_t i = 0; i < games_.size(); ++i) {
    if (games_[i].get() == &game) {
      placeHint_ = i;
      return i + 1;
    }
  }
  return 0;
}

void Collection::DestroyAllGamesBut(std::size_t keep) {
  std::unique_ptr<SGridFrame> kept = std::move(games_.at(keep));
  games_.clear();
  games_.push_back(std::move(kept));
  current_ = 0;
  ReleaseEmptySegments();
}

void Collection::ReleaseEmptySegments() { store_.ReleaseEmptySegments(); }

void Collection::ShowErrors() {
  if (!errors.Empty()) errors.Display(prompt_, kProductName, "", settings.tempFolder);
}

bool Collection::BuildFromText(TextBuffer buffer, FileType type, const std::string& name, std::uint64_t fileSize) {
  // A placeholder first, so that the list is never empty.
  games_.push_back(MakeGame());
  DestroyAllGamesBut(games_.size() - 1);
  markedGameId = -1;

  // The text is the rollback text from the start, so that the games' text
  // stays where an observer's readers look for it even if the build fails.
  const std::string_view text = buffer.view();
  if (buildObserver) buildObserver->TextStarted(text, type);
  rollback.text = std::move(buffer);
  rollback.source = {};
  PgnReadContext pgn;
  pgn.text = text;
  pgn.fileName = name;
  pgn.errors = &errors;
  pgn.prompt = &prompt_;
  pgn.badContinuation = settings.badContinuation;
  EchReadSource ech;
  ech.text = text;
  ech.fileName = name;
  ech.errors = &errors;

  std::size_t p = 0;
  bool first = true;
  SGridFrame* marked = nullptr;
  while (p < text.size()) {
    std::size_t next = p;
    while (next < text.size() && IsBlank(text[next])) ++next;
    if (next >= text.size()) break;
    // The first game's text begins with the file, white space and all, so
    // that an unchanged file is written back to its first byte; the readers
    // skip that white space themselves and measure the header from here.
    if (!first) p = next;
    const std::size_t start = p;
    auto game = MakeGame();
    const ReadMode mode = first ? ReadMode::Full : ReadMode::Scan;
    int found = 0;
    if (type == kFileEch) {
      bool carriesMark = false;
      ech.gameNumber = static_cast<int>(games_.size());  // the placeholder is not counted
      found = ReadEchGame(*game, mode, ech, p, carriesMark);
      if (found && carriesMark) marked = game.get();
    } else {
      pgn.cursor = p;
      found = Do_FilePGN(*game, mode, pgn);
      p = pgn.cursor;
    }
    if (!found) break;
    p = std::min(std::max(p, start + 1), text.size());  // a reader always moves on
    game->textOffset = start;
    game->textLength = p - start;
    game->stateFlags = kFromFileText;
    if (buildObserver) buildObserver->GameScanned({games_.size() - 1, start, p - start, game->flipped, game->loaded});
    games_.push_back(std::move(game));
    first = false;
  }

  ShowErrors();
  rollback.present = true;
  rollback.length = fileSize;
  fileType = type;

  const bool found = games_.size() > 1;
  if (!found) {
    prompt_.Inform("FrameWin::ReLoad()", Format("'%s'\n\nNo games were loaded.", name.c_str()));
    fileName.clear();
    current_ = 0;
  } else {
    games_.erase(games_.begin());
    current_ = 0;
    if (marked) {
      markedGameId = marked->gameId;
      current_ = PlaceOf(*marked) - 1;
    }
  }
  modified = false;
  SGridFrame& game = CurrentGame();
  if (game.loaded) ShowCurrentPosition(game.Tree());
  if (views) views->Refresh();
  return found;
}

bool Collection::EnsureLoaded(SGridFrame& game) {
  if (game.loaded) return true;
  if (!rollback.present) return false;
  const std::string_view text = rollback.text.view();
  if (game.textOffset >= text.size()) return false;
  const int place = static_cast<int>(PlaceOf(game));
  if (fileType == kFileEch) {
    EchReadSource ech;
    ech.text = text;
    ech.errors = &errors;
    ech.gameNumber = place;
    std::size_t cursor = static_cast<std::size_t>(game.textOffset);
    bool marked = false;
    ReadEchGame(game, ReadMode::Reread, ech, cursor, marked);
  } else {
    PgnReadContext pgn;
    pgn.text = text;
    pgn.cursor = static_cast<std::size_t>(game.textOffset);
    pgn.rereadGameNumber = place;
    pgn.errors = &errors;
    pgn.prompt = &prompt_;
    pgn.badContinuation = settings.badContinuation;
    Do_FilePGN(game, ReadMode::Reread, pgn);
  }
  game.loaded = true;
  game.stateFlags = static_cast<std::uint8_t>((game.stateFlags | kFromFileText) & ~kMovesChanged);
  if (game.HasTree()) game.Tree().changed = false;
  return true;
}

std::size_t Collection::CountUnloaded() const {
  return static_cast<std::size_t>(
      std::count_if(games_.begin(), games_.end(), [](const auto& game) { return !game->loaded; }));
}

void Collection::SelectGame(std::size_t position, bool saveView) {
  if (position >= games_.size()) return;
  if (saveView && views) CurrentGame().treeViewTop = views->GameTextTop();
  if (position != current_ && views) views->ResetGameText();
  current_ = position;
  SGridFrame& game = CurrentGame();
  errors.Clear();
  EnsureLoaded(game);
  ShowErrors();
  GameTree& tree = game.Tree();
  tree.ForgetCommentRing();
  ShowCurrentPosition(tree);
  if (views) {
    views->RestoreGameText(game.treeViewTop);
    views->Refresh();
  }
}

void Collection::PreviousGame() {
  if (current_ > 0) SelectGame(current_ - 1, true);
}

void Collection::NextGame() {
  if (current_ + 1 < games_.size()) SelectGame(current_ + 1, true);
}

void Collection::UpEightGames() {
  if (current_ > 0) SelectGame(current_ >= 8 ? current_ - 8 : 0, true);
}

void Collection::DownEightGames() {
  if (current_ + 1 < games_.size()) SelectGame(std::min(current_ + 8, games_.size() - 1), true);
}

void Collection::FirstGame() {
  if (current_ != 0) SelectGame(0, true);
}

void Collection::LastGame() {
  if (current_ + 1 != games_.size()) SelectGame(games_.size() - 1, true);
}

std::string Collection::PositionText() const {
  if (games_.size() < 2) return {};
  return Format("  [%d/%d]", static_cast<int>(current_ + 1), static_cast<int>(games_.size()));
}

std::string Collection::TitleText() const {
  const std::size_t slash = fileName.rfind('/');
  std::string title = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  title += PositionText();
  const GameHeader& header = games_[current_]->header;
  const std::string_view white = header.Get(HeaderField::White), black = header.Get(HeaderField::Black);
  if (!white.empty() || !black.empty()) {
    title += "  ";
    title += white.empty() ? std::string_view("(null)") : white;
    title += " / ";
    title += black.empty() ? std::string_view("(null)") : black;
  }
  return title;
}

void Collection::NewCollection() {
  games_.push_back(MakeGame());
  DestroyAllGamesBut(games_.size() - 1);
  fileName.clear();
  fileType = kFileNone;
  markedGameId = -1;
  modified = false;
  if (views) views->Refresh();
}

void Collection::RemoveGames(const std::vector<std::size_t>& positions) {
  std::vector<bool> remove(games_.size(), false);
  for (std::size_t position : positions)
    if (position < games_.size()) remove[position] = true;
  std::vector<std::unique_ptr<SGridFrame>> kept;
  std::size_t newCurrent = 0;
  for (std::size_t i = 0; i < games_.size(); ++i) {
    if (remove[i]) continue;
    if (i <= current_) newCurrent = kept.size();
    kept.push_back(std::move(games_[i]));
  }
  games_.clear();  // destroys the removed games
  if (kept.empty()) kept.push_back(MakeGame());
  games_ = std::move(kept);
  current_ = std::min(newCurrent, games_.size() - 1);
  ReleaseEmptySegments();
}

SGridFrame& Collection::AppendGame(std::unique_ptr<SGridFrame> game) {
  games_.push_back(std::move(game));
  return *games_.back();
}

SGridFrame& Collection::InsertGame(std::size_t position, std::unique_ptr<SGridFrame> game) {
  position = std::min(position, games_.size());
  auto it = games_.insert(games_.begin() + static_cast<std::ptrdiff_t>(position), std::move(game));
  if (position <= current_) ++current_;  // the same game stays current
  return **it;
}

void Collection::PermuteGames(const std::vector<std::size_t>& order) {
  if (order.size() != games_.size()) return;
  std::vector<bool> seen(games_.size(), false);
  for (std::size_t from : order) {
    if (from >= games_.size() || seen[from]) return;
    seen[from] = true;
  }
  std::vector<std::unique_ptr<SGridFrame>> reordered;
  reordered.reserve(games_.size());
  std::size_t newCurrent = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i] == current_) newCurrent = i;
    reordered.push_back(std::move(games_[order[i]]));
  }
  games_ = std::move(reordered);
  current_ = newCurrent;
}

}  // namespace varnock
