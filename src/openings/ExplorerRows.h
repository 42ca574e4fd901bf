// What the opening explorer shows for a position: the title (the opening of
// the position) and one row per move played from it in the statistics, with
// the results of the games after the move and the opening it leads to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Board.h"
#include "openings/EcoTable.h"
#include "openings/ExplorerEcoIndex.h"
#include "openings/ExplorerStats.h"

namespace varnock {

// One listed move.
struct SExplorerMove {
  std::string moveText;  // "e2-e4", "Ng1-f3", "e4:d5", "e5:d6 ep", "O-O"
  int total = 0;         // games of the position after the move
  int whiteWins = 0;
  int blackWins = 0;
  int draws = 0;
  int from = 0;  // squares, 0 = a8 ... 63 = h1
  int to = 0;
  const EcoLine* ecoLine = nullptr;  // the opening of the position after the move
};

// The columns of the explorer's list, in order.
inline constexpr std::array<const char*, 6> kExplorerColumns = {"Move",  "Games",  "White%",
                                                                "Draw%", "Black%", "Opening"};
using ExplorerCells = std::array<std::string, 6>;

struct ExplorerView {
  std::string title;                 // " CODE NAME", or empty
  std::vector<SExplorerMove> rows;   // by total games, most first; ties in stored order
  std::vector<ExplorerCells> lines;  // the displayed rows; a single "0" row when none is shown
};

// The sources of the explorer; any may be missing (nullptr), which leaves
// out what it gives: no statistics show the single "0" row, no index or
// table shows no openings.
struct ExplorerSources {
  const ExplorerStats* stats = nullptr;
  const ExplorerEcoIndex* index = nullptr;
  const EcoTable* table = nullptr;
  std::string initials = "KQRBNP";  // piece letters of the move texts
};

// The explorer for a board with `sideToMove` to move.
ExplorerView ExplorerViewOf(const BoardSquares& board, std::uint8_t sideToMove, const ExplorerSources& sources);

// A row's cells: the move, the games, the three percentages (empty for no
// games) and the opening ("  CODE   NAME", or empty).
ExplorerCells ExplorerCellsOf(const SExplorerMove& row);

// A percentage to the nearest whole number, halves upward: (count × 200 +
// total) / (total × 2).
unsigned ExplorerPercent(unsigned count, unsigned total);

}  // namespace varnock
