#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "PgnTestGame.h"
#include "core/Fen.h"
#include "formats/PgnDiagram.h"
#include "formats/PgnWriter.h"
#include "support/SmallStack.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/MoveEntry.h"

// Counts every allocation of the test program, so that a test can tell
// whether writing allocates per move.
std::atomic<long> allocationCount{0};

void* operator new(std::size_t size) {
  ++allocationCount;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++allocationCount;
  return std::malloc(size ? size : 1);
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace varnock {
namespace {

using testing::kEmptyTags;
using testing::PgnTestGame;

PgnExportOptions Options(int format = kPgnShort, bool variations = true) {
  PgnExportOptions options = SaveExportOptions(false, false);
  options.format = format;
  options.includeVariations = variations;
  return options;
}

void Comment(PgnTestGame& g, NodeRef node, NodeStore::CommentKind kind, const std::string& text) {
  SetComment(g.tree, node, kind, text, true);
}

constexpr const char* kShuffle = "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6";

TEST(PgnMovetext, ShortFormatNumbersWhiteMovesAndBreaksAfterTwelveHalfMoves) {
  PgnTestGame g;
  g.Read("e2e4 e7e5 g1f3");
  EXPECT_EQ(g.Movetext(Options()), " 1. e4 e5 2. Nf3  *");

  PgnTestGame shuffle;
  shuffle.Read(kShuffle);
  EXPECT_EQ(shuffle.Movetext(Options()),
            " 1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 5. Nf3 Nf6 6. Ng1 Ng8\r\n 7. Nf3 Nf6  *");
  EXPECT_EQ(shuffle.Movetext(Options(kPgnLong)),
            " 1. Ng1-f3 Ng8-f6 2. Nf3-g1 Nf6-g8 3. Ng1-f3 Ng8-f6 4. Nf3-g1 Nf6-g8 5. Ng1-f3 Ng8-f6\r\n"
            " 6. Nf3-g1 Nf6-g8 7. Ng1-f3 Ng8-f6  *");
  PgnExportOptions oneLine = Options();
  oneLine.oneLine = 1;
  EXPECT_EQ(shuffle.Movetext(oneLine).find("\r\n"), std::string::npos);
}

TEST(PgnMovetext, CommentsBracesAndTheNumbersAfterThem) {
  PgnTestGame g;
  const NodeRef e4 = g.Read("e2e4");
  const NodeRef e5 = g.Read("e7e5");
  g.Read("g1f3");
  Comment(g, g.tree.root, NodeStore::kAfter, "Game {1}");
  Comment(g, e4, NodeStore::kAfter, "best by test");
  Comment(g, e5, NodeStore::kAfter, "also good");
  EXPECT_EQ(g.Movetext(Options()), " {Game [1]}\r\n 1. e4 {best by test}\r\n 1... e5 {also good}\r\n 2. Nf3  *");
  PgnExportOptions oneLine = Options();
  oneLine.oneLine = 1;
  EXPECT_EQ(g.Movetext(oneLine), " {Game [1]} 1. e4 {best by test} 1... e5 {also good} 2. Nf3  *");
}

TEST(PgnMovetext, VariationsNestInCreationOrderWithABeforeMoveComment) {
  PgnTestGame g;
  const NodeRef e4 = g.Read("e2e4");
  g.Read("e7e5 g1f3");
  const NodeRef c5 = g.Alternative(e4, "c7c5 g1f3");
  g.Alternative(c5, "c2c3");
  const NodeRef e6 = g.Alternative(e4, "e7e6");
  Comment(g, e6, NodeStore::kBefore, "French");
  EXPECT_EQ(g.Movetext(Options()), " 1. e4 e5 ( 1... c5 2. Nf3 ( 2. c3 ) ) ( {French}\r\n 1... e6 ) 2. Nf3  *");
  EXPECT_EQ(g.Movetext(Options(kPgnShort, false)), " 1. e4 e5 2. Nf3  *");

  PgnTestGame first;  // alternatives to the first move hang off the root
  first.Read("e2e4 e7e5");
  first.Alternative(first.tree.root, "d2d4");
  EXPECT_EQ(first.Movetext(Options()), " 1. e4 ( 1. d4 ) 1... e5  *");
}

TEST(PgnMovetext, ResultTokens) {
  PgnTestGame g;
  const NodeRef mate = g.Read("f2f3 e7e5 g2g4 d8h4");
  g.store.SetResult(mate, 2);
  EXPECT_EQ(g.Written(Options()), std::string(kEmptyTags) + "\r\n 1. f3 e5 2. g4 Qh4+ 0-1 \r\n\r\n");
  g.store.SetResult(mate, 3);
  EXPECT_EQ(g.Movetext(Options()), " 1. f3 e5 2. g4 Qh4+ 1/2-1/2 ");
  // Inside a variation, or with moves after it, a result token would end the
  // game for other readers: with the escape lines the mark is a line of its
  // own, without them it is not written; the main line still ends with "*".
  g.store.SetResult(mate, 0);
  g.store.SetResult(g.Alternative(g.Ply(3), "d8g5"), 1);
  g.store.SetResult(g.Ply(1), 2);
  EXPECT_EQ(g.Movetext(Options()), " 1. f3 e5 2. g4 Qh4+ ( 2... Qg5 )  *");
  PgnExportOptions extensions = Options();
  extensions.extensions = 1;
  EXPECT_EQ(g.Movetext(extensions), " 1. f3\r\n%XR[2]\r\n 1... e5 2. g4 Qh4+ ( 2... Qg5\r\n%XR[1]\r\n )  *");
  // The game's own result follows the variations of its last move.
  g.store.SetResult(mate, 3);
  EXPECT_EQ(g.Movetext(Options()), " 1. f3 e5 2. g4 Qh4+ ( 2... Qg5 ) 1/2-1/2 ");
  PgnExportOptions oneLine = extensions;
  oneLine.oneLine = 1;
  Comment(g, g.Ply(1), NodeStore::kAfter, "x");
  EXPECT_EQ(g.Movetext(oneLine), " 1. f3 {x}\r\n%XR[2]\r\n 1... e5 2. g4 Qh4+ ( 2... Qg5\r\n%XR[1]\r\n ) 1/2-1/2 ");
}

TEST(PgnMovetext, ResultOfAGameWithoutMovesIsKept) {
  PgnTestGame g;
  g.store.SetResult(g.tree.root, 1);
  EXPECT_EQ(g.Movetext(Options()), " 1-0 ");
}

TEST(PgnMovetext, RatingsAndAssessmentsAsNagsOrSymbols) {
  PgnTestGame g;
  const NodeRef e4 = g.Read("e2e4");
  const NodeRef e5 = g.Read("e7e5");
  g.store.SetRating(e4, 1);
  g.store.SetAssessment(e4, 4);
  g.store.SetRating(e5, 6);
  EXPECT_EQ(g.Movetext(Options()), " 1. e4 $1 $14 e5 $6  *");
  PgnExportOptions symbols = Options();
  symbols.symbols = 1;
  EXPECT_EQ(g.Movetext(symbols), " 1. e4 !  +/=  e5 ?!  *");

  const char* nags[] = {"", " $1", " $3", " $2", " $4", " $5", " $6"};
  const char* marks[] = {"", " ! ", " !!", " ? ", " ??", " !?", " ?!"};
  for (std::uint8_t rating = 1; rating <= 6; ++rating) {
    g.store.SetRating(e4, rating);
    g.store.SetAssessment(e4, 0);
    g.store.SetRating(e5, 0);
    EXPECT_EQ(g.Movetext(Options()), std::string(" 1. e4") + nags[rating] + " e5  *");
    EXPECT_EQ(g.Movetext(symbols), std::string(" 1. e4") + marks[rating] + " e5  *");
  }
  const char* assessmentNags[] = {"", " $17", " $15", " $11", " $14", " $16"};
  const char* assessmentMarks[] = {"", " -/+ ", " =/+ ", " = ", " +/= ", " +/- "};
  g.store.SetRating(e4, 0);
  for (std::uint8_t assessment = 1; assessment <= 5; ++assessment) {
    g.store.SetAssessment(e4, assessment);
    EXPECT_EQ(g.Movetext(Options()), std::string(" 1. e4") + assessmentNags[assessment] + " e5  *");
    EXPECT_EQ(g.Movetext(symbols), std::string(" 1. e4") + assessmentMarks[assessment] + " e5  *");
  }
}

TEST(PgnMovetext, ColumnedMainLineUsesSixCharacterFields) {
  PgnTestGame g;
  const NodeRef e4 = g.Read("e2e4");
  const NodeRef e5 = g.Read("e7e5");
  const NodeRef nf3 = g.Read("g1f3");
  g.Alternative(e4, "c7c5 g1f3");
  g.store.SetRating(nf3, 1);
  Comment(g, e5, NodeStore::kAfter, "Open");
  g.store.SetResult(nf3, 1);
  EXPECT_EQ(g.Movetext(Options(kPgnShortColumned)),
            "\r\n     1.      e4      "
            "      e5      "
            "\r\n\r\n {Open}\r\n"
            "\r\n\r\n ( 1... c5 2. Nf3 )\r\n"
            "\r\n     2.     Nf3    $1"
            "\r\n            1-0\r\n");
  // A Black move after a comment is numbered in its column.
  g.store.SetResult(nf3, 0);
  Comment(g, e4, NodeStore::kAfter, "x");
  EXPECT_EQ(g.Movetext(Options(kPgnLongColumned, false)),
            "\r\n     1.   e2-e4      \r\n\r\n {x}\r\n"
            "\r\n     1..." +
                std::string(14, ' ') + " e7-e5      \r\n\r\n {Open}\r\n" + "\r\n     2.  Ng1-f3    $1  *");
}

TEST(PgnMovetext, ColumnedPromotionAndCheckKeepTheirColumns) {
  PgnTestGame g;
  g.SetUpRoot("7k/4P3/8/8/8/8/8/4K3 w - - 0 40");
  const NodeRef queen = g.Read("e7e8q");
  g.Read("h8h7");
  g.store.SetAssessment(queen, 5);
  const std::string blackMove = "  ", emptyTail = "      ", noResult = "  *";
  EXPECT_EQ(g.Movetext(Options(kPgnShortColumned)),
            "\r\n    40.  " + std::string("    e8") + "=Q+ $16" + blackMove + "   Kh7" + emptyTail + noResult);
  EXPECT_EQ(g.Movetext(Options(kPgnLongColumned)),
            "\r\n    40.  " + std::string(" e7-e8") + "=Q+ $16" + blackMove + "Kh8-h7" + emptyTail + noResult);
  EXPECT_EQ(g.Movetext(Options()), " 40. e8=Q+ $16 Kh7  *");
}

TEST(PgnMovetext, NumbersContinueFromASetUpPosition) {
  PgnTestGame g;
  g.SetUpRoot("4k3/8/8/8/8/8/4P3/4K3 b - - 0 30");
  g.Read("e8d7 e2e4 d7d6");
  EXPECT_EQ(g.Movetext(Options()), " 30... Kd7 31. e4 Kd6  *");
}

TEST(PgnMovetext, LineEndsAfterAnIrregularMoveOrASetUpPositionButNotAfterAPass) {
  PgnTestGame pass;
  pass.Read("e2e4 a8a8 g1f3");
  EXPECT_EQ(pass.Movetext(Options()), " 1. e4 -- 2. Nf3  *");

  PgnTestGame irregular;
  irregular.Read("e2e4 e7e5 g1f3");
  irregular.tree.Node(irregular.Ply(2)).Set2(kFlag2Irregular, true);
  EXPECT_EQ(irregular.Movetext(Options()), " 1. e4 --  *");

  PgnTestGame composed;
  composed.Read("e2e4");
  FENExtras position;
  ASSERT_FALSE(ParseFEN("4k3/8/8/8/8/8/8/4K3 b - - 0 7", position).rejected);
  AddComposedNode(composed.tree, position, EntryMode::Reading, nullptr);
  composed.Read("e8d7");
  EXPECT_EQ(composed.Movetext(Options()), " 1. e4 --  *");
  composed.store.SetResult(composed.tree.current, 2);  // beyond the cut: not written
  EXPECT_EQ(composed.Movetext(Options()), " 1. e4 --  *");
}

TEST(PgnMovetext, EscapeLinesCarryTheMarksOnLinesOfTheirOwn) {
  PgnTestGame g;
  const NodeRef e4 = g.Read("e2e4");
  const NodeRef e5 = g.Read("e7e5");
  g.tree.Node(e4).Set(kFlagDiagram, true);
  SetBookmark(g.tree, e4, 2);
  g.tree.storeSlots[3] = e4;
  g.tree.Node(e4).Set2(kFlag2Stored, true);
  g.tree.primary = e4;
  SetBookmark(g.tree, g.tree.root, 5);
  g.tree.storeSlots[0] = g.tree.root;
  Comment(g, e5, NodeStore::kAfter, "c");
  PgnExportOptions options = Options();
  EXPECT_EQ(g.Movetext(options), " 1. e4 e5 {c}\r\n  *");

  options.extensions = 1;
  std::string diagram;
  BoardSquares afterE4 = StartBoard;
  std::swap(afterE4[static_cast<std::size_t>(SquareAt(4, 6))], afterE4[static_cast<std::size_t>(SquareAt(4, 4))]);
  AppendPgnDiagram(diagram, afterE4, false);
  EXPECT_EQ(g.Movetext(options),
            "%BM[5]\r\n%XN[0]\r\n 1. e4\r\n%FG[]\r\n" + diagram + "%BM[2]\r\n%XN[3]\r\n%XP[]\r\n 1... e5 {c}\r\n  *");
  EXPECT_EQ(g.Written(options).substr(kEmptyTags.size()),
            "\r\n%AP[Varnock:17 Portable]\r\n" + g.Movetext(options) + "\r\n\r\n");
}

TEST(PgnDiagram, TenLinesWithPieceInitialsAndSquareColours) {
  std::string out;
  AppendPgnDiagram(out, StartBoard, false);
  EXPECT_EQ(out,
            "%   -----------------\r\n"
            "%  | r n b q k b n r | \r\n"
            "%  | p p p p p p p p | \r\n"
            "%  |   -   -   -   - | \r\n"
            "%  | -   -   -   -   | \r\n"
            "%  |   -   -   -   - | \r\n"
            "%  | -   -   -   -   | \r\n"
            "%  | P P P P P P P P | \r\n"
            "%  | R N B Q K B N R | \r\n"
            "%   -----------------\r\n");
  out.clear();
  AppendPgnDiagram(out, StartBoard, true, "KDTLSB");
  EXPECT_EQ(out.substr(0, 73),
            "%   -----------------\r\n"
            "%  | T S L K D L S T | \r\n"
            "%  | B B B B B B B B | \r\n");
  EXPECT_NE(out.find("%  | t s l k d l s t | \r\n%   -----------------\r\n"), std::string::npos);
}

TEST(PgnMovetext, RootDiagramFollowsTheGamesFlippedFlag) {
  PgnTestGame g;
  g.tree.Node(g.tree.root).Set(kFlagDiagram, true);
  g.game.flipped = true;
  PgnExportOptions options = Options();
  options.extensions = 1;
  std::string diagram;
  AppendPgnDiagram(diagram, StartBoard, true);
  EXPECT_EQ(g.Movetext(options), "%FG[]\r\n" + diagram + "  *");
}

TEST(PgnMovetext, WritingAllocatesNothingPerMove) {
  PgnTestGame g;
  for (int i = 0; i < 25; ++i) g.Read("g1f3 g8f6 f3g1 f6g8");  // 100 plies
  const NodeRef branch = g.Ply(50);
  g.Alternative(branch, "b1c3 b8c6");
  SetComment(g.tree, g.Ply(60), NodeStore::kAfter, "a comment long enough to live outside the string object", true);
  g.store.SetRating(g.Ply(70), 3);
  PgnExportOptions options = Options(kPgnLongColumned);
  options.extensions = 1;
  std::string out;
  out.reserve(1 << 16);
  int movesOnLine = 0;
  WritePgnMovetext(g.game, out, g.tree.root, movesOnLine, options);  // warms up any reused scratch space
  out.clear();
  const long before = allocationCount;
  WritePgnMovetext(g.game, out, g.tree.root, movesOnLine, options);
  EXPECT_LE(allocationCount - before, 4);  // the walk's stack, not one per move
  EXPECT_NE(out.find("Ng8-f6"), std::string::npos);
}

using varnock::testing::RunOnSmallStack;

// Ten thousand variations, each nested in the one before: 1. h3 (1. Nf3 h6
// (1... Nf6 2. h3 (2. Ng1 ...
TEST(PgnMovetext, DeeplyNestedVariationsAreWrittenWithoutRecursion) {
  constexpr int kDepth = 10000;
  const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  PgnTestGame g;
  NodeRef at = g.tree.root;
  g.Read("h2h3");
  for (int level = 0; level < kDepth; ++level) {
    const bool whiteNext = level % 2 == 1;  // the side to move after this level's first move
    at = g.Alternative(at, std::string(shuffle[level % 4]) + (whiteNext ? " h2h3" : " h7h6"));
    ASSERT_NE(at, kNoNode);
  }
  // A small stack, so that a walk recursing once per level would overflow it.
  std::string text;
  RunOnSmallStack([&] { text = g.Movetext(Options()); });
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '(')), kDepth);
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), ')')), kDepth);
  EXPECT_TRUE(text.starts_with(" 1. h3 ( 1. Nf3 h6 ( 1... Nf6 2. h3 ( 2. Ng1 h6 ( 2... Ng8 3. h3 ("));
  EXPECT_TRUE(text.ends_with(" ) )  *"));
  std::string joined;  // the text without its line breaks
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text.compare(i, 2, "\r\n") == 0)
      ++i;
    else
      joined += text[i];
  EXPECT_NE(joined.find(" ( 2500. Ng1 h6 ( 2500... Ng8 2501. h3 ( 2501. Nf3 h6 ("), std::string::npos);
  EXPECT_NE(joined.find(" ( 5000. Ng1 h6 ( 5000... Ng8 5001. h3 ) ) )"), std::string::npos);
}

}  // namespace
}  // namespace varnock
