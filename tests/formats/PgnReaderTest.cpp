#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "formats/PgnReports.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"
#include "tree/Bookmarks.h"
#include "tree/Positions.h"
#include "tree/TreeOrder.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

int Sq(const char* name) { return SquareAt(name[0] - 'a', 8 - (name[1] - '0')); }

// Reads games of a text as a file load would.
struct Reading {
  NodeStore store;
  SErrorList errors;
  ScriptedPrompt prompt;
  PgnReadContext ctx;
  std::string text;
  std::vector<std::unique_ptr<SGridFrame>> games;

  explicit Reading(std::string pgn, ReadMode mode = ReadMode::Full, std::string fileName = "games.pgn")
      : text(std::move(pgn)) {
    ctx.text = text;
    ctx.errors = &errors;
    ctx.prompt = &prompt;
    ctx.fileName = std::move(fileName);
    while (true) {
      auto game = std::make_unique<SGridFrame>(store);
      if (!Do_FilePGN(*game, mode, ctx)) break;
      games.push_back(std::move(game));
    }
  }
  GameTree& Tree(std::size_t i = 0) { return games.at(i)->Tree(); }
  // The main line as coordinate moves.
  std::string MainLine(std::size_t i = 0) {
    GameTree& tree = Tree(i);
    std::string line;
    for (NodeRef at = tree.Node(tree.root).next; at != kNoNode; at = tree.Node(at).next) {
      if (!line.empty()) line += ' ';
      line += SquareName(tree.Node(at).From()) + SquareName(tree.Node(at).To());
    }
    return line;
  }
  NodeRef Ply(int plies, std::size_t i = 0) {
    GameTree& tree = Tree(i);
    NodeRef at = tree.root;
    for (int p = 0; p < plies && at != kNoNode; ++p) at = tree.Node(at).next;
    return at;
  }
};

TEST(PgnReader, WhiteSpaceOnlyReadsNothing) {
  NodeStore store;
  SGridFrame game(store);
  std::string text = " \r\n\t\n";
  PgnReadContext ctx;
  ctx.text = text;
  EXPECT_EQ(Do_FilePGN(game, ReadMode::Full, ctx), 0);
  EXPECT_EQ(ctx.cursor, 0u);
  EXPECT_EQ(ctx.gameCounter, 0);
  EXPECT_FALSE(game.HasTree());
}

TEST(PgnReader, TagsAreStoredAsReadWithUpperCasedNames) {
  Reading r(
      "[Event \"Casual\"]\n[WhiteElo \"2700\"]\n[White \"  Smith \"]\n[Black \"\"]\n[Annotator \"Me\"]\n"
      "[Opening \"Ruy Lopez\"]\n\n1. e4 e5 *\n");
  ASSERT_EQ(r.games.size(), 1u);
  const GameHeader& h = r.games[0]->header;
  EXPECT_EQ(h.Get(HeaderField::Event), "Casual");
  EXPECT_EQ(h.Get(HeaderField::WhiteELO), "2700");
  EXPECT_EQ(h.Get(HeaderField::White), "Smith ");
  EXPECT_EQ(h.Get(HeaderField::Black), "");
  EXPECT_EQ(h.Get(HeaderField::Annotator), "Me");  // the standard tag, outside the slot table
  EXPECT_EQ(h.Get(HeaderField::Opening), "Ruy Lopez");
  EXPECT_EQ(r.games[0]->headerLength, r.text.find("1. e4"));
}

