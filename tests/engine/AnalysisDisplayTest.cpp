// What the analysis window shows for the engine's info lines, text for text,
// and how its lines are written in notation.
#include <gtest/gtest.h>

#include "core/Fen.h"
#include "engine/AnalysisModel.h"
#include "engine/BlockingEventQueue.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// An analysis model fed with events by hand, in follow mode.
class Display {
 public:
  explicit Display(int lines = 1, std::string initials = "KQRBNP")
      : model_(queue_, prompt_, Settings(lines, std::move(initials)), AnalysisModel::kFollowGame) {}

  static AnalysisSettings Settings(int lines, std::string initials) {
    AnalysisSettings settings;
    settings.lines = lines;
    settings.initials = std::move(initials);
    return settings;
  }

  // The main window shows a new position (a different move each time).
  Display& Show(const std::string& fen, std::string moveText = "") {
    auto position = std::make_shared<AnalysisPosition>(*PositionOfFen(fen));
    position->key = {++move_, 7};
    position->moveText = std::move(moveText);
    EngineEvent event;
    event.kind = EngineEventKind::NewPosition;
    event.newPosition = position;
    model_.HandleEvent(event);
    return *this;
  }

  Display& Info(const std::string& line) {
    EngineEvent event;
    event.kind = EngineEventKind::InfoLine;
    event.text = line;
    event.position = {move_, 7};
    model_.HandleEvent(event);
    return *this;
  }

  const AnalysisDisplay& Shown() const { return model_.Display(); }
  const AnalysisRow& Row(std::size_t i) const { return model_.Display().rows.at(i); }
  std::string Moves(const std::string& fen, const std::string& pv) {
    Show(fen).Info("info depth 1 score cp 0 pv " + pv);
    return Row(0).moves;
  }
  AnalysisModel& Model() { return model_; }
  NodeRef Move() const { return move_; }

 private:
  BlockingEventQueue queue_;
  testing::ScriptedPrompt prompt_;
  AnalysisModel model_;
  NodeRef move_ = 100;
};

TEST(AnalysisDisplay, ScoresReadFromWhitesSide) {
  Display display;
  display.Show("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1")
      .Info("info depth 12 score cp -35 pv e7e5 g1f3");
  EXPECT_EQ(display.Row(0), (AnalysisRow{"12", "35", "e5 Nf3 "}));
  display.Info("info depth 13 score mate 3 pv e7e5");
  EXPECT_EQ(display.Row(0).score, "Mate -3");
  display.Show(kStart).Info("info depth 9 score mate 3 pv e2e4");
  EXPECT_EQ(display.Row(0).score, "Mate 3");
  display.Info("info depth 9 score cp 20 lowerbound pv e2e4");
  EXPECT_EQ(display.Row(0).score, "20");
}

TEST(AnalysisDisplay, NodesTimeAndHashShowTheirBestValues) {
  Display display;
  display.Show(kStart).Info("info hashfull 453 time 125000 nodes 123456 nps 1000");
  EXPECT_EQ(display.Shown().hash, "Hash   45.30%");
  EXPECT_EQ(display.Shown().time, "2m 5s");
  EXPECT_EQ(display.Shown().nodes, "123456");
  display.Info("info hashfull 100 time 1000 nodes 5");
  EXPECT_EQ(display.Shown().hash, "Hash   45.30%");
  EXPECT_EQ(display.Shown().time, "2m 5s");
  EXPECT_EQ(display.Shown().nodes, "123456");
  display.Info("info nodes 9876543210123");  // beyond 32 bits
  EXPECT_EQ(display.Shown().nodes, "9876543210123");
  EXPECT_TRUE(display.Shown().rows.empty());
}

