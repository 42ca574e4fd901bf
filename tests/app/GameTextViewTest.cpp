// The game-text window through the real widget: its rows, the highlight of
// the current move in the settings' colours, clicks, the scroll commands,
// and relayout only when the tree changed.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "GameTextTesting.h"
#include "app/GameTextView.h"
#include "render/GameTextLines.h"
#include "tree/Comments.h"
#include "tree/Navigation.h"

namespace varnock::testing {
namespace {

constexpr const char* kGame =
    "[Event \"T\"]\n\n{Start} 1. e4 e5 (1... c5 {Sicilian} 2. Nf3 (2. c3) d6) 2. Nf3 {knight out} Nc6 3. Bb5 a6 *\n";

class GameTextViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DisplayColours& colours = settings.settings.colours;
    colours.background = 0xE0E0E0;
    colours.box3 = 0x00FFFF;  // yellow behind the current move
    colours.box2 = 0x800000;  // dark blue behind variations
    game = ReadGameText(text, store);
    ASSERT_TRUE(game);
    view = std::make_unique<GameTextView>(settings);
    view->resize(320, 400);
    tree().current = tree().root;
    view->ShowGame(&tree());
  }
  GameTree& tree() { return game->Tree(); }
  NodeRef Ply(int plies) {
    NodeRef node = tree().root;
    for (int i = 0; i < plies; ++i) node = store.Node(node).next;
    return node;
  }
  QPoint Centre(NodeRef node) { return view->MoveRect(node).center(); }
  QColor PixelBeside(NodeRef node) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect rect = view->MoveRect(node);
    return image.pixelColor(rect.left() - 2, rect.center().y());
  }

  std::string text = kGame;
  NodeStore store;
  Settings settings;
  std::unique_ptr<SGridFrame> game;
  std::unique_ptr<GameTextView> view;
};

TEST_F(GameTextViewTest, ShowsTheLibrarysRowsAndHighlightsTheCurrentMoveInItsColours) {
  ScoreLayoutOptions options;
  const auto rows = GameTextLines(tree(), options);
  ASSERT_EQ(view->Rows().size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(view->Rows()[i].text, rows[i].text);
  EXPECT_EQ(view->LineText(0), "Start");
  EXPECT_EQ(view->LineText(1), "1. e2-e4 e7-e5");
  EXPECT_EQ(view->LineText(2), "c7-c5 (3)");
  EXPECT_EQ(view->Highlighted(), tree().root);

  const int layouts = view->LayoutCount();
  for (int ply = 1; ply <= 6; ++ply) {
    GoForward(tree(), 1);
    view->Refresh();
    EXPECT_EQ(view->Highlighted(), Ply(ply));
    EXPECT_EQ(PixelBeside(Ply(ply)), QColor(255, 255, 0)) << ply;
    if (ply > 1) {
      EXPECT_EQ(PixelBeside(Ply(ply - 1)), QColor(0xE0, 0xE0, 0xE0)) << ply;
    }
  }
  EXPECT_EQ(view->LayoutCount(), layouts);  // steps move the highlight only
  // The variation row sits on the branch background.
  const NodeRef c5 = store.Alternatives(Ply(1))->front()->first;
  EXPECT_EQ(PixelBeside(c5), QColor(0, 0, 0x80));
}

TEST_F(GameTextViewTest, ClicksFindTheMoveUnderTheMouse) {
  QSignalSpy clicked(view.get(), &GameTextView::NodeClicked);
  QSignalSpy menu(view.get(), &GameTextView::ContextMenuRequested);
  const NodeRef c5 = store.Alternatives(Ply(1))->front()->first;
  const NodeRef nf3 = Ply(3);
  struct Case {
    QPoint at;
    NodeRef expected;  // kNoNode: no signal
  };
  const QRect e5 = view->MoveRect(Ply(2));
  const std::vector<Case> cases = {
      {Centre(Ply(1)), Ply(1)},                             // White's move
      {Centre(Ply(2)), Ply(2)},                             // Black's move beside it
      {Centre(c5), c5},                                     // a variation row: its first move
      {QPoint(e5.right() + 60, e5.center().y()), kNoNode},  // past the end of a row
      {QPoint(10, view->MoveRect(nf3).center().y() + view->MoveRect(nf3).height()), nf3},  // its comment
      {QPoint(10, view->viewport()->height() - 2), kNoNode},                               // below the last row
  };
  for (const Case& c : cases) {
    clicked.clear();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, c.at);
    if (c.expected == kNoNode) {
      EXPECT_EQ(clicked.count(), 0) << c.at.x() << "," << c.at.y();
    } else {
      ASSERT_EQ(clicked.count(), 1) << c.at.x() << "," << c.at.y();
      EXPECT_EQ(clicked[0][0].value<NodeRef>(), c.expected);
    }
    QContextMenuEvent event(QContextMenuEvent::Mouse, c.at, view->viewport()->mapToGlobal(c.at));
    menu.clear();
    QApplication::sendEvent(view->viewport(), &event);
    EXPECT_EQ(menu.count(), c.expected == kNoNode ? 0 : 1);
    if (!menu.isEmpty()) {
      EXPECT_EQ(menu[0][0].value<NodeRef>(), c.expected);
      EXPECT_EQ(menu[0][1].toPoint(), view->viewport()->mapToGlobal(c.at));
    }
  }
  EXPECT_EQ(tree().current, tree().root);  // a click only asks; the window moves
}

