#include "render/TextDiagram.h"

#include "formats/PgnDiagram.h"
#include "render/ChessFontMap.h"

namespace varnock {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kPgnPrefix = "%  ";

std::string_view Separator(const TextDiagramOptions& options) { return options.rtf ? "\\par" : kCrLf; }

// The PGN writer's diagram is the ASCII diagram with the "%  " prefix and CR
// LF line ends: take its lines and join them as asked.
void AppendAsciiDiagram(std::string& out, const BoardSquares& board, const TextDiagramOptions& options) {
  std::string pgn;
  AppendPgnDiagram(pgn, board, options.reversed, options.initials);
  std::string_view rest = pgn;
  bool first = true;
  while (!rest.empty()) {
    const std::size_t end = rest.find(kCrLf);
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + kCrLf.size());
    if (!options.prefix && line.starts_with(kPgnPrefix)) line.remove_prefix(kPgnPrefix.size());
    if (!first) out += Separator(options);
    out += line;
    first = false;
  }
  out += kCrLf;
}

// In RTF a blank must end the "\par" before the digit borders of font 0, or
// the digit would become the control word's parameter; plain text needs no
// blank, and one would push the ranks out of line with the top border.
void AppendFontDiagram(std::string& out, const BoardSquares& board, const TextDiagramOptions& options) {
  const std::string_view map = CharacterMap(options.mode);
  const std::string_view lead = (options.mode == 0 && options.rtf) ? " " : "";
  out += map[kBorderTopLeft];
  out.append(8, map[kBorderTop]);
  out += map[kBorderTopRight];
  for (int row = 0; row < 8; ++row) {
    out += Separator(options);
    out += lead;
    out += map[kBorderLeft];
    for (int column = 0; column < 8; ++column) {
      const int square = options.reversed ? 63 - SquareAt(column, row) : SquareAt(column, row);
      out +=
          map[static_cast<std::size_t>(TileIndex(board[static_cast<std::size_t>(square)], IsLightCell(column, row)))];
    }
    out += map[kBorderRight];
  }
  out += Separator(options);
  out += lead;
  out += map[kBorderBottomLeft];
  out.append(8, map[kBorderBottom]);
  out += map[kBorderBottomRight];
}

}  // namespace

int DiagramModeOf(int fontIndex) { return fontIndex >= 0 && fontIndex <= 4 ? fontIndex : 3; }

void AppendTextDiagram(std::string& out, const BoardSquares& board, const TextDiagramOptions& options) {
  if (options.mode == kAsciiDiagram)
    AppendAsciiDiagram(out, board, options);
  else
    AppendFontDiagram(out, board, options);
}

std::string TextDiagram(const BoardSquares& board, const TextDiagramOptions& options) {
  std::string out;
  AppendTextDiagram(out, board, options);
  return out;
}

}  // namespace varnock
