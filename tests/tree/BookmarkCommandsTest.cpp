#include "CommandFixture.h"
#include "tree/BookmarkCommands.h"
#include "tree/Bookmarks.h"

namespace varnock::testing {
namespace {

constexpr int kE4 = SquareAt(4, 4);

class BookmarkCommandsTest : public CommandTest {};

TEST_F(BookmarkCommandsTest, ToggleAndMenuText) {
  const NodeRef e4 = build.Play("e2e4");
  EXPECT_EQ(BookmarkMenuText(game), "Set &Bookmark\tAlt+F2");
  CmToggleBookmark(game);
  EXPECT_EQ(BookmarkOf(game, e4), 1);
  EXPECT_EQ(BookmarkMenuText(game), "Remove &Bookmark\tAlt+F2");
  ExpectChanged();
  CmToggleBookmark(game);
  EXPECT_FALSE(BookmarkOf(game, e4));
}

TEST_F(BookmarkCommandsTest, PlayedToMarksEveryLineNumberingFromTheHighest) {
  const NodeRef e4 = build.Play("e2e4");
  build.Play("e7e5 g1f3");
  const NodeRef d5 = build.Alternative(game.root, "d2d4 d7d5");
  const NodeRef secondE4 = build.Alternative(game.Node(d5).parent, "e7e6 e2e4");
  SetBookmark(game, d5, 5);

  CmBMPlayedTo(game, prompt, kE4);
  ExpectLastMessage("CmBMPlayedTo()", "2 bookmarks have been added");
  // Numbered in tree order, where alternatives come before the continuation.
  EXPECT_EQ(BookmarkOf(game, secondE4), 6);
  EXPECT_EQ(BookmarkOf(game, e4), 7);
  EXPECT_EQ(game.bookmarks.front().number, 7);
  ExpectChanged();

  Remember();
  CmBMPlayedTo(game, prompt, kE4);  // every such move already has one
  ExpectLastMessage("CmBMPlayedTo()", "0 bookmarks have been added");
  ExpectUntouched();

  // The square as shown on a flipped board: e4's mirror is d5.
  game.boardFlipped = true;
  CmBMPlayedFrom(game, prompt, 63 - SquareAt(6, 7));  // g1
  ExpectLastMessage("CmBMPlayedFrom()", "1 bookmark has been added");
  CmBMPlayedFrom(game, prompt, 63 - SquareAt(7, 3));  // h5
  ExpectLastMessage("CmBMPlayedFrom()", "No moves have been played from square h5");
  game.boardFlipped = false;
  CmBMPlayedTo(game, prompt, SquareAt(0, 0));  // a8: the root's squares are no move
  ExpectLastMessage("CmBMPlayedTo()", "No moves have been played to square a8");
}

TEST_F(BookmarkCommandsTest, DeleteAll) {
  Remember();
  CmBMDeleteAll(game, prompt);
  ExpectLastMessage("CmBMDeleteAll()", "No bookmarks were found in the current game");

  SetBookmark(game, build.Play("e2e4"));
  Remember();
  prompt.No();
  CmBMDeleteAll(game, prompt);
  ExpectLastMessage("CmBMDeleteAll()",
                    "Warning.\nAbout to delete all bookmarks from the current game.\n\nDo you wish to continue?");
  ExpectUntouched();

  prompt.Yes();
  CmBMDeleteAll(game, prompt);
  ExpectLastMessage("RemoveBookmarks()", "1 bookmark deleted");
  EXPECT_TRUE(game.bookmarks.empty());

  SetBookmark(game, game.root);
  SetBookmark(game, game.current);
  prompt.Yes();
  CmBMDeleteAll(game, prompt);
  ExpectLastMessage("RemoveBookmarks()", "2 bookmarks deleted");
}

TEST_F(BookmarkCommandsTest, DisplayListDeletesAndGoesToTheChosenLine) {
  auto unused = [](const BookmarkListing&) -> BookmarkListOutcome {
    ADD_FAILURE() << "no list without bookmarks";
    return {};
  };
  CmBMDisplay(game, prompt, unused);
  ExpectLastMessage("CmBMDisplay()", "There are no bookmarks in the game tree");

  build.Play("e2e4 e7e5");
  const NodeRef nf3 = build.Alternative(build.OnActiveLine(1), "c7c5 g1f3");
  SetBookmark(game, build.OnActiveLine(1));
  SetBookmark(game, nf3);
  BookmarkListing shown;
  CmBMDisplay(game, prompt, [&](const BookmarkListing& listing) {
    shown = listing;
    return BookmarkListOutcome{{1}, 0};
  });
  EXPECT_EQ(shown.title, " Bookmarks ( 2 )");
  ASSERT_EQ(shown.entries.size(), 2u);
  EXPECT_EQ(shown.entries[0].number, 2);
  EXPECT_EQ(shown.entries[0].moveNumber, 2);
  EXPECT_EQ(shown.entries[1].number, 1);
  EXPECT_EQ(shown.entries[1].moveNumber, 1);
  EXPECT_FALSE(BookmarkOf(game, build.OnActiveLine(1)));
  EXPECT_EQ(game.current, nf3);
  EXPECT_EQ(game.lineEnd, nf3);
  EXPECT_EQ(build.OnActiveLine(3), nf3);
  ExpectChanged();
}

}  // namespace
}  // namespace varnock::testing