TEST_F(GameTextViewTest, LaysOutAgainOnlyWhenTheTreeOrTheSettingsChange) {
  int layouts = view->LayoutCount();
  view->Refresh();
  EXPECT_EQ(view->LayoutCount(), layouts);
  SetComment(tree(), Ply(5), NodeStore::kAfter, "pinning", true);
  tree().MarkChanged();
  view->Refresh();
  EXPECT_EQ(view->LayoutCount(), ++layouts);
  bool found = false;
  for (int line = 0; line < view->LineCount(); ++line) found |= view->LineText(line) == "pinning";
  EXPECT_TRUE(found);
  settings.settings.shortNotation = true;
  view->Refresh();
  EXPECT_EQ(view->LayoutCount(), ++layouts);
  EXPECT_EQ(view->LineText(1), "1. e4 e5");
}

TEST_F(GameTextViewTest, ScrollCommandsScrollWithoutMovingAndStepsKeepTheMoveInView) {
  NodeStore longStore;
  auto longGame = ReadGameText(LongAnnotatedGame(), longStore);
  ASSERT_TRUE(longGame);
  GameTree& lines = longGame->Tree();
  view->resize(320, 200);
  GoToRoot(lines);
  view->ShowGame(&lines);
  const int visible = view->viewport()->height() / view->LineHeight();
  ASSERT_GT(view->LineCount(), 3 * visible);

  view->ScrollLines(1);
  EXPECT_EQ(view->TopLine(), 1);
  view->ScrollLines(-5);
  EXPECT_EQ(view->TopLine(), 0);
  view->ScrollPages(2);
  EXPECT_EQ(view->TopLine(), 2 * view->verticalScrollBar()->pageStep());
  view->ScrollToBottom();
  EXPECT_EQ(view->TopLine() + visible, view->LineCount());
  view->ScrollToTop();
  EXPECT_EQ(view->TopLine(), 0);
  EXPECT_EQ(lines.current, lines.root);

  // Every step of the game keeps its move on a line in view, without a
  // layout; going to the end and back as well.
  const int layouts = view->LayoutCount();
  for (int step = 0; step < 200; ++step) {
    GoForward(lines, 1);
    view->Refresh();
    ASSERT_FALSE(view->MoveRect(lines.current).isEmpty()) << step;
  }
  GoToRoot(lines);
  view->Refresh();
  EXPECT_EQ(view->TopLine(), 0);
  GoToLineEnd(lines);
  view->Refresh();
  EXPECT_FALSE(view->MoveRect(lines.current).isEmpty());
  EXPECT_EQ(view->LayoutCount(), layouts);
}

TEST_F(GameTextViewTest, CommentsFromEightBitFilesAreShownRight) {
  struct Case {
    std::string bytes;
    QString shown;
  };
  const Case cases[] = {
      {"D\xC3\xA9j\xC3\xA0 vu", QString::fromUtf8("D\xC3\xA9j\xC3\xA0 vu")},  // UTF-8
      {"D\xE9j\xE0 vu", QString::fromUtf8("D\xC3\xA9j\xC3\xA0 vu")},          // Latin-1
  };
  for (const Case& c : cases) {
    SetComment(tree(), Ply(1), NodeStore::kAfter, c.bytes, true);
    tree().MarkChanged();
    view->Refresh();
    EXPECT_EQ(view->LineText(view->LineOfNode(Ply(1)) + 1), c.shown);
    EXPECT_EQ(*store.Comment(Ply(1), NodeStore::kAfter), c.bytes);  // the bytes stay as they were
  }
}

}  // namespace
}  // namespace varnock::testing
