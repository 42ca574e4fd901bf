// Move text: the game window's and the printed score's move text, the SAN of
// PGN output and the long-algebraic text of explorer and engine lines.
#pragma once

#include <cstdint>
#include <string>

#include "core/Board.h"
#include "core/MoveFacts.h"
#include "core/PieceInitials.h"

namespace varnock {

// How a move text is laid out.
enum MoveTextMode : int {
  kSingleLine = 0,    // game window, status line and lists
  kRtf = 1,           // RTF export
  kColumns = 2,       // plain-text score columns
  kColumnsPlain = 3,  // the same without rating and assessment
};

struct NotationOptions {
  std::string initials{kDefaultPieceInitials};  // king, queen, rook, bishop, knight, pawn
  bool alignedNumbers = false;                  // RTF: "%3d.  " numbers in place of "%d.\tab "
  bool alignedPawnMoves = false;                // RTF, long notation: a blank where a piece letter would stand
};

// The text of a stored move. `ply` 0 writes no move number; an odd ply (a
// White move) is numbered (ply + 1) / 2.
std::string MoveText(const MoveFacts& move, int ply, int mode, bool shortNotation, const NotationOptions& options);

// The SAN (or long algebraic) text of a move for PGN output, with English
// piece letters.
std::string PGNMoveText(const MoveFacts& move, bool longAlgebraic);

// The text of a two-byte engine or explorer move (bits 0-5 from square, 6-11
// to square, bit 12 check), such as "Ng1-f3", "e4:d5", "e5:d6 ep" or "O-O".
// Plays the move on `scratch` so that a line converts move by move: a
// castling king takes its rook along, a pawn taken en passant is removed and
// a pawn reaching the last rank stays a pawn.
std::string EngineMoveText(std::uint16_t engineMove, BoardSquares& scratch, const std::string& initials);

// The short-notation origin hint of a piece move: the pieces with the mover's
// code that reach `to` by their geometry on `before` (pins and checks do not
// matter) decide between nothing, the file letter, the rank digit or both.
std::string Disambiguation(const BoardSquares& before, int from, int to);

}  // namespace varnock
