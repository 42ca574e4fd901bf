// Adding games to a collection: an empty game, a game from a FEN, the games
// of pasted PGN text, and the games of other files (import).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collection/Collection.h"

namespace varnock {

using GameList = std::vector<std::unique_ptr<SGridFrame>>;

inline constexpr const char* kFenImportTitle = " FEN Import";
inline constexpr const char* kPgnImportTitle = " PGN Import";
inline constexpr const char* kBraceOptionLabel = "Turn braces nested in comments into square brackets";
inline constexpr const char* kImportFilesTitle = "Import file(s) into Collection";
inline constexpr const char* kImportFilesFilter =
    "PGN Files  ( *.pgn )|*.pgn|ECH Files  ( *.ech )|*.ech|All Files  ( *.* )|*.*||";

// An empty game before the current one, made current.
void AddNewGame(Collection& collection);

// A game before the current one that starts from the FEN's position (none
// when the text is refused), made current. Does nothing for an empty text.
void CmCollAddFEN(Collection& collection, const std::string& fenText);

// Turns braces nested inside a comment into square brackets, so that
// "{a {b} c}" reads as one comment "{a [b] c}".
std::string NestedBracesToBrackets(const std::string& pgnText);

// The PGN import dialog's reading: every game of the text, read in full.
// When the reader reported errors, shows them and asks whether to go on;
// nothing when the user cancels (the dialog stays open).
std::optional<GameList> ReadPastedPgn(Collection& collection, const std::string& pgnText, bool bracesToBrackets);

// Inserts the games after the current game, each directly after it (so the
// last game of the text comes first), makes the first of them current and
// reports.
void CmCollAddPGN(Collection& collection, GameList games);

// Reads the games of the files and inserts each file's games, in order,
// directly after the game at `anchor` (before the first game for none), the
// files in the order given, so that a later file's games come first. Files
// that cannot be read or are not PGN or ECH are skipped. Returns the place
// of the first game of the last file that gave games, or none. The caller
// makes it current.
std::optional<std::size_t> CollImport(Collection& collection, std::optional<std::size_t> anchor,
                                      const std::vector<std::string>& files);
// The command: asks for the file and imports it, then makes the returned
// game current.
void CollImport(Collection& collection, std::optional<std::size_t> anchor);

}  // namespace varnock
