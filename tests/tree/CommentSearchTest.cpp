#include <pthread.h>

#include <chrono>
#include <functional>

#include "CommandFixture.h"
#include "support/SmallStack.h"
#include "tree/CommentSearch.h"
#include "tree/Comments.h"
#include "tree/TreeOrder.h"

namespace varnock::testing {
namespace {

std::string NotFound(const std::string& text, const std::string& suffix) {
  return "'" + text + "'\r\n\r\nThis string could not be found." + suffix;
}

class CommentSearchTest : public CommandTest {
 protected:
  // 1.e4 e5 2.Nf3 with 1...c5 and, newer, 1...e6 2.d4 (itself with 2.Nc3).
  void BuildGame() {
    e4 = build.Play("e2e4");
    e5 = build.Play("e7e5");
    nf3 = build.Play("g1f3");
    c5 = build.Alternative(e4, "c7c5");
    d4 = build.Alternative(e4, "e7e6 d2d4");
    e6 = game.Node(d4).parent;
    nc3 = build.Alternative(e6, "b1c3");
    Comment(e4, "King pawn");
    Comment(c5, "The Sicilian");
    Comment(e6, "the French");
    Comment(nc3, "Paulsen");
    SetComment(game, nf3, NodeStore::kBefore, "knight out, then the KING", true);
  }
  void Comment(NodeRef node, const std::string& text) { SetComment(game, node, NodeStore::kAfter, text, true); }
  void Find(const std::string& text, bool forward = true) {
    settings.forward = forward;
    prompt.Type(text);
    CmFind(game, prompt, settings);
  }

  NodeRef e4{}, e5{}, nf3{}, c5{}, e6{}, d4{}, nc3{};
  FindSettings settings;
};

TEST_F(CommentSearchTest, RingIsInTreeOrderNewestAlternativeFirst) {
  BuildGame();
  EXPECT_EQ(NodesInTreeOrder(game), (std::vector<NodeRef>{game.root, e4, e6, nc3, d4, c5, e5, nf3}));
  EXPECT_EQ(MoveCount(game), 7u);  // the same nodes, counted, the root left out
  const MoveCounts counts = CountMoves(game);
  EXPECT_EQ(counts.all, 7u);
  EXPECT_EQ(counts.mainLine, 3u);  // e4 e5 Nf3: the alternatives' moves are not on it
  EXPECT_EQ(CreateCommentsList(game), (std::vector<NodeRef>{e4, e6, nc3, c5, nf3}));
}

TEST_F(CommentSearchTest, FindsForwardAndBackwardWrappingAndActivatingLines) {
  BuildGame();
  game.current = game.root;
  Find("the");
  EXPECT_EQ(prompt.Records()[0].kind, ScriptedPrompt::Kind::Text);
  EXPECT_EQ(game.current, e6);  // "the French", on an alternative line
  EXPECT_EQ(build.OnActiveLine(2), e6);
  EXPECT_EQ(game.lineEnd, d4);
  ExpectChanged();

  CmFindNext(game, prompt, settings);
  EXPECT_EQ(game.current, c5);  // "The Sicilian": case does not matter
  CmFindNext(game, prompt, settings);
  EXPECT_EQ(game.current, nf3);  // a comment before the move
  CmFindNext(game, prompt, settings);
  EXPECT_EQ(game.current, e6);  // around the ring

  settings.forward = false;
  CmFindNext(game, prompt, settings);
  EXPECT_EQ(game.current, nf3);

  settings.matchCase = true;
  settings.forward = true;
  Find("The");
  EXPECT_EQ(game.current, c5);
  EXPECT_EQ(prompt.Records().size(), 2u);  // two text entries, no message
}

TEST_F(CommentSearchTest, Messages) {
  Remember();
  CmFind(game, prompt, settings);
  ExpectLastMessage("CmFind()", "No comments were found in the game tree");
  CmFindNext(game, prompt, settings);
  ExpectLastMessage("FindNext()", "No comments were found in the game tree");
  ExpectUntouched();

  BuildGame();  // comments invalidate the ring
  game.current = e5;
  Remember();
  Find("Najdorf");
  ExpectLastMessage("CmFindNext()", NotFound("Najdorf", "\r\n5 comments were searched."));
  Find("Paulsen", false);
  EXPECT_EQ(game.current, nc3);
  CmFindNext(game, prompt, settings);
  ExpectLastMessage("CmFindNext()",
                    "'Paulsen'\r\n\r\nOnly one occurrence of this string could be found\r\n5 comments were searched.");

  // After the tree changes, the continuing search rebuilds the ring.
  SetComment(game, nc3, NodeStore::kAfter, "", true);
  SetComment(game, e6, NodeStore::kAfter, "", true);
  SetComment(game, c5, NodeStore::kAfter, "", true);
  SetComment(game, nf3, NodeStore::kBefore, "", true);
  settings.text = "Najdorf";
  CmFindNext(game, prompt, settings);
  ExpectLastMessage("CmFindNext()", NotFound("Najdorf", "\r\n1 comment was found."));
  SetComment(game, e4, NodeStore::kAfter, "", true);
  CmFindNext(game, prompt, settings);
  ExpectLastMessage("CreateCommentsList()", "No comments were found in the game tree");
}

TEST_F(CommentSearchTest, DeeplyNestedVariationsNeedNoDeepStack) {
  // Every line has two moves; the next line is an alternative to the second
  // move of the previous one, 10,000 lines deep.
  constexpr int kDepth = 10000;
  const char* shuffle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
  NodeRef first = build.Play(shuffle[0]);
  build.Play("a7a6");
  for (int depth = 1; depth <= kDepth; ++depth) {
    NodeRef last = build.Alternative(first, std::string(shuffle[depth % 4]) + (depth % 2 ? " a2a3" : " a7a6"));
    ASSERT_NE(last, kNoNode);
    first = game.Node(last).parent;
  }
  const NodeRef deepest = store.Node(first).next;
  Comment(deepest, "deep note");
  Comment(build.OnActiveLine(2), "shallow note");

  auto start = std::chrono::steady_clock::now();
  RunOnSmallStack([&] {
    EXPECT_EQ(CreateCommentsList(game).size(), 2u);
    EXPECT_EQ(CreateCommentsList(game).front(), deepest);
    Find("deep");
    EXPECT_EQ(game.current, deepest);
    EXPECT_EQ(game.lineEnd, deepest);
    Find("SHALLOW");
    EXPECT_EQ(game.current, build.OnActiveLine(2));
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RecordProperty("deep_search_seconds", std::to_string(seconds));
}

}  // namespace
}  // namespace varnock::testing
