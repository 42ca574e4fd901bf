// Finding the squares of a written move: which piece of the side to move
// makes it. Used by the PGN reader for every move it reads, so the routines
// look only at squares from which the piece could come and allocate nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Board.h"
#include "core/BoardSets.h"
#include "core/Placement.h"
#include "core/PositionHistory.h"

namespace varnock {

// What the written move claims about check: nothing, "+" or a mate mark.
enum CheckMark : int { kNoCheckMark = 0, kCheckMarked = 1, kMateMarked = 2 };

struct ResolvedMove {
  bool found = false;
  int from = kNoSquare;
};

struct ResolvedCapture {
  bool found = false;
  int from = kNoSquare;
  int to = kNoSquare;
};

// The origin of a move of `colour` with a piece of `pieceType` (a type bit)
// to `toSquare`. `disambiguation` may name the origin's file, rank or both
// (other characters, such as an "x", are ignored). `promotion` is the type a
// pawn reaching the last rank becomes, or 0.
//
// A candidate is legal when the movement rules allow it and the mover's king
// is not attacked after it. When several pieces could move, the check mark
// decides: a move whose check (or mate) does not match the mark is passed
// over. The first legal candidate in square order that is not passed over is
// the answer, else the last legal candidate.
//
// `known` may carry what the caller already knows of the position (the king
// squares, whether the side to move is in check), which saves work on every
// move of a file being read.
struct KnownPosition {
  const KingSquares* kings = nullptr;
  int inCheck = -1;  // -1 unknown, 0 not in check, 1 in check
};
ResolvedMove ResolveMove(const BoardSquares& board, std::uint8_t colour, int checkMark, std::uint8_t pieceType,
                         std::string_view disambiguation, int toSquare, std::uint8_t promotion,
                         const PositionHistory& history, const KnownPosition& known = {});

// The origin of a move when the answer is plain: exactly one piece of
// `pieceType` could come to `toSquare` by its movement rules, it is not
// taking en passant, and it is a king stepping to a square where it is safe,
// or a piece that is not pinned (with the side to move known not to be in
// check), or a piece whose move leaves its king safe (with the side to move
// known to be in check: `inCheck`). kNoSquare means "look closer"
// (ResolveMove), not "illegal". Where it answers, it answers as ResolveMove
// does. `sets` are the board's square sets (BoardSets::Of).
int PlainOrigin(const BoardSquares& board, const BoardSets& sets, const KingSquares& kings, std::uint8_t colour,
                std::uint8_t pieceType, std::string_view disambiguation, int toSquare, const PositionHistory& history,
                bool inCheck = false);

// A move written as one piece type taking another (such as "BxN"): the first
// pair of a piece of `pieceType` and an enemy piece of `capturedType`, in
// square order, that is legal and fits the check mark.
ResolvedCapture ResolveCapture(const BoardSquares& board, std::uint8_t colour, int checkMark, std::uint8_t pieceType,
                               std::string_view disambiguation, std::uint8_t capturedType,
                               const PositionHistory& history);

}  // namespace varnock
