// Writing games as ECH and reading them back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/Fen.h"
#include "formats/EchWriter.h"
#include "support/EchTesting.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"

namespace varnock {
namespace {

using namespace varnock::testing;

void SetHeader(GameHeader& header) {
  const char* values[kHeaderFieldCount] = {"Carlsen, M] \\x",
                                           "Anand, V.",
                                           "Chennai",
                                           "A\\B",
                                           "1/2-1/2",
                                           "2013.11.09",
                                           "World Ch. [Game 1]",
                                           "first line\r\nsecond ] \\ line",
                                           "2013.11.07",
                                           "2870",
                                           "2775",
                                           "Reti",
                                           "A07",
                                           "1",
                                           "1",
                                           "40/7200 "};
  for (int i = 0; i < kHeaderFieldCount; ++i) header.Set(static_cast<HeaderField>(i), values[i]);
}

// A game that uses everything the format keeps.
void BuildRichGame(SGridFrame& frame) {
  SetHeader(frame.header);
  frame.flipped = true;
  GameTree& game = frame.Tree();
  NodeStore& store = game.Store();
  const NodeRef root = game.root;
  SetComment(game, root, NodeStore::kAfter, "Root comment ]\\ end", true);
  SetComment(game, root, NodeStore::kBefore, "before the game", true);
  SetBookmark(game, root, 9);
  game.Node(root).Set(kFlagDiagram, true);

  const NodeRef e4 = ReadMoves(game, "e2e4");
  const NodeRef c5 = ReadMoves(game, "c7c5");
  ReadMoves(game, "e4e5 d7d5");
  const NodeRef enPassant = ReadMoves(game, "e5d6");
  ReadMoves(game, "e7d6");
  const NodeRef nf3 = ReadMoves(game, "g1f3 b8c6");
  const NodeRef be2 = ReadMoves(game, "f1e2");
  const NodeRef nf6 = ReadMoves(game, "g8f6");
  ReadMoves(game, "e1g1 e8g8 a8a8 c8g4");
  const NodeRef composed = ReadPosition(game, "4k3/1P6/8/8/8/8/8/4K3 w - - 0 40");
  const NodeRef last = ReadMoves(game, "b7b8n e8d7");

  // Variations, nested, with a set-up position inside one.
  const NodeRef d4 = ReadAlternative(game, root, "d2d4 d7d5 c2c4");
  const NodeRef d5 = game.Node(d4).next;
  ReadOnFrom(game, game.Node(d5).next);
  ReadPosition(game, "8/8/8/4k3/8/8/8/4K2R w K - 3 50");
  ReadMoves(game, "e1g1");
  ReadAlternative(game, d4, "g8f6 c2c4 e7e6");
  const NodeRef e5 = ReadAlternative(game, e4, "e7e5 g1f3");
  const NodeRef e6 = ReadAlternative(game, e4, "e7e6 d2d4 d7d5");
  ReadAlternative(game, composed, "b7b8q e8d7");
  ReadOnFrom(game, last);

  store.SetRating(e4, 1);
  store.SetAssessment(e4, 4);
  SetComment(game, e4, NodeStore::kAfter, "Best by test", true);
  SetComment(game, e4, NodeStore::kBefore, "Here ] we \\ go\r\nnext line \\]", true);
  game.Node(c5).Set2(kFlag2Irregular, true);
  game.Node(enPassant).Set(kFlagDiagram, true);
  SetBookmark(game, enPassant, 3);
  game.storeSlots[4] = nf3;
  game.Node(nf3).Set2(kFlag2Stored, true);
  game.storeSlots[0] = be2;
  game.Node(be2).Set2(kFlag2Stored, true);
  const NodeRef french = game.Node(e6).next;
  store.SetRating(french, 5);
  SetBookmark(game, french);
  game.storeSlots[7] = french;
  game.Node(french).Set2(kFlag2Stored, true);
  store.SetAssessment(game.Node(french).next, 3);
  SetComment(game, e6, NodeStore::kBefore, "French!", true);
  store.SetResult(game.Node(e5).next, 1);
  store.SetResult(last, 3);
  store.SetResult(d5, 2);
  game.primary = french;
  game.current = nf6;
  game.changed = false;
  ShowCurrentPosition(game);
}

TEST(EchRoundTrip, RichGameKeepsEverything) {
  NodeStore store;
  SGridFrame original(store);
  BuildRichGame(original);
  const std::string text = Written(original, true);

  EchLoad load(store, text);
  ASSERT_EQ(load.games.size(), 1u);
  EXPECT_TRUE(load.errors.Empty()) << load.errors.Joined();
  EXPECT_EQ(load.markedGame, 0);
  SGridFrame& read = *load.games[0];
  EXPECT_TRUE(read.loaded);
  EXPECT_EQ(Describe(read), Describe(original));
  EXPECT_EQ(Written(read, true), text);
  EXPECT_EQ(read.textLength, text.size() - 4);                    // the game ends at its ")"
  EXPECT_EQ(text.substr(read.headerLength, 10), "(\r\nW[e2e4]");  // the root is a branch node
}

// What the save flow does with a game whose header alone changed: a new
// header, then the stored text from where the moves begin.
TEST(EchRoundTrip, NewHeaderBeforeTheStoredMoves) {
  NodeStore store;
  SGridFrame original(store);
  BuildRichGame(original);
  EchLoad load(store, Written(original, true));
  SGridFrame& read = *load.games.at(0);
  read.header.Set(HeaderField::Event, "Renamed");
  original.header.Set(HeaderField::Event, "Renamed");
  std::string text;
  WriteEchHeader(read, false, text);
  text += load.text.substr(read.headerLength, read.textLength - read.headerLength);

  EchLoad again(store, text);
  ASSERT_EQ(again.games.size(), 1u);
  EXPECT_EQ(again.markedGame, -1);
  EXPECT_EQ(Describe(*again.games[0]), Describe(original));
}

TEST(EchRoundTrip, LayoutOfMovesAndVariations) {
  NodeStore store;
  SGridFrame frame(store);
  frame.header.Set(HeaderField::White, "A");
  frame.header.Set(HeaderField::Black, "B");
  GameTree& game = frame.Tree();
  const NodeRef e4 = ReadMoves(game, "e2e4");
  const NodeRef nf3 = ReadMoves(game, "e7e5 g1f3");
  const NodeRef c5 = ReadAlternative(game, e4, "c7c5");
  SetComment(game, c5, NodeStore::kAfter, "x", true);
  game.current = game.primary = nf3;
  EXPECT_EQ(Written(frame),
            "(\r\nGM[Chess]\r\nAP[Varnock:17 Portable]\r\nPW[A]\r\nPB[B]\r\n\r\n"
            "W[e2e4]\r\n(\r\nB[e7e5] W[g1f3]\r\nXP[]\r\nXV[]\r\n)\r\n(\r\nB[c7c5]\r\nC[x]\r\n))\r\n\r\n");

  // Twelve moves stand on a line; a set-up position stands on its own line.
  SGridFrame longer(store);
  GameTree& line = longer.Tree();
  ReadMoves(line, "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3");
  ReadPosition(line, "4k3/8/8/8/8/8/8/4K3 b - - 0 9");
  ReadMoves(line, "e8e7");
  line.current = line.primary = line.root;
  const std::string text = Written(longer);
  EXPECT_NE(text.find("XP[]\r\nXV[]\r\n\r\n"
                      "W[g1f3] B[g8f6] W[f3g1] B[f6g8] W[g1f3] B[g8f6] W[f3g1] B[f6g8] W[g1f3] B[g8f6] W[f3g1] "
                      "B[f6g8]\r\nW[g1f3]\r\nFN[4k3/8/8/8/8/8/8/4K3 b - - 0 9]\r\nB[e8e7]\r\n)\r\n\r\n"),
            std::string::npos)
      << text;
}

TEST(EchRoundTrip, SetUpPositionAsFirstMoveStaysANode) {
  NodeStore store;
  SGridFrame original(store);
  GameTree& game = original.Tree();
  const NodeRef composed = ReadPosition(game, "4k3/8/8/8/8/8/8/R3K3 w Q - 0 30");
  ReadMoves(game, "e1c1");
  game.current = game.primary = composed;

  EchLoad load(store, Written(original));
  ASSERT_EQ(load.games.size(), 1u);
  GameTree& read = load.games[0]->Tree();
  // The root takes the start position, written so that the set-up stays a node.
  EXPECT_TRUE(read.Node(read.root).Has(kFlagComposed));
  const NodeRef first = read.Node(read.root).next;
  ASSERT_NE(first, kNoNode);
  EXPECT_TRUE(read.Node(first).Has(kFlagComposed));
  EXPECT_EQ(FormatFEN(read.Store().Composed(first)->board, *read.Store().Composed(first)),
            "4k3/8/8/8/8/8/8/R3K3 w Q - 0 30");
  EXPECT_EQ(read.current, first);
  EXPECT_EQ(read.Node(read.Node(first).next).Kind(), kCastling);
  EXPECT_EQ(load.games[0]->headerLength, Written(original).find("FN[4k3"));
}

TEST(EchRoundTrip, ViewedNodeInsideAVariationGivesTheLineEnd) {
  NodeStore store;
  SGridFrame original(store);
  GameTree& game = original.Tree();
  const NodeRef e4 = ReadMoves(game, "e2e4");
  const NodeRef end = ReadMoves(game, "e7e5 g1f3");
  const NodeRef c5 = ReadAlternative(game, e4, "c7c5");
  game.current = c5;
  game.primary = e4;

  EchLoad load(store, Written(original));
  GameTree& read = load.games[0]->Tree();
  EXPECT_EQ(read.current, read.lineEnd);
  EXPECT_EQ(read.Node(read.current).To(), game.Node(end).To());
}

// A main line of 10,000 moves where every move has an alternative: the
// variations nest 10,000 deep.
TEST(EchRoundTrip, VariationsNestedTenThousandDeep) {
  constexpr int kDepth = 10000;
  NodeStore store;
  SGridFrame original(store);
  GameTree& game = original.Tree();
  const char* main[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  const char* other[] = {"b1a3", "b8a6", "b1c3", "b8c6"};
  NodeRef at = game.root;
  for (int i = 0; i < kDepth; ++i) {
    ReadOnFrom(game, at);
    const NodeRef next = ReadMoves(game, main[i % 4]);
    ReadAlternative(game, at, other[i % 4]);
    at = next;
  }
  ReadOnFrom(game, at);
  game.current = game.primary = at;
  const std::string text = Written(original);
  int depth = 0, deepest = 0;
  for (char c : text) {
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    deepest = std::max(deepest, depth);
  }
  EXPECT_EQ(deepest, kDepth + 1);
  EXPECT_EQ(depth, 0);

  EchLoad load(store, text);
  ASSERT_EQ(load.games.size(), 1u);
  EXPECT_TRUE(load.errors.Empty());
  EXPECT_EQ(Written(*load.games[0]), text);
  EXPECT_EQ(Describe(*load.games[0]), Describe(original));
}

// Every prefix of a rich game's text reads without harm, in every mode.
TEST(EchRoundTrip, TruncatedAtEveryByte) {
  NodeStore store;
  SGridFrame original(store);
  BuildRichGame(original);
  const std::string text = Written(original, true);
  const std::size_t nodes = store.LiveNodes();
  for (std::size_t length = 0; length <= text.size(); ++length) {
    for (ReadMode mode : {ReadMode::Full, ReadMode::Scan, ReadMode::Reread}) {
      const std::string prefix = text.substr(0, length);
      EchReadSource source;
      source.text = prefix;
      SErrorList errors;
      source.errors = &errors;
      SGridFrame game(store);
      std::size_t cursor = 0;
      bool marked = false;
      const int found = ReadEchGame(game, mode, source, cursor, marked);
      ASSERT_LE(cursor, prefix.size());
      if (!found) continue;
      if (game.HasTree()) {
        const std::string described = Describe(game);
        EXPECT_EQ(described.find("record"), std::string::npos) << length;
        EXPECT_EQ(described.find("line end does not"), std::string::npos) << length;
      }
    }
  }
  EXPECT_EQ(store.LiveNodes(), nodes);
}

// Bytes of a rich game's text replaced by characters that matter to the
// reader: every result reads without harm.
TEST(EchRoundTrip, MangledTextReads) {
  NodeStore store;
  SGridFrame original(store);
  BuildRichGame(original);
  const std::string text = Written(original, true);
  const std::string_view special = "()[]\\;WBFNXSGCR0 e8=Q/";
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string mangled = text;
    for (int i = 0; i < 4; ++i) mangled[random() % mangled.size()] = special[random() % special.size()];
    EchLoad load(store, mangled, ReadMode::Full, ReadMode::Full);
    for (auto& game : load.games) {
      if (game->HasTree()) {
        EXPECT_EQ(Describe(*game).find("record does not"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace varnock