// Every known name is known in any case, in the tag steps and in one stride
// (a name with a blank before it takes the steps), with blanks after it that
// make the stride look past 16 characters; names close to a known one
// (the same length and outer letters, one letter more or less, a byte that
// differs from a letter by the case bit alone) are not.
TEST(PgnReader, TagNamesAreKnownWhateverTheirCase) {
  const std::vector<std::pair<std::string, HeaderField>> known = {
      {"Black", HeaderField::Black},       {"White", HeaderField::White},
      {"Site", HeaderField::Site},         {"EventDate", HeaderField::EventDate},
      {"Result", HeaderField::Result},     {"Date", HeaderField::Date},
      {"Event", HeaderField::Event},       {"Round", HeaderField::Round},
      {"Opening", HeaderField::Opening},   {"ECO", HeaderField::ECO},
      {"BlackElo", HeaderField::BlackELO}, {"WhiteElo", HeaderField::WhiteELO},
      {"Board", HeaderField::Board},       {"TimeControl", HeaderField::TimeControl}};
  for (const auto& [name, field] : known) {
    std::string lower = name, upper = name, mixed = name;
    for (std::size_t i = 0; i < name.size(); ++i) {
      lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
      upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
      mixed[i] = i % 2 ? lower[i] : upper[i];
    }
    for (const std::string& written : {lower, upper, mixed, " " + mixed, mixed + std::string(20, ' ')}) {
      SCOPED_TRACE(written);
      Reading r("[" + written + " \"v\"]\n\n1. e4 *\n");
      ASSERT_EQ(r.games.size(), 1u);
      EXPECT_EQ(r.games[0]->header.Get(field), "v");
    }
  }
  for (const std::string name :
       {"Blank", "Bla\x03k", "BLAC", "Blacks", "Whitw", "W", "WhiteEloo", "Fen2", "Ecco", "TimeControlTimeControl"}) {
    SCOPED_TRACE(name);
    Reading r("[" + name + " \"v\"]\n\n1. e4 *\n");
    ASSERT_EQ(r.games.size(), 1u);
    for (int field = 0; field < kHeaderFieldCount; ++field)
      EXPECT_EQ(r.games[0]->header.Get(static_cast<HeaderField>(field)), "");
  }
  // "FEN" in any case sets the position up, in a reread too.
  for (const char* name : {"fen", "Fen", "fEN"}) {
    for (ReadMode mode : {ReadMode::Full, ReadMode::Reread}) {
      Reading r(std::string("[") + name + " \"4k3/8/8/8/8/8/8/4K2R b K - 0 30\"]\n30... Kd7 31. O-O *", mode);
      ASSERT_EQ(r.games.size(), 1u);
      EXPECT_TRUE(r.Tree().Node(r.Tree().root).Has(kFlagComposed)) << name;
      EXPECT_EQ(r.MainLine(), "e8d7 e1g1") << name;
    }
  }
}

TEST(PgnReader, AGameWithoutTags) {
  Reading r("1. d4 d5 2. c4 *");
  ASSERT_EQ(r.games.size(), 1u);
  EXPECT_TRUE(r.games[0]->header.Empty());
  EXPECT_EQ(r.MainLine(), "d2d4 d7d5 c2c4");  // the last token ends with the text
}

TEST(PgnReader, MoveNumbersCastlingPromotionAndEnPassant) {
  Reading r("12.e4 12...e5 13. Nf3 Nc6 14.Bc4 Bc5 15.0-0 Nf6 16.O-O-O *");
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 e1g1 g8f6");
  EXPECT_EQ(r.errors.Messages().size(), 2u);  // "\r\n" + the file name, then the report
  Reading queenSide("[FEN \"r3k3/3p4/8/8/8/8/3P4/R3K3 w Qq - 0 1\"]\n1. 000 O-O-O *");
  EXPECT_EQ(queenSide.MainLine(), "e1c1 e8c8");

  Reading promotions(
      "[FEN \"8/P3k3/8/8/8/8/4K1p1/8 w - - 0 1\"]\n1. a8 g1=N+ 2. Ke3 Ke6 *\n\n"
      "[FEN \"8/P3k3/8/8/8/8/4K1p1/8 w - - 0 1\"]\n1. a8N g1K 2. Ke3 Ke6 *\n");
  GameTree& queen = promotions.Tree(0);
  EXPECT_EQ(BoardAt(queen.Store(), promotions.Ply(1, 0))[Sq("a8")], kQueen | kWhite);
  EXPECT_EQ(BoardAt(queen.Store(), promotions.Ply(2, 0))[Sq("g1")], kKnight | kBlack);
  EXPECT_EQ(BoardAt(queen.Store(), promotions.Ply(1, 1))[Sq("a8")], kKnight | kWhite);
  EXPECT_EQ(BoardAt(queen.Store(), promotions.Ply(2, 1))[Sq("g1")], kKnight | kBlack);

  Reading ep("1. e4 Nf6 2. e5 d5 3. exd6ep *");
  EXPECT_EQ(ep.MainLine(), "e2e4 g8f6 e4e5 d7d5 e5d6");
  EXPECT_EQ(ep.Tree().Node(ep.Ply(5)).Kind(), kEnPassant);
}