TEST(AnalysisDisplay, LinesInNotation) {
  Display display;
  EXPECT_EQ(display.Moves(kStart, "e2e4 junk d7d5"), "e4 ");
  EXPECT_EQ(display.Moves(kStart, "e2e4 f7f6 d1h5"), "e4 f6 Qh5+ ");
  EXPECT_EQ(display.Moves("4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1", "b1d2"), "Nbd2 ");
  EXPECT_EQ(display.Moves("4k3/8/8/8/8/1N6/8/1N2K3 w - - 0 1", "b1d2"), "N1d2 ");
  // The knight on f3 is pinned, and still counts.
  EXPECT_EQ(display.Moves("4k3/8/8/3b4/8/5N2/8/1N5K w - - 0 1", "b1d2"), "Nbd2 ");
  EXPECT_EQ(display.Moves("4k3/8/8/8/8/1N3N2/8/1N2K3 w - - 0 1", "b1d2"), "Nb1d2 ");
  EXPECT_EQ(display.Moves("8/4P3/8/8/8/k7/8/K7 w - - 0 1", "e7e8q"), "e8=Q ");
  EXPECT_EQ(display.Moves("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1 e8c8 f1f8"), "O-O O-O-O Rf8 ");
  // The pawn taken en passant is gone: a move from its square ends the text.
  EXPECT_EQ(display.Moves("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6 d5d4"), "exd6 ");
  EXPECT_EQ(display.Moves("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6 e8f7 d6d7"), "exd6 Kf7 d7 ");
  // A line stops at its first move that breaks the rules: into check, by the
  // side not to move, en passant without the right, castling through check,
  // a pawn "e2e5".
  EXPECT_EQ(display.Moves("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6 e8e7"), "exd6 ");
  EXPECT_EQ(display.Moves(kStart, "e2e4 e4e5"), "e4 ");
  EXPECT_EQ(display.Moves("4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", "e5d6"), "");
  EXPECT_EQ(display.Moves("4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "e1g1"), "");
  EXPECT_EQ(display.Moves(kStart, "e2e5"), "");
  // A move from an empty square ends the text.
  EXPECT_EQ(display.Moves(kStart, "e2e4 e2e4 d7d5"), "e4 ");

  Display german(1, "KDTLSB");
  EXPECT_EQ(german.Moves("8/4P3/8/8/8/k7/8/K7 w - - 0 1", "e7e8q"), "e8=D ");
  EXPECT_EQ(german.Moves(kStart, "g1f3"), "Sf3 ");
}

TEST(AnalysisDisplay, OneLineKeepsAHistoryNewestFirst) {
  Display display;
  display.Show(kStart, "1. e4").Info("info depth 5 score cp 20 pv e2e4 e7e5");
  display.Info("info depth 5 score cp 20 pv e2e4 e7e5");
  ASSERT_EQ(display.Shown().rows.size(), 1u);
  display.Info("info depth 5 score cp 25 pv e2e4 e7e5");
  ASSERT_EQ(display.Shown().rows.size(), 2u);
  EXPECT_EQ(display.Row(0), (AnalysisRow{"5", "25", "e4 e5 "}));
  EXPECT_EQ(display.Row(1).score, "20");
  EXPECT_EQ(display.Shown().currentMove, "1. e4");

  for (int i = 0; i < 1500; ++i) display.Info("info depth 6 score cp " + std::to_string(i) + " pv d2d4");
  EXPECT_EQ(display.Shown().rows.size(), AnalysisModel::kMostHistoryRows);
  EXPECT_EQ(display.Row(0).score, "1499");
  // Every row still finds its line record.
  EXPECT_NE(display.Model().SequenceOfRow(AnalysisModel::kMostHistoryRows - 1), nullptr);
}

TEST(AnalysisDisplay, SeveralLinesAreUpdatedInPlace) {
  Display display(4);
  display.Show(kStart);
  display.Info("info depth 8 multipv 1 score cp 30 pv e2e4");
  ASSERT_EQ(display.Shown().rows.size(), 4u);
  display.Info("info depth 8 multipv 3 score cp 10 pv g1f3");
  display.Info("info depth 8 multipv 5 score cp 5 pv b1c3");
  display.Info("info depth 8 multipv 0 score cp 5 pv b1c3");
  ASSERT_EQ(display.Shown().rows.size(), 4u);
  EXPECT_EQ(display.Row(0), (AnalysisRow{"8", "30", "e4 "}));
  EXPECT_EQ(display.Row(1), AnalysisRow{});
  EXPECT_EQ(display.Row(2), (AnalysisRow{"8", "10", "Nf3 "}));
  EXPECT_EQ(display.Row(3), AnalysisRow{});
  display.Info("info depth 9 multipv 3 score cp 12 pv g1f3 g8f6");
  EXPECT_EQ(display.Row(2), (AnalysisRow{"9", "12", "Nf3 Nf6 "}));
  const SUCISequence* line = display.Model().SequenceOfRow(2);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->coordinates, "g1f3 g8f6");
  EXPECT_EQ(line->position, (PositionKey{display.Move(), 7}));
  EXPECT_EQ(display.Model().SequenceOfRow(1), nullptr);
}

TEST(AnalysisDisplay, HeadingsFollowTheSearch) {
  Display display;
  display.Show(kStart).Info("info depth 10 score cp 25 pv e2e4 e7e5");
  EXPECT_EQ(display.Shown().bestHeading, "Best Move");
  display.Info("info depth 11 currmove g1f3 currmovenumber 2");
  EXPECT_EQ(display.Shown().bestHeading, "Best Move  ( depth  10   score  25 )");
  EXPECT_EQ(display.Shown().bestLine, "e4 e5 ");
  EXPECT_EQ(display.Shown().currentHeading, "Current Analysis  ( Nf3 )");
  // The saved line was used up: a deeper line without one changes nothing.
  display.Info("info depth 12");
  EXPECT_EQ(display.Shown().bestHeading, "Best Move  ( depth  10   score  25 )");
  // Free text after "string" is not read.
  display.Info("info string depth 40 pv a2a3");
  EXPECT_EQ(display.Shown().rows.size(), 1u);
}

TEST(AnalysisDisplay, NewPositionsAndUnanalysablePositionsClearTheDisplay) {
  Display display;
  display.Show(kStart).Info("info depth 10 score cp 25 time 3000 hashfull 20 nodes 50 pv e2e4");
  const NodeRef earlier = display.Move();
  display.Show(kStart, "1. d4");
  const AnalysisDisplay& shown = display.Shown();
  EXPECT_TRUE(shown.rows.empty());
  EXPECT_TRUE(shown.nodes.empty() && shown.time.empty() && shown.hash.empty() && shown.bestLine.empty());
  EXPECT_EQ(shown.currentMove, "1. d4");

  // A late line of the earlier position is not shown.
  EngineEvent late;
  late.kind = EngineEventKind::InfoLine;
  late.text = "info depth 10 score cp 25 pv e2e4";
  late.position = {earlier, 7};
  display.Model().HandleEvent(late);
  EXPECT_TRUE(shown.rows.empty());

  EngineEvent mate;
  mate.kind = EngineEventKind::Checkmate;
  mate.text = "some fen";
  display.Model().HandleEvent(mate);
  EXPECT_EQ(shown.bestLine, "Position is Checkmate");
  EXPECT_TRUE(shown.currentMove.empty());
  ASSERT_EQ(shown.rows.size(), 1u);
  EXPECT_EQ(shown.rows[0], (AnalysisRow{"", "", "some fen"}));
  mate.kind = EngineEventKind::InvalidPosition;
  display.Model().HandleEvent(mate);
  EXPECT_EQ(shown.bestLine, "Invalid Position");
  mate.kind = EngineEventKind::Stalemate;
  display.Model().HandleEvent(mate);
  EXPECT_EQ(shown.bestLine, "Position is Stalemate");
  EXPECT_EQ(shown.rows.size(), 1u);
}

}  // namespace
}  // namespace varnock
