#include <gtest/gtest.h>

#include <map>

#include "core/Board.h"
#include "openings/CompressedContainer.h"
#include "openings/EcoDatabase.h"
#include "openings/ExplorerRows.h"
#include "openings/ExplorerStats.h"
#include "openings/GamePositions.h"
#include "openings/PositionIndexNodes.h"
#include "openings/PositionKey.h"
#include "openings/StatsBuilder.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

TEST(ExplorerData, PercentagesRoundHalvesUp) {
  struct Case {
    unsigned count, total, percent;
  } cases[] = {{1, 3, 33}, {1, 2, 50}, {0, 2, 0}, {2, 3, 67}, {1, 8, 13}, {65535, 196605, 33}};
  for (const Case& c : cases) EXPECT_EQ(ExplorerPercent(c.count, c.total), c.percent) << c.count << "/" << c.total;
}

TEST(ExplorerData, Base128Lengths) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::optional<std::uint32_t> value;
  } cases[] = {{{0x05}, 5},
               {{0x7F}, 127},
               {{0x81, 0x00}, 128},
               {{0x82, 0x81, 0x7F}, (2u << 14) | (1u << 7) | 127},
               {{0x81}, std::nullopt},
               {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, std::nullopt}};
  for (const Case& c : cases) {
    std::size_t at = 0;
    EXPECT_EQ(ReadBase128(c.bytes, at), c.value);
    if (c.value) {
      std::vector<std::uint8_t> back;
      AppendBase128(back, *c.value);
      EXPECT_EQ(back, c.bytes);
    }
  }
}

// An index whose root is a leaf, and a deep one, find the later line of equal keys.
TEST(ExplorerData, PositionIndexFindsTheFirstEntryOfAKey) {
  std::vector<PositionIndexEntry> entries;
  for (std::uint32_t i = 0; i < 500; ++i) entries.push_back({i / 3 * 7, i});
  SortPositionIndex(entries);
  for (const std::size_t perNode : {std::size_t{255}, std::size_t{58}, std::size_t{2}}) {
    const std::vector<std::uint8_t> nodes =
        PackPositionIndex(std::span(entries).first(perNode == 255 ? 200 : 500), perNode);
    if (perNode == 255) {
      EXPECT_EQ(nodes[1], 0) << "a root that is a leaf";
    }
    const std::uint32_t count = perNode == 255 ? 200 : 500;
    for (std::uint32_t i = 0; i + 3 <= count; i += 3) {
      const std::uint32_t key = i / 3 * 7;
      const std::uint32_t later = i + 2;
      ASSERT_EQ(LookupPositionIndex(nodes, key), std::optional<std::uint32_t>(later)) << perNode << " " << key;
      EXPECT_EQ(LookupPositionIndex(nodes, key + 1), std::nullopt);
    }
  }
}

// The built-in index, from the table the program carries: every line's
// position is found, as the latest line of the table with that key.
TEST(ExplorerData, BuiltInIndexFindsEveryLine) {
  testing::ScriptedPrompt prompt;
  EcoDatabase eco;
  ExplorerEcoIndex index;
  ASSERT_TRUE(eco.Start(prompt));
  ASSERT_TRUE(StartExplorerECODatabase(index, prompt));
  std::map<std::uint32_t, std::vector<const EcoLine*>> byKey;
  for (const EcoLine& line : eco.Table()->Lines()) {
    const std::uint32_t key = PositionKey(line.finalPosition);
    byKey[key].push_back(&line);
    const std::optional<std::uint32_t> offset = index.Lookup(key);
    ASSERT_TRUE(offset);
    EXPECT_EQ(EcoLineAtOffset(*eco.Table(), *offset), eco.Table()->FirstByPositionKey(key));
  }
  // Lines that transpose into one position (in the shipped table, an A00
  // line and a C33 line): the index gives the later line of the two.
  int pairs = 0;
  for (const auto& [key, lines] : byKey) {
    if (lines.size() < 2) continue;
    ++pairs;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(EcoLineAtOffset(*eco.Table(), *index.Lookup(key)), lines[1]) << lines[1]->code;
    EXPECT_LT(lines[0]->offset, lines[1]->offset);
  }
  EXPECT_GE(pairs, 1);
  ExplorerSources sources;
  sources.index = &index;
  sources.table = eco.Table();
  BoardSquares board = StartBoard;
  board[36] = board[52];  // e2-e4
  board[52] = 0;
  EXPECT_EQ(ExplorerViewOf(board, kBlack, sources).title, " B00 King's Pawn Game");
}

// One position with moves of both sides, counted from two games.
TEST(ExplorerData, RowsOfABuiltDatabase) {
  BoardSquares board = StartBoard;
  // White's king may castle: the squares between are empty.
  board[kF1] = board[kG1] = 0;
  const std::uint32_t key = PositionKey(board, kWhite);
  BoardSquares castled = board;
  castled[kG1] = castled[kE1];
  castled[kE1] = 0;
  castled[kF1] = castled[kH1];
  castled[kH1] = 0;
  const std::uint32_t afterCastling = PositionKey(castled, kBlack);
  const std::uint16_t castling = static_cast<std::uint16_t>(kE1 | kG1 << 6 | kStoredMoveCheck);
  const std::uint16_t blackMove = static_cast<std::uint16_t>(12 | 28 << 6);  // e7-e5: not White's piece
  StatsBuilder builder;
  std::vector<std::uint64_t> game1 = {PositionFact(key, castling), PositionFact(key, blackMove),
                                      PositionFact(key, kReachedMark), PositionFact(afterCastling, kReachedMark)};
  std::sort(game1.begin(), game1.end());
  builder.AddGame(game1, GameOutcome::kWhiteWins);
  builder.AddGame(game1, GameOutcome::kDraw);
  std::vector<std::uint64_t> game3 = {PositionFact(afterCastling, kReachedMark)};
  builder.AddGame(game3, GameOutcome::kBlackWins);

  std::vector<std::uint8_t> data;
  std::uint64_t wanted = 0;
  ASSERT_EQ(InflateContainer(DeflateContainer(builder.TreeBytes()), data, wanted), InflateResult::kOk);
  const ExplorerStats stats(std::move(data));
  ExplorerSources sources;
  sources.stats = &stats;
  const ExplorerView view = ExplorerViewOf(board, kWhite, sources);
  ASSERT_EQ(view.rows.size(), 2u);
  ASSERT_EQ(view.lines.size(), 1u) << "the other side's move is not shown";
  EXPECT_EQ(view.lines[0], (ExplorerCells{"O-O", "3", "33", "33", "33", ""}));
  // A position the statistics do not hold shows the single "0" row.
  EXPECT_EQ(ExplorerViewOf(StartBoard, kBlack, sources).lines,
            (std::vector<ExplorerCells>{{"0", "0", "0", "0", "0", ""}}));
}

}  // namespace
}  // namespace varnock