TEST(PgnReader, PassesAndIgnoredTokens) {
  Reading r("1. e4 -- 2. d4 --+ e5 N *");
  EXPECT_EQ(r.MainLine(), "e2e4 a8a8 d2d4 e7e5");
  EXPECT_TRUE(r.Tree().Node(r.Ply(2)).Has2(kFlag2Irregular));
}

TEST(PgnReader, RatingsAssessmentsAndResults) {
  Reading r("1. e4!? e5 $14 2. Nf3 $13 Nc6 ?! 3. Bb5 +/- a6 -/+ 1-0");
  NodeStore& s = r.Tree().Store();
  EXPECT_EQ(s.RatingOf(r.Ply(1)), 5);
  EXPECT_EQ(s.AssessmentOf(r.Ply(2)), 4);
  EXPECT_EQ(s.RatingOf(r.Ply(3)), 0);
  EXPECT_EQ(s.AssessmentOf(r.Ply(3)), 0);
  EXPECT_EQ(s.RatingOf(r.Ply(4)), 6);
  EXPECT_EQ(s.AssessmentOf(r.Ply(5)), 5);
  EXPECT_EQ(s.AssessmentOf(r.Ply(6)), 1);
  EXPECT_EQ(s.ResultOf(r.Ply(6)), 1);
  EXPECT_EQ(r.Tree().primary, r.Ply(6));
  // "%XP[]" fixes the primary position before the result token does.
  Reading p("1. e4 e5\n%XP[]\n2. Nf3 1/2-1/2");
  EXPECT_EQ(p.Tree().primary, p.Ply(2));
  EXPECT_EQ(p.Tree().Store().ResultOf(p.Ply(3)), 3);
}

// A result is recognised only as it is written; a number without dots is a
// move number wherever it stands ("10" and "101" are not "1-0" and "1/2").
TEST(PgnReader, ResultsOnlyAsWrittenAndNumbersWithoutDots) {
  struct Case {
    const char* movetext;
    const char* mainLine;
    std::vector<std::pair<int, int>> results;  // (ply on the main line, mark); -1: in a variation
    int primaryPly;                            // -1: the node of the first result token, in a variation
  };
  const std::vector<Case> cases = {
      {"1 e4 e5 10 Nf3 100 Nc6 101 Bb5 *", "e2e4 e7e5 g1f3 b8c6 f1b5", {}, 5},
      {"1 e4 (1 d4 10 d5 101 c4) 1 ... e5 2 Nf3 10", "e2e4 e7e5 g1f3", {}, 3},
      {"1.e4 e5 10 01 100 101 *", "e2e4 e7e5", {}, 2},
      {"1.e4 e5 1-0", "e2e4 e7e5", {{2, 1}}, 2},
      {"1.e4 e5 2.Nf3 0-1", "e2e4 e7e5 g1f3", {{3, 2}}, 3},
      {"1.e4 1/2-1/2", "e2e4", {{1, 3}}, 1},
      {"1 e4 e5 2 1/2", "e2e4 e7e5", {{2, 3}}, 2},
      {"1 e4 1-0 e5 10 Nf3 *", "e2e4 e7e5 g1f3", {{1, 1}}, 1},
      {"1 e4 (1 d4 d5 0-1) 1 ... e5 *", "e2e4 e7e5", {{-1, 2}}, -1},
      {"1.e4 e5\n%XR[1]\n2.Nf3 %XR[2]\n *", "e2e4 e7e5 g1f3", {{2, 1}}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.movetext);
    Reading r(c.movetext);
    ASSERT_EQ(r.games.size(), 1u);
    EXPECT_EQ(r.MainLine(), c.mainLine);
    EXPECT_TRUE(r.errors.Empty()) << r.errors.Joined();
    GameTree& tree = r.Tree();
    std::vector<std::pair<int, int>> results;
    for (NodeRef node : NodesInTreeOrder(tree)) {
      if (const int mark = tree.Store().ResultOf(node)) {
        int ply = -1;
        for (int p = 0; r.Ply(p) != kNoNode; ++p)
          if (r.Ply(p) == node) ply = p;
        results.emplace_back(ply, mark);
      }
    }
    EXPECT_EQ(results, c.results);
    if (c.primaryPly >= 0)
      EXPECT_EQ(tree.primary, r.Ply(c.primaryPly));
    else
      EXPECT_EQ(tree.Store().ResultOf(tree.primary), c.results.front().second);
  }
}

