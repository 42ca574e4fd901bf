// Reading ECH text: property forms, modes and the error reports.
#include <gtest/gtest.h>

#include "core/Fen.h"
#include "support/EchTesting.h"
#include "tree/Bookmarks.h"
#include "tree/Positions.h"

namespace varnock {
namespace {

using namespace varnock::testing;

int Sq(const char* name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

NodeRef Ply(const GameTree& game, int plies) {
  NodeRef at = game.root;
  for (int i = 0; i < plies && at != kNoNode; ++i) at = game.Node(at).next;
  return at;
}

TEST(EchReader, MoveOfTheOtherColourEntersAPassFirst) {
  NodeStore store;
  EchLoad load(store, "(\r\nGM[Chess]\r\n\r\nW[e2e4] W[d2d4]\r\n)\r\n");
  GameTree& game = load.games.at(0)->Tree();
  const MoveNode& pass = game.Node(Ply(game, 2));
  EXPECT_EQ(pass.From(), kA8);
  EXPECT_EQ(pass.To(), kA8);
  EXPECT_EQ(pass.Mover(), kBlack);
  EXPECT_TRUE(pass.Has2(kFlag2Irregular));
  EXPECT_EQ(game.Node(Ply(game, 3)).From(), Sq("d2"));
  EXPECT_EQ(game.current, Ply(game, 3));
  EXPECT_EQ(game.primary, game.current);
}

TEST(EchReader, PromotionInEveryForm) {
  NodeStore store;
  for (const char* value : {"e2e1=Q", "e2e1Q", "e 2 e1 = Q", "e2e1q", "e2e1=N"}) {
    EchLoad load(store, std::string("(\r\nFN[4k3/8/8/8/8/8/4p3/K7 b - - 0 1]\r\nB[") + value + "])");
    GameTree& game = load.games.at(0)->Tree();
    const NodeRef move = Ply(game, 1);
    ASSERT_NE(move, kNoNode) << value;
    EXPECT_EQ(game.Node(move).Kind(), kPromotion) << value;
    const std::uint8_t piece = value[std::string_view(value).size() - 1] == 'N' ? kKnight : kQueen;
    EXPECT_EQ(BoardAt(store, move)[static_cast<std::size_t>(Sq("e1"))], piece | kBlack) << value;
  }
}

TEST(EchReader, TextValuesAndMarks) {
  NodeStore store;
  EchLoad load(store,
               "(\r\nGM[Chess]\r\nPW[x\\]y\\\\z]\r\nAN[]\r\n\r\n"
               "W[e2e4]\r\nC[a\nb\r\r\nc]\r\nXG[=+]\r\nXG[??]\r\nBM[]\r\n"
               "B[e7e5]\r\nXG[+=]\r\nXG[!]\r\nBM[5]\r\nXN[3]\r\nC0[]\r\nC[ ]\r\n"
               "W[g1f3]\r\nXG[-+]\r\nBM[0]\r\nXN[12]\r\nRS[1/2-1/2 ]\r\n"
               "B[b8c6]\r\nXG[+-]\r\nXG[?!]\r\nIR[]\r\nFG[]\r\nRS[0-1]\r\n"
               "W[f1b5]\r\nXG[-/+]\r\nXG[nonsense]\r\nRS[draw]\r\n)");
  SGridFrame& frame = *load.games.at(0);
  EXPECT_EQ(frame.header.Get(HeaderField::White), "x]y\\z");
  GameTree& game = frame.Tree();
  NodeStore& s = game.Store();
  const NodeRef e4 = Ply(game, 1), e5 = Ply(game, 2), nf3 = Ply(game, 3), nc6 = Ply(game, 4), bb5 = Ply(game, 5);
  ASSERT_NE(bb5, kNoNode);
  EXPECT_EQ(*s.Comment(e4, NodeStore::kAfter), "a\r\nb\r\nc");
  EXPECT_EQ(s.Comment(e5, NodeStore::kBefore), nullptr);
  EXPECT_EQ(s.Comment(e5, NodeStore::kAfter), nullptr);  // only white space
  // Each XG value names one kind of mark and leaves the other alone.
  EXPECT_EQ(s.AssessmentOf(e4), 2);
  EXPECT_EQ(s.RatingOf(e4), 4);
  EXPECT_EQ(s.AssessmentOf(e5), 4);
  EXPECT_EQ(s.RatingOf(e5), 1);
  EXPECT_EQ(s.AssessmentOf(nf3), 1);
  EXPECT_EQ(s.AssessmentOf(nc6), 5);
  EXPECT_EQ(s.RatingOf(nc6), 6);
  EXPECT_EQ(s.AssessmentOf(bb5), 1);
  EXPECT_EQ(s.RatingOf(bb5), 0);
  EXPECT_EQ(BookmarkOf(game, e4), 1);
  EXPECT_EQ(BookmarkOf(game, e5), 5);
  EXPECT_EQ(BookmarkOf(game, nf3), 6);
  EXPECT_EQ(StoreNumberOf(game, e5), 3);
  EXPECT_FALSE(game.Node(nf3).Has2(kFlag2Stored));
  EXPECT_EQ(s.ResultOf(nf3), 3);
  EXPECT_EQ(s.ResultOf(nc6), 2);
  EXPECT_EQ(s.ResultOf(bb5), 0);
  EXPECT_TRUE(game.Node(nc6).Has2(kFlag2Irregular));
  EXPECT_TRUE(game.Node(nc6).Has(kFlagDiagram));
}

TEST(EchReader, TextEndingInsideAValueOrAGame) {
  NodeStore store;
  EchLoad value(store, "(\r\nGM[Chess]\r\nPW[Anand]\r\nPB[Carl");
  ASSERT_EQ(value.games.size(), 1u);
  EXPECT_EQ(value.games[0]->header.Get(HeaderField::White), "Anand");
  EXPECT_EQ(value.games[0]->header.Get(HeaderField::Black), "");

  // Inside a variation: what was read stays, and the root's line is active.
  EchLoad variation(store, "(\r\nW[e2e4] B[e7e5]\r\n(\r\nW[g1f3]\r\n)\r\n(\r\nW[f1c4] B[f8");
  GameTree& game = variation.games.at(0)->Tree();
  EXPECT_EQ(game.current, Ply(game, 3));
  EXPECT_EQ(game.lineEnd, Ply(game, 3));
  EXPECT_EQ(game.activeLine, game.rootLine);
  EXPECT_TRUE(game.Node(Ply(game, 2)).Has(kFlagBranch));
  EXPECT_EQ(variation.errors.Messages().size(), 0u);
}

TEST(EchReader, ScanReadsHeadersAndTheMarkedGame) {
  NodeStore store;
  const std::string first = "(\r\nGM[Chess]\r\nPW[One]\r\n\r\nW[e2e4]\r\n)";
  const std::string second = "(\r\nGM[Chess]\r\nPW[Two]\r\n\r\nC[root]\r\n\r\nW[d2d4] B[d7d5]\r\n)";
  const std::string third = "(\r\nGM[Chess]\r\nPW[Three]\r\nXS[]\r\n\r\nW[c2c4]\r\n)";
  EchLoad load(store, first + "\r\n\r\n" + second + "\r\n\r\n" + third + "\r\n\r\n junk ");
  // "junk" holds a property name, so it reads as a fourth (empty) game.
  ASSERT_EQ(load.games.size(), 4u);
  EXPECT_EQ(load.markedGame, 2);

  SGridFrame& scanned = *load.games[1];
  EXPECT_FALSE(scanned.loaded);
  EXPECT_FALSE(scanned.HasTree());
  EXPECT_EQ(scanned.header.Get(HeaderField::White), "Two");
  EXPECT_EQ(scanned.headerLength, second.find("W[d2d4]"));
  EXPECT_EQ(scanned.textLength, second.size());

  SGridFrame& marked = *load.games[2];
  EXPECT_TRUE(marked.loaded);
  EXPECT_EQ(marked.Tree().Node(Ply(marked.Tree(), 1)).From(), Sq("c2"));

  // Rereading reads the moves and leaves the header alone.
  scanned.header.Set(HeaderField::White, "Edited");
  load.source.gameNumber = 2;
  std::size_t cursor = scanned.textOffset;
  bool isMarked = true;
  ASSERT_EQ(ReadEchGame(scanned, ReadMode::Reread, load.source, cursor, isMarked), 1);
  EXPECT_FALSE(isMarked);
  EXPECT_EQ(cursor, scanned.textOffset + scanned.textLength);
  EXPECT_TRUE(scanned.loaded);
  EXPECT_EQ(scanned.header.Get(HeaderField::White), "Edited");
  GameTree& game = scanned.Tree();
  EXPECT_EQ(*game.Store().Comment(game.root, NodeStore::kAfter), "root");
  EXPECT_EQ(game.Node(Ply(game, 2)).To(), Sq("d5"));
  EXPECT_EQ(game.current, Ply(game, 2));
}

TEST(EchReader, MarkMetAfterSkippedMovesReadsTheGameAgain) {
  NodeStore store;
  const std::string second = "(\r\nFN[4k3/8/8/8/8/8/8/4K3 w KQ - 0 1]\r\n\r\nW[e1e2]\r\nB[e8e7]\r\nXS[]\r\n)";
  EchLoad load(store, "(\r\nW[e2e4])\r\n" + second);
  ASSERT_EQ(load.games.size(), 2u);
  EXPECT_EQ(load.markedGame, 1);
  SGridFrame& marked = *load.games[1];
  EXPECT_TRUE(marked.loaded);
  EXPECT_EQ(marked.Tree().Node(Ply(marked.Tree(), 2)).To(), Sq("e7"));
  // The FEN warning was reported once, by the scan.
  ASSERT_EQ(load.errors.Messages().size(), 2u);
  EXPECT_EQ(load.errors.Messages()[1].substr(0, 9), "Warning.\r");
}

TEST(EchReader, TrailingTextWithoutPropertiesEndsTheFile) {
  NodeStore store;
  const std::string game = "(\r\nGM[Chess]\r\n\r\nW[e2e4]\r\n)";
  const std::string tail = "\r\n ( ) ; \\ [ ] \r\n\t";
  EchLoad load(store, game + tail);
  EXPECT_EQ(load.games.size(), 1u);
  EXPECT_TRUE(load.errors.Empty());

  SGridFrame untouched(store);
  std::size_t cursor = game.size();
  bool marked = false;
  EXPECT_EQ(ReadEchGame(untouched, ReadMode::Full, load.source, cursor, marked), 0);
  EXPECT_EQ(cursor, game.size());
  EXPECT_FALSE(untouched.HasTree());
}

TEST(EchReader, RefusedMoveTruncatesItsSubTree) {
  NodeStore store;
  const std::string second =
      "(\r\nGM[Chess]\r\n\r\nW[e2e4]\r\n(\r\nB[e7e5] W[z1f3] B[b8c6]\r\n(\r\nW[f1c4]\r\n)\r\n)\r\n"
      "(\r\nB[c7c5] W[g1f3]\r\n))";
  EchLoad load(store, "(\r\nW[d2d4]\r\n)\r\n\r\n" + second, ReadMode::Full, ReadMode::Full);
  ASSERT_EQ(load.games.size(), 2u);
  ASSERT_EQ(load.errors.Messages().size(), 2u);
  EXPECT_EQ(load.errors.Messages()[0], "\r\ngames.ech");
  EXPECT_EQ(load.errors.Messages()[1],
            "Error in game number 2 of the ECH collection, on line number 10.\r\nThe following move caused the "
            "error.\r\n\r\nW[z1f3]\r\n\r\nThe game branch was truncated at this point.");
  EXPECT_EQ(load.errors.GameNumbers(), std::set<int>{2});

  GameTree& game = load.games[1]->Tree();
  const NodeRef e4 = Ply(game, 1);
  EXPECT_EQ(Ply(game, 3), kNoNode);
  EXPECT_EQ(game.current, Ply(game, 2));
  const auto* alternatives = game.Store().Alternatives(e4);
  ASSERT_NE(alternatives, nullptr);
  ASSERT_EQ(alternatives->size(), 1u);
  const NodeRef c5 = alternatives->front()->first;
  EXPECT_EQ(game.Node(c5).To(), Sq("c5"));
  EXPECT_EQ(game.Node(game.Node(c5).next).To(), Sq("f3"));
}

TEST(EchReader, FenReports) {
  NodeStore store;
  // A fatal error: no move is read, the header is kept.
  const std::string padding(120, 'x');
  const std::string fatal = "(\r\nGM[Chess]\r\nGC[" + padding + "]\r\nPW[Someone]\r\nFN[8/8/8/8/8/8/8/Kk6 w - - 0 1]" +
                            "\r\n\r\nW[e2e4]\r\nXS[]\r\n)";
  EchLoad bad(store, fatal);
  ASSERT_EQ(bad.errors.Messages().size(), 2u);
  const std::size_t at = fatal.find("FN[");
  EXPECT_EQ(bad.errors.Messages()[1],
            "Error in game number 1 of the collection, on line number 5.\r\nThe FEN string is invalid.\r\n"
            "( Kings may not touch. ).\r\n\r\nThe error occurred within the following extract from the file.\r\n\r\n" +
                fatal.substr(at - 90, 180) + "\r\n\r\nThe game branch was truncated at this point.");
  SGridFrame& game = *bad.games.at(0);
  EXPECT_EQ(game.header.Get(HeaderField::White), "Someone");
  EXPECT_EQ(game.Tree().Node(game.Tree().root).next, kNoNode);
  EXPECT_EQ(bad.markedGame, 0);

  // A warning: the position is used.
  const std::string warned = "(\r\nFN[4k3/8/8/8/8/8/8/4K3 w KQ - 0 1]\r\nW[e1d2])";
  EchLoad warning(store, warned);
  ASSERT_EQ(warning.errors.Messages().size(), 2u);
  EXPECT_EQ(warning.errors.Messages()[1],
            "Warning.\r\nError in game number 1 of the collection, on line number 2.\r\nThe FEN string is invalid.\r\n"
            "( Invalid castling.  White may not castle queen side. ).\r\n\r\nThe error occurred within the "
            "following extract from the file.\r\n\r\n" +
                warned);
  GameTree& used = warning.games.at(0)->Tree();
  EXPECT_TRUE(used.Node(used.root).Has(kFlagComposed));
  EXPECT_EQ(used.Node(Ply(used, 1)).To(), Sq("d2"));

  // A fatal error inside a line truncates that line; rereading names no file.
  EchLoad inside(store, "(\r\nW[e2e4]\r\nFN[8/8/8 w - - 0 1]\r\nB[e7e5])", ReadMode::Reread);
  ASSERT_EQ(inside.errors.Messages().size(), 2u);
  EXPECT_EQ(inside.errors.Messages()[0], "\r\n");
  EXPECT_NE(inside.errors.Messages()[1].find("( Program has counted 3 FEN lines.  Should be 8. )"), std::string::npos);
  GameTree& truncated = inside.games.at(0)->Tree();
  EXPECT_EQ(Ply(truncated, 2), kNoNode);
  EXPECT_FALSE(truncated.Node(Ply(truncated, 1)).Has(kFlagComposed));
}

TEST(EchReader, ThousandsOfOpenBracketsDoNotExhaustTheStack) {
  NodeStore store;
  constexpr int kDepth = 100000;
  const std::string text = "(\r\n" + std::string(kDepth, '(') + "W[e2e4] B[e7e5]" + std::string(kDepth + 1, ')');
  EchLoad load(store, text);
  ASSERT_EQ(load.games.size(), 1u);
  EXPECT_EQ(load.games[0]->textLength, text.size());
  GameTree& game = load.games[0]->Tree();
  EXPECT_EQ(game.Node(Ply(game, 2)).To(), Sq("e5"));
  EXPECT_EQ(Ply(game, 3), kNoNode);
  EXPECT_EQ(game.current, Ply(game, 2));
}

}  // namespace
}  // namespace varnock
