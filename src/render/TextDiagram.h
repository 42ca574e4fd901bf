// A position as text: ten lines of chess-font characters (framed by the
// font's border characters) for RTF and text exports, or a plain ASCII
// diagram.
#pragma once

#include <string>
#include <string_view>

#include "core/Board.h"
#include "core/PieceInitials.h"

namespace varnock {

// Mode 0 is the map of font index 0, modes 1-4 the map of the other fonts,
// mode 5 the ASCII diagram.
inline constexpr int kAsciiDiagram = 5;

// The diagram mode that draws with a font: its index, or the default font's
// for an index outside 0..4.
int DiagramModeOf(int fontIndex);

struct TextDiagramOptions {
  int mode = kAsciiDiagram;
  bool prefix = false;                                // ASCII only: every line starts with "%  " (PGN escape lines)
  bool rtf = false;                                   // lines separated by "\par" instead of CR LF
  bool reversed = false;                              // read from the last square backwards (Black's view)
  std::string_view initials = kDefaultPieceInitials;  // ASCII piece letters
};

// Appends the diagram of `board`. Lines are separated, never ended, by the
// separator; an ASCII diagram ends with CR LF.
void AppendTextDiagram(std::string& out, const BoardSquares& board, const TextDiagramOptions& options);
std::string TextDiagram(const BoardSquares& board, const TextDiagramOptions& options);

}  // namespace varnock