TEST(PgnReader, CommentsBeforeAndAfterMoves) {
  Reading r("1. e4 {King pawn} {opening} e5 (1... c5 {Sicilian}) ({French} 1... e6) 2. Nf3 ; line comment\n*");
  NodeStore& s = r.Tree().Store();
  EXPECT_EQ(*s.Comment(r.Ply(1), NodeStore::kAfter), "King pawn\r\n\r\nopening");
  auto* alternatives = s.Alternatives(r.Ply(1));
  ASSERT_NE(alternatives, nullptr);
  ASSERT_EQ(alternatives->size(), 2u);
  NodeRef c5 = (*alternatives)[0]->first, e6 = (*alternatives)[1]->first;
  EXPECT_EQ(*s.Comment(c5, NodeStore::kAfter), "Sicilian");
  EXPECT_EQ(*s.Comment(e6, NodeStore::kBefore), "French");
  EXPECT_EQ(*s.Comment(r.Ply(3), NodeStore::kAfter), "line comment");
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 g1f3");
}

TEST(PgnReader, AnIllegalMoveInAVariationTruncatesOnlyIt) {
  Reading r("[Event \"Open\"]\n[White \"A\"]\n[Black \"?\"]\n\n1. e4 e5 (1... c5 2. Ke3 Nc6) 2. Nf3 Nc6 *\n");
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 g1f3 b8c6");
  NodeStore& s = r.Tree().Store();
  NodeRef c5 = (*s.Alternatives(r.Ply(1)))[0]->first;
  EXPECT_EQ(r.Tree().Node(c5).next, kNoNode);
  EXPECT_EQ(*s.Comment(c5, NodeStore::kAfter), "Varnock: bad PGN -\r\n\r\n[ Ke3 Nc6 ]");
  ASSERT_EQ(r.errors.Messages().size(), 2u);
  EXPECT_EQ(r.errors.Messages()[0], "\r\ngames.pgn");
  EXPECT_EQ(
      r.errors.Messages()[1],
      "Error in game number 1 of the PGN collection, on line number 5.\r\nThe following move caused the "
      "error.\r\n\r\n\tKe3\r\n\r\nThe error occurred within the following extract.\r\n\r\n[Event \"Open\"]\n"
      "[White \"A\"]\n[Black \"?\"]\n\n1. e4 e5 (1... c5 2. Ke3 Nc6) 2. Nf3 Nc6 *\n\n\nMove number = 2\r\n\r\nThe "
      "variation was truncated at this point.\r\n\r\nEvent    \t= Open\r\nPlayer W \t= A");
  EXPECT_EQ(r.errors.GameNumbers(), std::set<int>{1});
  EXPECT_TRUE(r.ctx.errorFlag);
}

TEST(PgnReader, AnErrorOnTheMainLineEndsTheMovesAndKeepsTheRest) {
  // Without tags the second game would be part of the first: a game ends at a "[".
  Reading r("1. e4 e5 2. Qe8 Nf6 (2... Nc6) 3. Bc4 *\n\n[Event \"2\"]\n1. d4 *\n");
  ASSERT_EQ(r.games.size(), 2u);
  EXPECT_EQ(r.MainLine(0), "e2e4 e7e5");
  EXPECT_EQ(*r.Tree(0).Store().Comment(r.Ply(2), NodeStore::kAfter),
            "Varnock: bad PGN -\r\n\r\n[ Qe8 Nf6 (2... Nc6) 3. Bc4 * ]");
  EXPECT_EQ(r.MainLine(1), "d2d4");
  EXPECT_EQ(r.ctx.gameCounter, 2);
}

