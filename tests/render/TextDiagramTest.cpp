#include <gtest/gtest.h>

#include <vector>

#include "core/Fen.h"
#include "formats/PgnDiagram.h"
#include "render/ChessFontMap.h"
#include "render/TextDiagram.h"

namespace varnock {
namespace {

std::vector<std::string> Lines(const std::string& text, const std::string& separator) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

std::string Diagram(int mode, bool rtf = false, bool reversed = false, const BoardSquares& board = StartBoard) {
  TextDiagramOptions options;
  options.mode = mode;
  options.rtf = rtf;
  options.reversed = reversed;
  return TextDiagram(board, options);
}

TEST(TextDiagram, FontModesFrameTheRanksWithTheFontsBorder) {
  const auto mode3 = Lines(Diagram(3), "\r\n");
  ASSERT_EQ(mode3.size(), 10u);
  EXPECT_EQ(mode3[0], "!\"\"\"\"\"\"\"\"#");
  EXPECT_EQ(mode3[1], "$tMvWlVmT%");
  EXPECT_EQ(mode3[4], "$+ + + + %");
  EXPECT_EQ(mode3[8], "$RnBqKbNr%");
  EXPECT_EQ(mode3[9], "/(((((((()");

  // In RTF the digit borders of font 0 follow a blank, which ends "\par".
  const std::string rtf = Diagram(0, true);
  const auto mode0 = Lines(rtf, "\\par");
  ASSERT_EQ(mode0.size(), 10u);
  EXPECT_EQ(mode0[0], "1222222223");
  EXPECT_EQ(mode0[1], " 4tJnWlNjT5");
  EXPECT_EQ(mode0[8], " 4RhBqKbHr5");
  EXPECT_EQ(mode0[9], " 6777777778");
  EXPECT_EQ(rtf.find("\r\n"), std::string::npos);

  // Plain text keeps the ten lines in line.
  const auto plain = Lines(Diagram(0), "\r\n");
  EXPECT_EQ(plain[1], "4tJnWlNjT5");
  EXPECT_EQ(plain[9], "6777777778");
}

TEST(TextDiagram, ReversedBoardStartsAtH1AndKeepsTheCellColours) {
  const auto lines = Lines(Diagram(3, false, true), "\r\n");
  // h1 (white rook) first, on a light cell; a1 last, still on a dark cell.
  EXPECT_EQ(lines[1], "$rNbKqBnR%");
  EXPECT_EQ(lines[8], "$TmVlWvMt%");
  const auto ascii = Lines(Diagram(kAsciiDiagram, false, true), "\r\n");
  EXPECT_EQ(ascii[1], "| R N B K Q B N R | ");
}

TEST(TextDiagram, AsciiUsesPieceInitialsAndMarksDarkSquares) {
  TextDiagramOptions options;
  options.initials = "KDTLSB";
  const std::string text = TextDiagram(StartBoard, options);
  const auto lines = Lines(text, "\r\n");
  ASSERT_EQ(lines.size(), 11u);  // ends with CR LF
  EXPECT_EQ(lines[0], " -----------------");
  EXPECT_EQ(lines[1], "| t s l d k l s t | ");
  EXPECT_EQ(lines[3], "|   -   -   -   - | ");
  EXPECT_EQ(lines[8], "| T S L D K L S T | ");
  EXPECT_EQ(lines[9], " -----------------");
  EXPECT_EQ(lines[10], "");

  // The PGN writer's escape lines are the same diagram with the prefix.
  FENExtras extras;
  ASSERT_TRUE(ParseFEN("r1bk3r/p2pBpNp/n4n2/1p1NP2P/6P1/3P4/P1P1K3/q5b1 b - - 1 23", extras).ok);
  options.prefix = true;
  options.initials = kDefaultPieceInitials;
  for (bool flipped : {false, true}) {
    options.reversed = flipped;
    std::string pgn;
    AppendPgnDiagram(pgn, extras.board, flipped);
    EXPECT_EQ(TextDiagram(extras.board, options), pgn);
  }

  // In RTF the lines are joined by "\par", the diagram still ends with CR LF.
  options.prefix = false;
  options.rtf = true;
  options.reversed = false;
  const std::string rtf = TextDiagram(StartBoard, options);
  EXPECT_EQ(Lines(rtf, "\\par").size(), 10u);
  EXPECT_TRUE(rtf.ends_with(" -----------------\r\n"));
}

TEST(TextDiagram, TileIndicesCoverEveryPieceOnBothColours) {
  EXPECT_EQ(TileIndex(0, true), 0);
  EXPECT_EQ(TileIndex(0, false), 13);
  EXPECT_EQ(TileIndex(kBlack | kKing, true), 1);
  EXPECT_EQ(TileIndex(kBlack | kPawn, true), 6);
  EXPECT_EQ(TileIndex(kWhite | kKing, true), 7);
  EXPECT_EQ(TileIndex(kWhite | kPawn, false), 25);
  EXPECT_EQ(TileIndex(0xFF, true), 0);  // not a piece: empty
  EXPECT_EQ(CharacterMap(0).size(), 34u);
  EXPECT_EQ(CharacterMap(2), CharacterMap(4));
  EXPECT_EQ(ChessFaceName(0), "Chess Alpha");
  EXPECT_EQ(ChessFaceName(3), "Chess Merida");
  EXPECT_EQ(ChessFaceName(17), "Chess Merida");
  EXPECT_EQ(DiagramModeOf(-1), 3);
}

}  // namespace
}  // namespace varnock
