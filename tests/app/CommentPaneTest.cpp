// The comment panes through the real widgets: typed text is stored on its
// move when the pane loses the focus to the game text, or when the window
// commits before a command; reloads follow the current move; the
// before-move pane and its toggle.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "GameTextTesting.h"
#include "app/CommentPane.h"
#include "app/GameTextView.h"
#include "tree/Comments.h"
#include "tree/Navigation.h"

namespace varnock::testing {
namespace {

class CommentPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game = ReadGameText("1. e4 {Open} e5 2. Nf3 {Knight} Nc6 *\n", store);
    ASSERT_TRUE(game);
    e4 = store.Node(tree().root).next;
    e5 = store.Node(e4).next;
    nf3 = store.Node(e5).next;
    tree().changed = false;
    auto* layout = new QVBoxLayout(&window);
    after = new CommentPane(CommentPane::Kind::AfterMove, settings, &window);
    before = new CommentPane(CommentPane::Kind::BeforeMove, settings, &window);
    text = new GameTextView(settings, &window);
    for (QWidget* widget : {static_cast<QWidget*>(after), static_cast<QWidget*>(before), static_cast<QWidget*>(text)})
      layout->addWidget(widget);
    ASSERT_TRUE(ShowActive(window));
    GoToNode(tree(), e4, true);
    for (CommentPane* pane : {after, before}) pane->ShowGame(&tree());
    text->ShowGame(&tree());
  }
  GameTree& tree() { return game->Tree(); }
  void Type(CommentPane* pane, const QString& typed, bool replace = true) {
    pane->setFocus();
    if (replace) {
      pane->selectAll();
      QTest::keyClick(pane, Qt::Key_Delete);
    }
    const QStringList lines = typed.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
      if (i > 0) QTest::keyClick(pane, Qt::Key_Return);
      QTest::keyClicks(pane, lines[i]);
    }
  }
  // The user clicks the game text: the pane loses the focus.
  void ClickGameText() { QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(2, 2)); }
  std::string CommentAfter(NodeRef node) {
    const std::string* comment = store.Comment(node, NodeStore::kAfter);
    return comment ? *comment : "(none)";
  }

  NodeStore store;
  Settings settings;
  std::unique_ptr<SGridFrame> game;
  NodeRef e4 = kNoNode, e5 = kNoNode, nf3 = kNoNode;
  QWidget window;
  CommentPane* after = nullptr;
  CommentPane* before = nullptr;
  GameTextView* text = nullptr;
};

TEST_F(CommentPaneTest, TypedTextIsStoredWhenTheFocusLeaves) {
  struct Case {
    QString typed;
    std::string stored;  // "(none)": the comment and its flag are gone
    bool changes;
  };
  const Case cases[] = {
      {"Best by test", "Best by test", true},
      {"", "(none)", true},                        // cleared
      {"Two\nlines\n\n\n", "Two\r\nlines", true},  // trailing blank lines dropped, CR LF kept
      {"   \n  \n", "(none)", true},               // white space only
  };
  for (const Case& c : cases) {
    SetComment(tree(), e4, NodeStore::kAfter, "Open", true);
    after->Refresh();
    tree().changed = false;
    QSignalSpy edited(after, &CommentPane::GameEdited);
    Type(after, c.typed);
    EXPECT_EQ(CommentAfter(e4), "Open");  // nothing stored while typing
    ClickGameText();
    EXPECT_EQ(CommentAfter(e4), c.stored) << c.typed.toStdString();
    EXPECT_EQ(store.Node(e4).Has(kFlagCommentAfter), c.stored != "(none)");
    EXPECT_EQ(tree().changed, c.changes);
    EXPECT_EQ(edited.count(), c.changes ? 1 : 0);
    EXPECT_EQ(after->textCursor().position(), after->toPlainText().size());  // caret at the end
  }
}

TEST_F(CommentPaneTest, MovingWithoutTypingStoresNothingAndTheBytesStay) {
  const std::string latin1 = "D\xE9j\xE0 vu\r\nsecond line";
  SetComment(tree(), e4, NodeStore::kAfter, latin1, true);
  after->Refresh();
  EXPECT_EQ(after->toPlainText(), QString::fromUtf8("D\xC3\xA9j\xC3\xA0 vu\nsecond line"));
  QSignalSpy edited(after, &CommentPane::GameEdited);
  after->setFocus();
  ClickGameText();
  EXPECT_FALSE(after->Commit());
  for (NodeRef node : {e5, nf3, e4}) {
    GoToNode(tree(), node, true);
    after->Refresh();
    before->Refresh();
  }
  EXPECT_EQ(CommentAfter(e4), latin1);
  EXPECT_FALSE(tree().changed);
  EXPECT_EQ(edited.count(), 0);
  // An edit of a Latin-1 comment is stored in Latin-1.
  Type(after, "");
  after->insertPlainText(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));  // keys Qt Test cannot type
  EXPECT_TRUE(after->Commit());
  EXPECT_EQ(CommentAfter(e4), "\xE9t\xE9");
}

TEST_F(CommentPaneTest, ReloadsFollowTheCurrentMoveAndNeverDropTypedText) {
  EXPECT_EQ(after->toPlainText(), "Open");
  GoToNode(tree(), nf3, true);
  after->Refresh();
  EXPECT_EQ(after->toPlainText(), "Knight");
  EXPECT_EQ(after->Node(), nf3);

  // A refresh on the same move (an engine event) keeps what is being typed.
  Type(after, "Knight to f3");
  after->Refresh();
  EXPECT_EQ(after->toPlainText(), "Knight to f3");
  EXPECT_EQ(CommentAfter(nf3), "Knight");
  // A move made elsewhere while typing: the text goes to the move it was
  // typed for, then the pane shows the new move.
  QSignalSpy edited(after, &CommentPane::GameEdited);
  GoToNode(tree(), e5, true);
  after->Refresh();
  EXPECT_EQ(CommentAfter(nf3), "Knight to f3");
  EXPECT_EQ(after->toPlainText(), "");
  EXPECT_EQ(edited.count(), 1);
  // A command that removes the comment of the shown move reloads the pane.
  GoToNode(tree(), nf3, true);
  after->Refresh();
  SetComment(tree(), nf3, NodeStore::kAfter, "", true);
  after->Refresh();
  EXPECT_EQ(after->toPlainText(), "");
}

TEST_F(CommentPaneTest, TheBeforeMovePaneIsHiddenUntilToggledAndEditsItsOwnKind) {
  EXPECT_FALSE(before->isVisible());
  SetComment(tree(), e5, NodeStore::kBefore, "Prepare", true);
  GoToNode(tree(), e5, true);
  after->Refresh();
  before->Refresh();
  EXPECT_EQ(after->toPlainText(), "");  // the comment before shows nowhere else
  bool& option = settings.settings.showPreCommentWindow;
  before->ToggleShown(option);
  EXPECT_TRUE(option);
  EXPECT_TRUE(before->isVisible());
  EXPECT_EQ(before->toPlainText(), "Prepare");
  Type(before, "Prepare the centre");
  before->ToggleShown(option);  // hiding stores the typed text first
  EXPECT_FALSE(option);
  EXPECT_FALSE(before->isVisible());
  EXPECT_EQ(*store.Comment(e5, NodeStore::kBefore), "Prepare the centre");
  EXPECT_EQ(store.Comment(e5, NodeStore::kAfter), nullptr);
}

}  // namespace
}  // namespace varnock::testing