// A lowercase piece letter is no pawn's file: the move is an error, not the
// pawn move to the same square; a real file before it stays a pawn capture.
TEST(PgnReader, LowercasePieceLettersAreMoveErrors) {
  const struct {
    const char* movetext;
    const char* mainLine;
  } cases[] = {
      {"1. e4 e5 2. nf3 Nc6 *", "e2e4 e7e5"},   {"1. e4 e5 2. Nf3 nc6 *", "e2e4 e7e5 g1f3"},
      {"1. e4 e5 2. kf3 *", "e2e4 e7e5"},       {"1. e4 d5 2. ed5 *", "e2e4 d7d5 e4d5"},
      {"1. e4 d5 2. e4d5 *", "e2e4 d7d5 e4d5"},
  };
  for (const auto& c : cases) {
    Reading r(c.movetext);
    ASSERT_EQ(r.games.size(), 1u);
    EXPECT_EQ(r.MainLine(), c.mainLine) << c.movetext;
    EXPECT_EQ(r.errors.Empty(), std::string(c.movetext).find("d5 *") != std::string::npos) << c.movetext;
  }
}

TEST(PgnReader, UnbalancedBracketsWarnAndReturnToTheBranch) {
  Reading r("1. e4 e5 2. Nf3 (2. Nc3 Nc6 3. f4 *\n");
  ASSERT_EQ(r.prompt.Records().size(), 1u);
  EXPECT_EQ(r.prompt.Last().caption, "Do_FilePGN()");
  EXPECT_EQ(r.prompt.Last().text,
            "'games.pgn'\r\n\r\nWarning.\r\nBad PGN formatting detected.\r\nThere are an irregular number of "
            "variation brackets in game number 1 of the collection.\r\nNumbers of '(', ')' are 1 0");
  EXPECT_EQ(r.Tree().current, r.Ply(3));
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 g1f3");
}

TEST(PgnReader, AVariationRepeatingTheMainMoveStaysAVariation) {
  Reading r("1. e4 e5 (1... e5 2. Nf3) 2. Nc3 Nc6 *");
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 b1c3 b8c6");
  auto* alternatives = r.Tree().Store().Alternatives(r.Ply(1));
  ASSERT_NE(alternatives, nullptr);
  ASSERT_EQ(alternatives->size(), 1u);
  EXPECT_EQ(r.Tree().Node((*alternatives)[0]->first).To(), Sq("e5"));
  EXPECT_EQ(r.Tree().Node((*alternatives)[0]->last).To(), Sq("f3"));
}

TEST(PgnReader, ABracketInACommentDoesNotEndTheGame) {
  Reading r("1. e4 {see [1]} e5 *\n[Event \"Next\"]\n1. d4 *");
  ASSERT_EQ(r.games.size(), 2u);
  EXPECT_EQ(r.MainLine(0), "e2e4 e7e5");
  EXPECT_EQ(r.games[1]->header.Get(HeaderField::Event), "Next");
}

TEST(PgnReader, FenTags) {
  Reading good("[FEN \"4k3/8/8/8/8/8/8/4K2R b K - 0 30\"]\n30... Kd7 31. O-O *");
  EXPECT_TRUE(good.Tree().Node(good.Tree().root).Has(kFlagComposed));
  EXPECT_EQ(good.MainLine(), "e8d7 e1g1");

  Reading fatal("[Event \"E\"]\n[FEN \"8/8/8/8/8/8/8/3kK3 w - - 0 1\"]\n1. e4 {x} *\n[Event \"F\"]\n1. d4 *");
  ASSERT_EQ(fatal.games.size(), 2u);
  EXPECT_EQ(fatal.MainLine(0), "");
  EXPECT_EQ(fatal.Tree(0).Store().Comment(fatal.Tree(0).root, NodeStore::kAfter), nullptr);
  EXPECT_EQ(fatal.games[0]->header.Get(HeaderField::Event), "E");
  EXPECT_EQ(fatal.errors.Messages()[1],
            "Error in game number 1 of the collection, on line number 2.\r\nThe FEN string is invalid.\r\n( Kings may "
            "not touch. ).\r\nThe error occurred within the following extract from the file.\r\n\r\n[Event \"E\"]\n"
            "[FEN \"8/8/8/8/8/8/8/3kK3 w - - 0 1\"]\n1. e4 {x} *\n[Event \"F\"]\n1. d4 *\r\n\r\nThe variation was "
            "truncated at this point.\r\nEvent    \t= E");

  Reading warned("[FEN \"4k3/8/8/8/8/8/8/4K3 w - - 5 1\"]\n1. Kd2 *");
  EXPECT_EQ(warned.MainLine(), "e1d2");
  EXPECT_EQ(warned.errors.Messages()[1].substr(0, 39), "Warning.\r\nError in game number 1 of the");
}

