// Classification of the corpus games against a plain computation that shares
// nothing with the indexes: the table split by hand, lines replayed by a
// small board routine of its own, and matches found by comparing whole move
// texts and whole positions.
#include <gtest/gtest.h>

#include <array>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "EcoTesting.h"
#include "formats/PgnReader.h"
#include "openings/FetchEco.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

using Position = std::array<std::uint8_t, 65>;  // side ('B' White, 'A' Black to move), then a8..h1

struct PlainLine {
  std::string code, moves, name;
};

int PlainSquare(const std::string& moves, std::size_t at) {
  return (8 - (moves[at + 1] - '0')) * 8 + (moves[at] - 'a');
}

// Moves the piece; a king going two files takes its rook along; a pawn
// going aside onto an empty square takes the pawn beside it.
Position PlainReplay(const std::string& moves) {
  std::array<std::uint8_t, 64> board{};
  for (int i = 0; i < 64; ++i) board[static_cast<std::size_t>(i)] = StartBoard[static_cast<std::size_t>(i)];
  for (std::size_t i = 0; i + 4 <= moves.size(); i += 4) {
    const int from = PlainSquare(moves, i), to = PlainSquare(moves, i + 2);
    const std::uint8_t piece = board[static_cast<std::size_t>(from)];
    if ((piece & kPawn) && (from % 8) != (to % 8) && board[static_cast<std::size_t>(to)] == 0)
      board[static_cast<std::size_t>((from / 8) * 8 + to % 8)] = 0;
    if ((piece & kKing) && (to - from == 2 || from - to == 2)) {
      const int rookFrom = to > from ? from + 3 : from - 4, rookTo = (from + to) / 2;
      board[static_cast<std::size_t>(rookTo)] = board[static_cast<std::size_t>(rookFrom)];
      board[static_cast<std::size_t>(rookFrom)] = 0;
    }
    board[static_cast<std::size_t>(to)] = piece;
    board[static_cast<std::size_t>(from)] = 0;
  }
  Position position{};
  position[0] = (moves.size() / 4) % 2 == 0 ? 'B' : 'A';
  for (int i = 0; i < 64; ++i) position[static_cast<std::size_t>(i + 1)] = board[static_cast<std::size_t>(i)];
  return position;
}

struct PlainTable {
  std::vector<PlainLine> lines;
  std::map<std::string, std::size_t> byMoves;
  std::map<Position, std::size_t> byPosition;  // the latest line of a position

  explicit PlainTable(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find('\n', start);
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
      lines.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
      byMoves[lines.back().moves] = lines.size() - 1;
      byPosition[PlainReplay(lines.back().moves)] = lines.size() - 1;
    }
  }

  // The deepest line of the first 36 half-moves of the game, or nullptr.
  const PlainLine* Classify(const GameTree& game, EcoMethod method) const {
    const PlainLine* found = nullptr;
    std::string text;
    NodeRef at = game.Node(game.root).next;
    for (int ply = 0; ply < 36 && at != kNoNode; ++ply, at = game.Node(at).next) {
      const MoveNode& node = game.Node(at);
      text += SquareName(node.From()) + SquareName(node.To());
      if (method == EcoMethod::MoveOrder) {
        if (auto it = byMoves.find(text); it != byMoves.end()) found = &lines[it->second];
      } else {
        const BoardSquares board = BoardAt(game.Store(), at);
        Position position{};
        position[0] = node.SideToMove() == kWhite ? 'B' : 'A';
        for (int i = 0; i < 64; ++i) position[static_cast<std::size_t>(i + 1)] = board[static_cast<std::size_t>(i)];
        if (auto it = byPosition.find(position); it != byPosition.end()) found = &lines[it->second];
      }
    }
    return found;
  }
};

std::string Describe(const PlainLine* line) {
  return line ? line->code + " " + line->moves + " " + line->name : "none";
}
std::string Describe(const EcoLine* line) {
  return line ? std::string(line->code) + " " + std::string(line->moves) + " " + std::string(line->name) : "none";
}

TEST(EcoCorpus, ClassificationAgreesWithAPlainComputation) {
  // One player's master games (2,275) and the small files: enough openings,
  // and fast under the sanitizers too.
  auto files = testing::CorpusFiles({"big/pgnmentor", "big/hlotze", "big/chesscom-games", "annotated", "odd"});
  std::erase_if(files, [](const auto& path) {
    return path.parent_path().filename() == "pgnmentor" && path.filename() != "Hou.pgn.xz";
  });
  if (files.empty()) GTEST_SKIP() << "no corpus";
  const EcoTable& table = *testing::BuiltInDatabase().Table();
  const PlainTable plain(testing::EcoTableFile());
  ASSERT_EQ(plain.lines.size(), table.Lines().size());
  EXPECT_EQ(plain.byPosition.size(), plain.lines.size() - 1);  // one transposed pair

  int games = 0, classified[2] = {0, 0}, disagreements = 0, differentByMethod = 0;
  for (const auto& file : files) {
    const std::string text = testing::ReadCorpusFile(file);
    NodeStore store;
    SErrorList errors;
    testing::ScriptedPrompt prompt;
    PgnReadContext ctx;
    ctx.text = text;
    ctx.errors = &errors;
    ctx.prompt = &prompt;
    for (;;) {
      SGridFrame game(store);
      if (!Do_FilePGN(game, ReadMode::Full, ctx)) break;
      ++games;
      const GameTree& tree = game.Tree();
      if (tree.Node(tree.root).Has(kFlagComposed)) continue;
      const EcoLine* results[2];
      for (EcoMethod method : {EcoMethod::MoveOrder, EcoMethod::Transposition}) {
        const int m = static_cast<int>(method);
        results[m] = FindOpening(tree, table, method);
        const PlainLine* expected = plain.Classify(tree, method);
        if (results[m]) ++classified[m];
        if (Describe(results[m]) != Describe(expected) && ++disagreements <= 10)
          ADD_FAILURE() << file.filename() << " game " << games << " method " << m << ": " << Describe(results[m])
                        << " but plainly " << Describe(expected);
      }
      if (results[0] != results[1]) ++differentByMethod;
    }
  }
  EXPECT_EQ(disagreements, 0);
  // Almost every master game starts with a named line; transpositions change
  // the answer for a good share of them.
  EXPECT_GT(games, 2500);
  EXPECT_GT(classified[0], games * 9 / 10);
  EXPECT_GE(classified[1], classified[0]);
  EXPECT_GT(differentByMethod, games / 20);
  std::cout << games << " games: " << classified[0] << " classified by move order, " << classified[1]
            << " by transposition, " << differentByMethod << " differently\n";
}

}  // namespace
}  // namespace varnock
