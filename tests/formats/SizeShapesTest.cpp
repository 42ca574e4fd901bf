// The shapes of game that once took time growing with the square of their
// size, at the largest size the benchmark times, read, written as PGN and as
// ECH, and freed. Registered with a short CTest timeout: a guard against a
// hang, not a measure of speed (bench/size_shapes_bench.cpp measures).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "formats/EchWriter.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "support/SilentPrompt.h"
#include "support/SizeShapes.h"
#include "tree/TreeOrder.h"

namespace varnock {
namespace {

std::size_t Occurrences(const std::string& text, const std::string& word) {
  std::size_t count = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
  return count;
}

TEST(SizeShapes, TheLargestOfEachShapeIsReadWrittenAndFreed) {
  for (const testing::SizeShape& shape : testing::SizeShapes()) {
    SCOPED_TRACE(shape.name);
    const int size = shape.unit * 1000;
    const std::string text = shape.make(size);
    NodeStore store;
    SErrorList errors;
    testing::SilentPrompt prompt;
    PgnReadContext ctx;
    ctx.text = text;
    ctx.errors = &errors;
    ctx.prompt = &prompt;
    auto game = std::make_unique<SGridFrame>(store);
    ASSERT_EQ(Do_FilePGN(*game, ReadMode::Full, ctx), 1);
    EXPECT_TRUE(errors.Empty()) << errors.Joined().substr(0, 300);
    GameTree& tree = game->Tree();
    const MoveCounts counts = CountMoves(tree);

    std::string pgn, ech;
    WritePgnGame(*game, pgn, SaveExportOptions(false, true), std::nullopt);
    WriteEchGame(*game, true, ech);
    if (shape.unit == 25) {
      // A bookmark on every move, numbered as the file numbers them.
      EXPECT_EQ(counts.mainLine, static_cast<std::size_t>(size));
      ASSERT_EQ(tree.bookmarks.size(), static_cast<std::size_t>(size));
      EXPECT_EQ(tree.bookmarks.front().number, size);
      EXPECT_EQ(Occurrences(pgn, "%BM["), static_cast<std::size_t>(size));
    } else if (shape.make == testing::CommentsOnOneMove) {
      // Every comment is kept, joined to the ones before it.
      const std::string* comment = store.Comment(tree.Node(tree.root).next, NodeStore::kAfter);
      ASSERT_NE(comment, nullptr);
      EXPECT_EQ(comment->size(), static_cast<std::size_t>(size) + 4 * static_cast<std::size_t>(size - 1));
      EXPECT_GT(pgn.size(), comment->size());
    } else {
      // Every variation is written, in PGN and in ECH.
      EXPECT_EQ(counts.all,
                static_cast<std::size_t>(shape.make == testing::FirstMoveAlternatives ? size + 1 : 2 * size));
      // (The innermost variation of the nested shape is empty and dropped.)
      EXPECT_GE(Occurrences(pgn, "("), static_cast<std::size_t>(size - 1));
      EXPECT_GT(ech.size(), static_cast<std::size_t>(size) * 4);
    }
    game.reset();  // freeing the tree is part of the guard
  }
}

}  // namespace
}  // namespace varnock