TEST(PgnReader, EscapeLinesCarryMarks) {
  Reading r("%FG[]\n1. e4 e5\n%BM[3]\n%XN[4]\n%FG[] in a line\n2. Nf3 %FG[] *\n%XF[]\n");
  GameTree& tree = r.Tree();
  EXPECT_TRUE(tree.Node(tree.root).Has(kFlagDiagram) == false);  // the first line is no escape line
  EXPECT_EQ(BookmarkOf(tree, r.Ply(2)), 3);
  EXPECT_EQ(StoreNumberOf(tree, r.Ply(2)), 4);
  EXPECT_TRUE(tree.Node(r.Ply(2)).Has(kFlagDiagram));
  EXPECT_FALSE(tree.Node(r.Ply(3)).Has(kFlagDiagram));
  Reading atRoot("[Event \"E\"]\n%FG[]\n1. e4 *");
  EXPECT_TRUE(atRoot.Tree().Node(atRoot.Tree().root).Has(kFlagDiagram));
}

TEST(PgnReader, ScanFindsTheGamesWithoutReadingMoves) {
  const std::string text = "[Event \"A\"]\n1. e4 (1. d4) e5 {[x]} *\n\n[Event \"B\"]\n1. c4 *\n";
  Reading scan(text, ReadMode::Scan);
  ASSERT_EQ(scan.games.size(), 2u);
  EXPECT_FALSE(scan.games[0]->HasTree());
  EXPECT_FALSE(scan.games[0]->loaded);
  EXPECT_EQ(scan.games[1]->header.Get(HeaderField::Event), "B");
  // Rereading fills the tree and leaves the header.
  SGridFrame& game = *scan.games[0];
  game.header.Set(HeaderField::Event, "Edited");
  PgnReadContext ctx;
  ctx.text = text;
  ctx.rereadGameNumber = 1;
  ASSERT_EQ(Do_FilePGN(game, ReadMode::Reread, ctx), 1);
  EXPECT_EQ(game.header.Get(HeaderField::Event), "Edited");
  EXPECT_TRUE(game.loaded);
  EXPECT_TRUE(game.Tree().Node(game.Tree().root).next != kNoNode);
}

// Where each game of a text ends, its header and the questions asked, for
// one reading mode.
std::vector<std::string> GameBoundaries(const std::string& text, ReadMode mode) {
  NodeStore store;
  ScriptedPrompt prompt;
  PgnReadContext ctx;
  ctx.text = text;
  ctx.prompt = &prompt;
  ctx.fileName = "games.pgn";
  std::vector<std::string> games;
  while (true) {
    SGridFrame game(store);
    if (!Do_FilePGN(game, mode, ctx)) break;
    std::string entry = std::to_string(ctx.cursor) + (game.flipped ? " flipped" : "");
    for (int f = 0; f < kHeaderFieldCount; ++f)
      entry += "|" + std::string(game.header.Get(static_cast<HeaderField>(f)));
    games.push_back(entry);
  }
  for (const auto& record : prompt.Records()) games.push_back(record.caption + ": " + record.text);
  return games;
}

