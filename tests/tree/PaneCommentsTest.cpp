// The comment panes' load and store rules, and the edit count that tells a
// view the tree changed.
#include "CommandFixture.h"
#include "tree/BranchCommands.h"
#include "tree/Comments.h"
#include "tree/PaneComments.h"

namespace varnock::testing {
namespace {

class PaneCommentsTest : public CommandTest {
 protected:
  PaneCommentsTest() {
    e4 = build.Play("e2e4");
    e5 = build.Play("e7e5");
  }
  NodeRef e4 = kNoNode, e5 = kNoNode;
};

TEST_F(PaneCommentsTest, StoresReplacesAndRemovesOnlyWhenTheTextReallyChanges) {
  struct Case {
    const char* stored;  // the comment before the edit (nullptr: none)
    const char* edited;  // what the pane holds
    const char* after;   // the comment afterwards (nullptr: none)
    bool changes;
  };
  const Case cases[] = {
      {nullptr, "Best by test", "Best by test", true},
      {"Best by test", "", nullptr, true},              // cleared: removed, flag off
      {"Best by test", "  \r\n\t\r\n", nullptr, true},  // white space only: removed
      {"old", "new\r\n\r\n\r\n", "new", true},          // trailing blank lines dropped
      {"same", "same", "same", false},                  // nothing typed
      {"same", "same  \r\n", "same", false},            // only trailing blanks added
      {nullptr, "", nullptr, false},                    // nothing on an empty move
      {"line one\r\nline two", "line one\r\nline 2", "line one\r\nline 2", true},
  };
  for (const Case& c : cases) {
    SetComment(game, e4, NodeStore::kAfter, c.stored ? c.stored : "", true);
    Remember();
    const std::uint64_t revision = game.Revision();
    EXPECT_EQ(StorePaneComment(game, e4, NodeStore::kAfter, c.edited), c.changes) << c.edited;
    EXPECT_EQ(game.Revision() != revision, c.changes);
    if (c.changes) {
      ExpectChanged();
    } else {
      ExpectUntouched();
    }
    const std::string* now = store.Comment(e4, NodeStore::kAfter);
    EXPECT_EQ(now != nullptr, c.after != nullptr) << c.edited;
    EXPECT_EQ(game.Node(e4).Has(kFlagCommentAfter), c.after != nullptr);
    if (now && c.after) {
      EXPECT_EQ(*now, c.after);
    }
    EXPECT_EQ(PaneCommentOf(game, e4, NodeStore::kAfter), c.after ? c.after : "");
  }
}

TEST_F(PaneCommentsTest, KindsAreSeparateAndFreedNodesAreLeftAlone) {
  SetComment(game, e5, NodeStore::kBefore, "before", true);
  EXPECT_TRUE(StorePaneComment(game, e5, NodeStore::kAfter, "after"));
  EXPECT_EQ(PaneCommentOf(game, e5, NodeStore::kBefore), "before");
  EXPECT_EQ(PaneCommentOf(game, e5, NodeStore::kAfter), "after");
  // A map entry without its flag bit is not shown.
  game.Node(e5).Set(kFlagCommentBefore, false);
  EXPECT_EQ(PaneCommentOf(game, e5, NodeStore::kBefore), "");

  // The pane's move was cut off by another command before it committed.
  ASSERT_TRUE(CmTruncate(game, e4, false, prompt));
  ASSERT_FALSE(game.Node(e5).InUse());
  Remember();
  EXPECT_FALSE(StorePaneComment(game, e5, NodeStore::kAfter, "lost move"));
  EXPECT_EQ(PaneCommentOf(game, e5, NodeStore::kAfter), "");
  ExpectUntouched();
}

}  // namespace
}  // namespace varnock::testing
