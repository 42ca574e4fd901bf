// Every game of the annotated and odd corpus files is read, written, read
// again and written again: the two trees must agree and the second text must
// equal the first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <unordered_map>

#include "PgnTestGame.h"
#include "core/Fen.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "support/Corpus.h"
#include "support/ScriptedPrompt.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/Positions.h"
#include "tree/TreeOrder.h"

namespace varnock {
namespace {

using testing::PgnTestGame;
using testing::ScriptedPrompt;

// The games of one text, read in full as a load reads the first game, each
// knowing where its text lies.
struct Collection {
  NodeStore store;
  SErrorList errors;
  ScriptedPrompt prompt;
  std::string text;
  std::vector<std::unique_ptr<SGridFrame>> games;

  explicit Collection(std::string content, bool plainMoves = true) : text(std::move(content)) {
    std::erase_if(text, [](char c) { return c == '\0' || c == '\xFE' || c == '\xFF'; });
    PgnReadContext ctx;
    ctx.text = text;
    ctx.errors = &errors;
    ctx.prompt = &prompt;
    ctx.plainMoves = plainMoves;
    while (true) {
      const std::size_t start = ctx.cursor;
      auto game = std::make_unique<SGridFrame>(store);
      if (!Do_FilePGN(*game, ReadMode::Full, ctx)) break;
      game->stateFlags = kFromFileText;
      game->textOffset = start;
      game->textLength = ctx.cursor - start;
      games.push_back(std::move(game));
      if (ctx.cursor <= start) break;
    }
  }
};

// Header values as the writer turns them into tags.
std::string WrittenValue(const GameHeader& header, HeaderField field) {
  std::string value(header.Get(field));
  if (field == HeaderField::Annotator || field == HeaderField::GameComment) return {};
  if (value.empty()) {
    const bool roster = field != HeaderField::Board && field != HeaderField::TimeControl &&
                        field != HeaderField::WhiteELO && field != HeaderField::BlackELO &&
                        field != HeaderField::Opening && field != HeaderField::ECO;
    if (roster) value = field == HeaderField::Result ? "*" : "?";
  }
  std::replace(value.begin(), value.end(), '[', '(');
  std::replace(value.begin(), value.end(), ']', ')');
  return value;
}

// Everything of a game that PGN carries, as text. PGN has no place for a
// comment before a move that continues its line: it reads back as more of
// the comment after the move before, so both are shown that way. Braces in
// comments are written as square brackets.
std::string Canonical(SGridFrame& game) {
  GameTree& tree = game.Tree();
  NodeStore& store = tree.Store();
  std::ostringstream out;
  for (int f = 0; f < kHeaderFieldCount; ++f)
    out << "tag " << f << " '" << WrittenValue(game.header, static_cast<HeaderField>(f)) << "'\n";
  out << "start " << NodeFEN(store, tree.root, BoardAt(store, tree.root)) << '\n';

  const std::vector<NodeRef> order = NodesInTreeOrder(tree);
  std::unordered_map<NodeRef, std::size_t> index;
  for (std::size_t i = 0; i < order.size(); ++i) index[order[i]] = i;
  auto comment = [&](NodeRef node, NodeStore::CommentKind kind) {
    const std::string* stored = store.Comment(node, kind);
    std::string text = stored ? *stored : std::string();
    std::replace(text.begin(), text.end(), '{', '[');
    std::replace(text.begin(), text.end(), '}', ']');
    return text;
  };
  for (NodeRef node : order) {
    const MoveNode& n = store.Node(node);
    std::string before = comment(node, NodeStore::kBefore);
    std::string after = comment(node, NodeStore::kAfter);
    if (n.parent != kNoNode && store.Node(n.parent).next == node) before.clear();
    if (n.next != kNoNode) {
      const std::string next = comment(n.next, NodeStore::kBefore);
      if (!next.empty()) after = after.empty() ? next : after + "\r\n\r\n" + next;
    }
    out << index[node] << " <" << (n.parent ? index[n.parent] : 0) << ' ' << SquareName(n.From()) << SquareName(n.To());
    if (n.Kind() == kPromotion) out << '=' << int{BoardAt(store, node)[static_cast<std::size_t>(n.To())]};
    out << " r" << int{store.RatingOf(node)} << " a" << int{store.AssessmentOf(node)} << " x"
        << int{store.ResultOf(node)} << " i" << n.Has2(kFlag2Irregular) << " d" << n.Has(kFlagDiagram);
    if (auto mark = BookmarkOf(tree, node)) out << " bm" << *mark;
    if (auto slot = StoreNumberOf(tree, node)) out << " slot" << *slot;
    if (tree.primary == node) out << " primary";
    if (!before.empty()) out << " {<" << before << '}';
    if (!after.empty()) out << " {>" << after << '}';
    out << '\n';
  }
  return out.str();
}

// Every node's packed fields in tree order: the move word, both flag bytes
// (check, capture, kind, snapshot...) and the board of a snapshot.
std::string NodeWords(SGridFrame& game) {
  GameTree& tree = game.Tree();
  NodeStore& store = tree.Store();
  std::ostringstream out;
  for (NodeRef node : NodesInTreeOrder(tree)) {
    const MoveNode& n = store.Node(node);
    out << n.move << ' ' << int{n.flags} << ' ' << int{n.flags2};
    if (const BoardSquares* board = store.Snapshot(node))
      out << ' ' << std::string(reinterpret_cast<const char*>(board->data()), board->size());
    out << '\n';
  }
  return out.str();
}

struct Variant {
  const char* name;
  PgnExportOptions options;
};

std::vector<Variant> Variants() {
  std::vector<Variant> variants;
  for (int format = kPgnShort; format <= kPgnLongColumned; ++format) {
    PgnExportOptions options = SaveExportOptions(false, true);
    options.format = format;
    static const char* kNames[] = {"short", "short columned", "long", "long columned"};
    variants.push_back({kNames[format], options});
  }
  PgnExportOptions oneLine = SaveExportOptions(false, true);
  oneLine.oneLine = 1;
  variants.push_back({"one line", oneLine});
  PgnExportOptions symbols = SaveExportOptions(true, true);
  symbols.symbols = 1;
  variants.push_back({"symbols", symbols});
  variants.push_back({"save", SaveExportOptions(false, false)});
  return variants;
}

TEST(PgnRoundTrip, EscapeLinesBringBackEveryMark) {
  PgnTestGame g;
  g.SetUpRoot("r3k2r/pppq1ppp/2n2n2/3pp3/3PP3/2N2N2/PPPQ1PPP/R3K2R w KQkq - 4 9");
  const NodeRef castles = g.Read("e1g1");
  const NodeRef reply = g.Read("e8c8");
  g.Read("d4e5 f6e4");
  const NodeRef alternative = g.Alternative(castles, "d5e4 f3g5");
  GameTree& tree = g.tree;
  tree.Node(tree.root).Set(kFlagDiagram, true);
  tree.Node(reply).Set(kFlagDiagram, true);
  SetBookmark(tree, tree.root, 4);
  SetBookmark(tree, alternative, 7);
  tree.storeSlots[9] = reply;
  tree.Node(reply).Set2(kFlag2Stored, true);
  tree.primary = alternative;
  g.store.SetRating(castles, 5);
  g.store.SetAssessment(castles, 2);
  g.store.SetResult(tree.current, 3);
  // Result marks inside the game and at the end of a variation.
  g.store.SetResult(castles, 1);
  g.store.SetResult(tree.Node(alternative).next, 2);
  SetComment(tree, tree.root, NodeStore::kAfter, "Both sides castle {long}", true);
  SetComment(tree, alternative, NodeStore::kBefore, "Instead", true);
  SetComment(tree, reply, NodeStore::kAfter, "Sharp", true);

  const std::string expected = Canonical(g.game);
  for (const Variant& variant : Variants()) {
    if (!variant.options.extensions) continue;
    SCOPED_TRACE(variant.name);
    const std::string written = g.Written(variant.options);
    Collection again(written);
    ASSERT_EQ(again.games.size(), 1u);
    EXPECT_EQ(Canonical(*again.games[0]), expected) << written;
    EXPECT_TRUE(again.errors.Empty()) << again.errors.Joined();
  }
}

// Reads every game of the files, writes it in each variant, reads that back
// and compares; returns the number of games.
int RoundTripFiles(const std::vector<std::filesystem::path>& files, const std::vector<Variant>& variants) {
  int games = 0;
  for (const auto& path : files) {
    Collection original(testing::ReadCorpusFile(path));
    EXPECT_FALSE(original.games.empty()) << path;
    for (std::size_t g = 0; g < original.games.size(); ++g) {
      SGridFrame& game = *original.games[g];
      const std::string expected = Canonical(game);
      for (const Variant& variant : variants) {
        SCOPED_TRACE(path.filename().string() + " game " + std::to_string(g + 1) + ", " + variant.name);
        std::string written;
        WritePgnGame(game, written, variant.options, original.text);
        Collection again(written);
        EXPECT_EQ(again.games.size(), 1u) << written;
        if (again.games.size() != 1) continue;
        EXPECT_EQ(Canonical(*again.games[0]), expected) << written;
        for (const std::string& report : again.errors.Messages())
          EXPECT_TRUE(report.starts_with("Warning.") && report.find("The FEN string is invalid.") != std::string::npos)
              << report << "\n"
              << written;
        std::string rewritten;
        WritePgnGame(*again.games[0], rewritten, variant.options, again.text);
        EXPECT_EQ(rewritten, written);
      }
      ++games;
    }
  }
  return games;
}

// Reads the text with the quick lanes for plain move tokens and moves, and
// without them (every character stepped through, every move the general
// way), and expects the same games: trees node for node, where each game's
// text and header end, the position reached, the reports and messages.
// Returns the number of games.
std::size_t ExpectBothLanesAgree(const std::string& text) {
  Collection quick(text, true), general(text, false);
  EXPECT_EQ(quick.games.size(), general.games.size());
  if (quick.games.size() != general.games.size()) return 0;
  for (std::size_t g = 0; g < quick.games.size(); ++g) {
    SGridFrame &x = *quick.games[g], &y = *general.games[g];
    EXPECT_EQ(Canonical(x), Canonical(y)) << "game " << g + 1;
    EXPECT_EQ(NodeWords(x), NodeWords(y)) << "game " << g + 1;
    EXPECT_EQ(x.textLength, y.textLength) << "game " << g + 1;
    EXPECT_EQ(x.headerLength, y.headerLength) << "game " << g + 1;
    const GameTree &a = x.Tree(), &b = y.Tree();
    EXPECT_TRUE(a.board == b.board && a.sideToMove == b.sideToMove) << "game " << g + 1;
    EXPECT_EQ(a.current, b.current) << "game " << g + 1;
  }
  EXPECT_EQ(quick.errors.Messages(), general.errors.Messages());
  EXPECT_EQ(quick.prompt.Records().size(), general.prompt.Records().size());
  return quick.games.size();
}

TEST(PgnRoundTrip, TheQuickLaneForPlainMovesBuildsTheSameTrees) {
  const auto files = testing::CorpusSample({"annotated", "odd", "big"});
  ASSERT_FALSE(files.empty()) << "no corpus below " << VARNOCK_SHARED_DIR;
  std::size_t games = 0;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    games += ExpectBothLanesAgree(testing::ReadCorpusFile(path));
  }
  if (!testing::CorpusSampled()) {
    EXPECT_GT(games, 14000u);
  }
}

// Token shapes at the edges of the quick lane: move numbers joined to moves,
// marks the lane leaves out or refuses, tokens too long for it, tokens ended
// by something other than a blank, a move number alone, tokens at the very
// end of the text, illegal and ambiguous moves (their reports name the line).
TEST(PgnRoundTrip, BothLanesAgreeOnTokenShapesAtTheirEdges) {
  const std::string header = "[Event \"Edges\"]\n[White \"A\"]\n[Black \"B\"]\n\n";
  const std::vector<std::string> movetexts = {
      "1.e4 e5 2.Nf3 Nc6 3.Bb5 a6 4.Bxc6 dxc6 5.O-O f6 6.d4 exd4 7.Nxd4 c5 8.Nb3 Qxd1 9.Rxd1 Bg4 1-0",
      "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 *",
      "1.e4 1...e5 2...Nf3 12345.Nc6 3..Bb5 a6 *",
      "1.e4! e5?! 2.Nf3!! Nc6?? 3.Bb5+ a6# *",
      "1.f3 e5 2.g4 Qh4# 0-1",
      "1.e4 e5 2.Nf3 Nc6 3.Bc4 Nf6 4.Ng5 d5 5.exd5 Nxd5 6.Nxf7 Kxf7 7.Qf3+ Ke6 8.Nc3 Nb4 *",
      "1.e4(1.d4 d5)e5(1...c5 2.Nf3)2.Nf3{good}Nc6;comment\n3.Bb5$1 a6 *",
      "1.e4 e5 2.Nf3 ( ) Nc6 3.Bb5 ({words only}) a6 4.Ba4 (4.Bxc6 (4.Bc4) dxc6) (4.Be2) Nf6 5.O-O (5.d3) Be7 *",
      "1.e4 f5 2.Qh5+ g6 3.Qe2 Nf6 *",
      "1.e4 e5 2.Qh5 Nc6 3.Qxf7+ Nf6 4.Qxe8 *",
      "1.e4\te5\r\n2.Nf3\rNc6\n%escape line\n3.Bb5 *",
      "1.e4 e5 2.Ngf3xx Nc6 3.Nbd2e4 Qh4 *",
      "1.e4 e5 2.Nf3 Nc6 3.Ne5 Nxe5 4.Qh5 Nf6 5.Qxe5+ Be7 6.Qxe7+ Qxe7+ *",
      "1.d4 d5 2.c4 e6 3.Nc3 Nf6 4.Nf3 Nbd7 5.Ndb1 Nbd7 *",
      "1.e4 e5 2.Bc4 Bc5 3.Qh5 Nf6 4.Qxf7",
      "1.e4 e5 2.Nf3 Nc6 3.Bb5 Nd4 4.Nxd4 exd4 5.O-O c6 6.Bc4 d5 7.exd5 cxd5 8.Bb5+ Bd7 9.Re1+ Be7 "
      "10.Bxd7+ Qxd7 11.Qe2 O-O-O 12.Qxe7 Qxe7 13.Rxe7 *",
      "1.a4 h5 2.a5 h4 3.a6 h3 4.axb7 hxg2 5.bxa8=Q gxh1=N 6.Qxb8 Nf2 *",
      "1.e4 d5 2.e5 f5 3.exf6 e.p. exf6 *",
      "e4 e5 Nf3 Nc6 *",
      // Capture and check marks where the text holds them and where it does not.
      "1.Nf3 Nf6 2.Nc3 Nc6 3.Nd4 Nd5 4.Ncxd5 Nxcd4 5.e3+# e5 6.xe4 *",
      "1.e4 e5 2.Nf3 Nc6 3.Bb5 Nf6 4.O-O Nxe4 5.Re1 Nd6 6.Nxe5 Be7 7.Bf1 Nxe5 8.R1xe5 O-O 9.e+4 *",
      "1.d4 e5 2.dxe5 d6 3.exd6 12.xc7 *",
      "1.e3 e6 xe4 d5 *",
      "1.a4 h5 2.a5 h4 3.a6 h3 4.axb7 hxg2 5.bxa8 gxh1 *",
      // Castling the rules refuse: the king or the rook moved and came back,
      // out of check, across an attacked square, past a piece.
      "1.e4 e5 2.Nf3 Nf6 3.Be2 Be7 4.Kf1 Kf8 5.Ke1 Ke8 6.O-O O-O *",
      "1.e4 e5 2.Nf3 Nf6 3.Be2 Be7 4.Rf1 Rf8 5.Rh1 Rh8 6.O-O O-O *",
      "1.e4 e5 2.Nf3 Nf6 3.Bc4 Be7 4.Bxf7+ O-O *",
      "1.e4 b6 2.g3 Ba6 3.Bh3 e6 4.Nf3 Nf6 5.O-O Be7 *",
      "1.d4 d5 2.Bf4 Bf5 3.Qd2 Qd7 4.O-O-O O-O-O *",
      // Castling tokens of other shapes: marks, a following comment, zeros,
      // one "-O" too many, a check mark where there is no check.
      "1.e4 e5 2.Nf3 Nc6 3.Bc4 Bc5 4.O-O! Nf6 5.d3 O-O{castled} 6.Bg5 d6 *",
      "1.e4 e5 2.Nf3 Nc6 3.Bc4 Bc5 4.0-0 Nf6 5.d3 O-O-O-O 6.Bg5 *",
      "1.e4 e5 2.Nf3 Nc6 3.Bc4 Bc5 4.O-O+ Nf6 5.d3 O-O# 6.Bg5 O-O *",
      "1.d4 d5 2.Nc3 Nc6 3.Bf4 Bf5 4.Qd2 Qd7 5.O-O-O+ O-O-O 6.e3 e6 *",
      // The first move of a game: refused, after a comment, a variation or a
      // move number of its own.
      "1.e5 e4 *",
      "{before} 1.e4 e5 *",
      "(1.d4) 1.e4 e5 *",
      "17.Nf3 d5 *",
      // Results before any move, inside and after a variation, twice, after
      // an illegal move, and shapes that are no results.
      "1-0 1.e4 e5 1/2-1/2",
      "1.e4 (1.d4 0-1 d5 *) e5 1/2-1/2 2.Nf3 * 1-0",
      "1.e4 e5 2.Ke3 1-0 Nf6 0-1",
      "1.e4 e5 1/2 1-0) 0-1(",
      // Move numbers without dots, among moves the quick lane takes and at
      // the end of the text.
      "1 e4 e5 2 Nf3 Nc6 3 Bb5 a6 4 Ba4 Nf6 5 O-O Be7 6 Re1 b5 7 Bb3 d6 8 c3 O-O 9 h3 Nb8 10 d4 Nbd7 100 *",
      "1 e4 (1 d4 10 d5 101 c4) 1 ... e5 10 1-0",
      "1 e4 e5 10 01 100 101 0 00 2 Nf3 1/2",
      "10",
  };
  std::string text;
  for (const std::string& movetext : movetexts) text += header + movetext + "\n\n";
  EXPECT_EQ(ExpectBothLanesAgree(text), movetexts.size());
  // Games from a set-up position, castling by its rights.
  const std::string setUp =
      "[Event \"Set up\"]\n[SetUp \"1\"]\n[FEN \"r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w Kq - 0 1\"]\n\n";
  for (const std::string movetext : {"1.O-O O-O *", "1.O-O-O O-O-O *", "1.a3 O-O-O 2.O-O O-O *", "1.Kf1 O-O 2.Ke1 *"}) {
    SCOPED_TRACE(movetext);
    EXPECT_EQ(ExpectBothLanesAgree(setUp + movetext + "\n"), 1u);
  }
  // A set-up position with the side to move in check: the first move must answer it.
  const std::string inCheck = "[Event \"Set up\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4r3/R3K3 w - - 0 1\"]\n\n";
  for (const std::string movetext : {"1.Ra7 Kd8 *", "1.Kxe2 Kd8 *"}) {
    SCOPED_TRACE(movetext);
    EXPECT_EQ(ExpectBothLanesAgree(inCheck + movetext + "\n"), 1u);
  }
  // Each game also on its own, ending the text right after its last token.
  for (const std::string& movetext : movetexts) {
    SCOPED_TRACE(movetext);
    ExpectBothLanesAgree(header + movetext);
  }
}

TEST(PgnRoundTrip, AnnotatedAndOddGamesReadBackInEveryFormat) {
  const auto files = testing::CorpusFiles({"annotated", "odd"});
  ASSERT_FALSE(files.empty()) << "no corpus below " << VARNOCK_SHARED_DIR;
  EXPECT_GT(RoundTripFiles(files, Variants()), 150);
}

// The big files hold thousands of plain games: each is written as a save
// writes it and in long algebraic with symbols, and read back.
TEST(PgnRoundTrip, EveryBigCorpusGameReadsBackAsSaved) {
  const auto files = testing::CorpusSample({"big"});
  ASSERT_FALSE(files.empty()) << "no corpus below " << VARNOCK_SHARED_DIR;
  std::vector<Variant> variants;
  variants.push_back({"save", SaveExportOptions(false, true)});
  PgnExportOptions longSymbols = SaveExportOptions(true, true);
  longSymbols.format = kPgnLongColumned;
  longSymbols.symbols = 1;
  variants.push_back({"long columned with symbols", longSymbols});
  const int games = RoundTripFiles(files, variants);
  if (!testing::CorpusSampled()) {
    EXPECT_GT(games, 13000);
  }
}

}  // namespace
}  // namespace varnock