TEST(PgnReader, ScanEndsEveryGameWhereAFullReadEndsIt) {
  // Brackets and escape lines inside comments, junk, symbols and NAGs glued
  // to moves, a "[" that only a state between tokens takes for a new game.
  const std::vector<std::string> texts = {
      "[Event \"A\"]\n1. e4 {a [b] (c\n%XF[] [Event \"not\"]\n} e5 (1... c5 $1!) *\n[Event \"B\"]\n1. d4 *",
      "[Event \"A\"]\n1. e4 e5\n%comment [Event\n2. Nf3 ; [Event \"x\"]\n*\n[Event \"B\"]\n1. c4",
      "[Event \"A\"]\n1. e4 e5$1[x] \"q[\" 2. Nf3[ *\n[Event \"B\"]\n1. c4 ((1. d4) *\n[Event \"C\"]\n1. e4 -+ -/+ --[ "
      "*",
      "[Event \"A\"]\r\n1. e4 e5 1-0\r\r[Event \"B\"]\r1. d4 \rd5 0-1\r",
      "1. e4 {unterminated [Event \"B\"]\n1. d4",
      "[Event \"A\"]\n1. e4 (\n[Event \"B\"]\n1. d4 *",
  };
  for (const std::string& text : texts)
    EXPECT_EQ(GameBoundaries(text, ReadMode::Scan), GameBoundaries(text, ReadMode::Full)) << text;

  // Random movetext from the characters the lexical rules tell apart.
  const std::string alphabet = std::string("[]{}();%$!?=+-./\" \t\r\n\nabe45*KQNx#") + std::string(1, '\0');
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    std::string movetext;
    const int length = static_cast<int>(random() % 60);
    for (int k = 0; k < length; ++k) movetext += alphabet[random() % alphabet.size()];
    const std::string text = "[Event \"A\"]\n1. e4 " + movetext + "\n[Event \"B\"]\n1. d4 *\n[Event \"C\"]\n1. c4";
    ASSERT_EQ(GameBoundaries(text, ReadMode::Scan), GameBoundaries(text, ReadMode::Full))
        << ::testing::PrintToString(text);
  }

  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    std::string text = testing::ReadCorpusFile(path);
    CleanFileText(text);
    EXPECT_EQ(GameBoundaries(text, ReadMode::Scan), GameBoundaries(text, ReadMode::Full)) << path;
  }
}

TEST(PgnReader, LoneCarriageReturnsEndLinesAsLineFeedsDo) {
  Reading r("[Event \"A\"]\r[White \"W\"]\r\r1. e4 e5 2. Nf3 1-0\r\r[Event \"B\"]\r\r1. d4 \rd5 \r0-1\r");
  ASSERT_EQ(r.games.size(), 2u);
  EXPECT_EQ(r.games[1]->header.Get(HeaderField::Event), "B");
  EXPECT_EQ(r.MainLine(0), "e2e4 e7e5 g1f3");
  EXPECT_EQ(r.MainLine(1), "d2d4 d7d5");
  EXPECT_TRUE(r.errors.Empty());
}

TEST(PgnReader, HostileTextEndsCleanly) {
  // Ends inside a tag, a comment, a variation; a byte-order mark; lone CRs;
  // 10,000 nested variations.
  for (const char* text :
       {"[Event \"unterminated", "1. e4 {open comment", "1. e4 (1. d4 (1. c4", "\xEF\xBB\xBF[Event \"B\"]\r1. e4\r*",
        "[", "(", ")", "%", "{", "$", "1.", "e8=", "O-O-O-O-O"}) {
    Reading r(text);
    EXPECT_LE(r.ctx.cursor, r.text.size()) << text;
  }
  std::string deep = "1. e4 e5 ";
  for (int i = 0; i < 10000; ++i) deep += "(1... c5 ";
  for (int i = 0; i < 10000; ++i) deep += ") ";
  deep += "2. Nf3 *";
  Reading r(deep);
  EXPECT_EQ(r.MainLine(), "e2e4 e7e5 g1f3");
}

// Reports name the line of a position: the line feeds before it counted
// forward from the last question, or afresh when the position lies before.
TEST(PgnReader, LineNumbersCountEveryLineFeedBeforeThePosition) {
  std::mt19937 random(7);
  std::string text(20000, 'a');
  for (char& c : text)
    if (random() % 23 == 0) c = '\n';
  text.replace(4070, 30, std::string(30, '\n'));  // a run across a 16-byte and a 4,080-byte boundary
  LineCounter forward;
  for (std::size_t position :
       {0u, 1u, 15u, 16u, 17u, 4079u, 4080u, 4081u, 4096u, 9000u, 8999u, 19999u, 20000u, 25000u, 3u}) {
    const auto expected =
        1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(position, text.size())), '\n');
    EXPECT_EQ(forward.LineAt(text, position), expected) << position;
    EXPECT_EQ(LineCounter().LineAt(text, position), expected) << position;
  }
  const std::string feeds(9000, '\n');  // every byte counted in every round
  EXPECT_EQ(LineCounter().LineAt(feeds, 8999), 9000);
}

}  // namespace
}  // namespace varnock
