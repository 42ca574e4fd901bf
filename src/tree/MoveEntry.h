// Entering moves into a game: interactive move entry with its checks, the
// readers' unchecked entry, and set-up positions inside a game.
#pragma once

#include <optional>
#include <string>

#include "core/BoardSets.h"
#include "core/Fen.h"
#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock {

// The promotion question of interactive entry: its title, and the piece type
// of each item of its list, in the order the list offers them.
inline constexpr const char* kPromotionTitle = " Promotion Piece";
inline constexpr std::uint8_t kPromotionChoices[] = {kQueen, kKnight, kRook, kBishop};
inline constexpr int kPromotionChoiceCount = 4;
// The caption under which a window reports a refused move's status text.
inline constexpr const char* kMoveEntryCaption = "PlayMove()";

enum class EntryMode {
  Interactive,  // a new line pushes the old continuation aside as an alternative
  Reading,      // a file reader: later lines become alternatives in reading order
};

enum class EntryOutcome {
  Added,     // a new node was created
  Followed,  // the move already existed: the game moved to it
  Refused,   // the move was refused (statusText holds why) or abandoned
};

// A move that passed its checks, ready to be stored.
struct AdmittedMove {
  int from = 0;
  int to = 0;
  std::uint8_t promotion = 0;  // 0 or a piece type bit
  std::uint8_t piece = kPawn;  // type bit of the moving piece
  MoveKind kind = kOrdinary;
  bool capture = false;
  bool check = false;
  bool irregular = false;
  BoardSquares boardAfter{};
  KingSquares kingsAfter;
};

// Adds a checked move at the current node: follows an existing continuation
// or alternative with the same squares (and promoted piece), else creates a
// node, starting an alternative line when the current node already has a
// continuation. The game's board, side to move and kings follow.
// `startsLine` (readers, the first move of a variation): always a new line,
// even when the move repeats the one it is an alternative to, so that a file's
// variation never merges into the main line.
EntryOutcome AddMove(GameTree& game, const AdmittedMove& move, EntryMode mode, UserPrompt* prompt,
                     bool startsLine = false);

// Interactive move entry on board squares (0..63): the promotion request,
// the legality checks with their messages, the one-shot invalid-move
// permission, then AddMove. A move from a square to itself is a pass.
EntryOutcome PlayMove(GameTree& game, int from, int to, UserPrompt& prompt);

// The same for squares given in screen coordinates (file and row as drawn):
// mirrored when the board is flipped; coordinates off the board end the
// attempt silently.
EntryOutcome PlayMoveOnScreen(GameTree& game, int fromFile, int fromRow, int toFile, int toRow, UserPrompt& prompt);

// The readers' entry: no checks; the move is applied, its check flag
// computed, and it is added in reading mode. `linesAreLegal` tells that every
// move of the game so far was checked for legality as it was read (as the
// PGN reader does), which lets the check flag be found from the moved piece
// alone.
EntryOutcome PlayReadMove(GameTree& game, int from, int to, std::uint8_t promotion, UserPrompt* prompt,
                          bool startsLine = false, bool linesAreLegal = false);

// A reader's quick lane for the common move, with the outcome PlayReadMove
// would give: a legal move that is neither a pass nor a promotion, extending
// the active line at its end (the current node has no continuation or
// alternatives, the line has its first node) after a legal move that is not a
// pass or a set-up position, or as the first move from the standard start.
// The caller checks those conditions (ExtendsReadLine, StartsReadGame).
// The board is changed in place and put back if no node slot can be had;
// `sets`, the board's square sets, follow it. `givesCheck` tells whether the
// move entered checks the other side.
bool ExtendsReadLine(const GameTree& game);
// Nothing is played yet from a root without a set-up position: the standard
// start, where no side is in check, is on the board.
bool StartsReadGame(const GameTree& game);
EntryOutcome AppendReadMove(GameTree& game, int from, int to, UserPrompt* prompt, BoardSets& sets, bool& givesCheck);

// The pass command: a move from a8 to a8.
EntryOutcome CmPass(GameTree& game, UserPrompt& prompt);

// Asks whether the next move may break the rules; Yes grants a one-shot
// permission.
void CmInvalid(GameTree& game, UserPrompt& prompt);

// For the readers: starts reading an alternative to the move after
// `branchPoint` (a new, empty line record becomes the active line).
void BeginAlternative(GameTree& game, NodeRef branchPoint);

// Adds a set-up position as a node (a8-a8, composed, no snapshot), as a move
// would be added, and attaches its FEN fields. Returns the node or kNoNode.
NodeRef AddComposedNode(GameTree& game, const FENExtras& position, EntryMode mode, UserPrompt* prompt);

// The composition command on the displayed game: adds the position as a
// set-up node when its board or side to move differs from the displayed one,
// else reports "No changes were detected". Returns whether a node was added.
bool Compose(GameTree& game, const FENExtras& position, UserPrompt& prompt);

// Makes a new game's root carry a set-up position.
void ComposeRoot(GameTree& game, const FENExtras& position);

// The status text of a refused move, for the mover and squares given.
std::string InvalidMoveText(std::uint8_t mover, std::uint8_t piece, int from, int to, bool kingInCheck);

}  // namespace varnock
