// Playing a move of the explorer's list in the shown game.
#pragma once

#include "core/UserPrompt.h"
#include "openings/ExplorerRows.h"
#include "tree/GameTree.h"
#include "tree/MoveEntry.h"

namespace varnock {

inline constexpr const char* kExplorerMoveCaption = "FrameWin::CmExplorerDoMove()";

// Plays the row's move at the game's current node through interactive move
// entry, as a move made on the board: the row's squares are taken to the
// board as shown (mirrored on a reversed board) and entered from there.
// A from square without a piece of the side to move is refused with
// "'MOVE'\r\n\r\nInvalid piece selection.\r\nIt is COLOUR to move." (caption
// kExplorerMoveCaption). A pawn reaching the last rank is a promotion:
// move entry asks for the piece. A move that entry refuses is reported with
// its status text under kMoveEntryCaption, unless the user abandoned the
// promotion question.
EntryOutcome PlayExplorerMove(GameTree& game, const SExplorerMove& row, UserPrompt& prompt);

}  // namespace varnock
