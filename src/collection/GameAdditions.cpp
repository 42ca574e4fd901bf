#include "collection/GameAdditions.h"

#include "core/Fen.h"
#include "core/Format.h"
#include "formats/EchReader.h"
#include "formats/FileText.h"
#include "formats/LoadFile.h"
#include "formats/PgnReader.h"
#include "tree/Navigation.h"

namespace varnock {

namespace {

constexpr const char* kProductName = "Varnock";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A game read from text that is not the collection's own: written from its
// tree when saved.
void DetachFromText(SGridFrame& game) {
  game.textOffset = 0;
  game.textLength = 0;
  game.headerLength = 0;
  game.stateFlags = 0;
  game.loaded = true;
}

// Reads every game of a cleaned text in full, until the reader finds none.
GameList ReadAllGames(Collection& collection, std::string_view text, FileType type, const std::string& name,
                      SErrorList& errors, bool& errorFlag) {
  GameList games;
  PgnReadContext pgn;
  pgn.text = text;
  pgn.fileName = name;
  pgn.errors = &errors;
  pgn.prompt = &collection.Prompt();
  pgn.badContinuation = collection.settings.badContinuation;
  EchReadSource ech;
  ech.text = text;
  ech.fileName = name;
  ech.errors = &errors;
  std::size_t p = 0;
  while (p < text.size()) {
    while (p < text.size() && IsBlank(text[p])) ++p;
    if (p >= text.size()) break;
    const std::size_t start = p;
    auto game = collection.MakeGame();
    int found = 0;
    if (type == kFileEch) {
      bool marked = false;
      ech.gameNumber = static_cast<int>(games.size()) + 1;
      found = ReadEchGame(*game, ReadMode::Full, ech, p, marked);
    } else {
      pgn.cursor = p;
      found = Do_FilePGN(*game, ReadMode::Full, pgn);
      p = pgn.cursor;
    }
    if (!found) break;
    if (p <= start) p = start + 1;  // a reader always moves on
    DetachFromText(*game);
    games.push_back(std::move(game));
  }
  errorFlag = errorFlag || pgn.errorFlag;
  return games;
}

std::string GamesLoaded(int n) { return n == 1 ? "1 game was loaded." : Format("%d games were loaded.", n); }

}  // namespace

void AddNewGame(Collection& collection) {
  const std::size_t place = collection.CurrentPosition();
  collection.InsertGame(place, collection.MakeGame());
  collection.modified = true;
  collection.SelectGame(place, true);
}

void CmCollAddFEN(Collection& collection, const std::string& fenText) {
  if (fenText.empty()) return;
  const std::size_t place = collection.CurrentPosition();
  SGridFrame& game = collection.InsertGame(place, collection.MakeGame());
  FENExtras position;
  const FenCheck check = ParseFEN(fenText, position);
  if (!check.ok)
    collection.Prompt().Inform("FrameWin::CmCollAddFEN()",
                               Format("'%s'\r\n\r\n%s", fenText.c_str(), check.message.c_str()));
  if (!check.rejected) {
    GameTree& tree = game.Tree();
    tree.Store().SetComposed(tree.root, position);
    tree.Node(tree.root).Set(kFlagBlackToMove, position.sideToMove == kBlack);
    ShowCurrentPosition(tree);  // locates the kings
  }
  collection.modified = true;
  collection.SelectGame(place, true);
}

std::string NestedBracesToBrackets(const std::string& pgnText) {
  std::string out = pgnText;
  int depth = 0;             // brace depth inside a comment
  bool inTag = false;        // between "[" and "]" outside comments
  bool inString = false;     // a quoted tag value
  bool lineComment = false;  // after ";" to the end of the line
  for (char& c : out) {
    if (lineComment) {
      if (c == '\n' || c == '\r') lineComment = false;
      continue;
    }
    if (depth > 0) {
      if (c == '{') {
        ++depth;
        c = '[';
      } else if (c == '}') {
        if (--depth > 0) c = ']';
      }
      continue;
    }
    if (inTag) {
      if (inString) {
        if (c == '"') inString = false;
      } else if (c == '"') {
        inString = true;
      } else if (c == ']') {
        inTag = false;
      }
      continue;
    }
    if (c == '{')
      depth = 1;
    else if (c == '[')
      inTag = true;
    else if (c == ';')
      lineComment = true;
  }
  return out;
}

std::optional<GameList> ReadPastedPgn(Collection& collection, const std::string& pgnText, bool bracesToBrackets) {
  const std::string text = bracesToBrackets ? NestedBracesToBrackets(pgnText) : pgnText;
  SErrorList errors;
  bool errorFlag = false;
  GameList games = ReadAllGames(collection, text, kFilePgn, "", errors, errorFlag);
  if (errorFlag || !errors.Empty()) {
    if (!errors.Empty()) errors.Display(collection.Prompt(), kProductName, "", collection.settings.tempFolder);
    if (!collection.Prompt().AskOkCancel(
            "OnOK()", "Some PGN errors were detected.  Lines of play will be truncated.\r\n\r\nContinue?"))
      return std::nullopt;
  }
  return games;
}

void CmCollAddPGN(Collection& collection, GameList games) {
  const std::size_t place = collection.CurrentPosition();
  int inserted = 0;
  for (auto& game : games) {
    if (!game) continue;
    collection.InsertGame(place + 1, std::move(game));
    ++inserted;
  }
  if (inserted == 0) return;
  collection.modified = true;
  collection.SelectGame(place + 1, true);
  collection.Prompt().Inform("FrameWin::CmCollAddPGN()", "PGN data imported.\r\n\r\n" + GamesLoaded(inserted));
}

std::optional<std::size_t> CollImport(Collection& collection, std::optional<std::size_t> anchor,
                                      const std::vector<std::string>& files) {
  // Games go before the place after the anchor.
  const std::size_t at = anchor ? std::min(*anchor + 1, collection.Count()) : 0;
  std::optional<std::size_t> first;
  collection.errors.Clear();
  for (const std::string& name : files) {
    if (name.empty()) continue;
    std::optional<LoadedFile> file = Load_File(name, collection.Prompt());
    if (!file) continue;
    CleanFileText(file->text);
    const FileType type = DetectFileType(file->text.view());
    if (type == kFileNone) {
      collection.Prompt().Inform(
          "CollImport()", Format("'%s'\r\n\r\nFile is not recognised as being either a PGN or ECH file", name.c_str()));
      continue;
    }
    bool errorFlag = false;
    GameList games = ReadAllGames(collection, file->text.view(), type, name, collection.errors, errorFlag);
    const int n = static_cast<int>(games.size());
    // From the last game to the first, each directly after the anchor.
    for (auto it = games.rbegin(); it != games.rend(); ++it) collection.InsertGame(at, std::move(*it));
    if (n > 0) {
      collection.modified = true;
      first = at;
      collection.Prompt().Inform("CollImport()", Format("'%s'\n\nFile imported.\r\n", name.c_str()) + GamesLoaded(n));
    }
  }
  if (!collection.errors.Empty())
    collection.errors.Display(collection.Prompt(), kProductName, "", collection.settings.tempFolder);
  return first;
}

void CollImport(Collection& collection, std::optional<std::size_t> anchor) {
  std::optional<std::string> name = collection.Prompt().ChooseFileToOpen(kImportFilesTitle, kImportFilesFilter, "pgn");
  if (!name) return;
  std::optional<std::size_t> first = CollImport(collection, anchor, {*name});
  if (first) collection.SelectGame(*first, true);
}

}  // namespace varnock
