#include <gtest/gtest.h>

#include "PgnTestGame.h"
#include "formats/GetPgn.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::PgnTestGame;
using testing::ScriptedPrompt;

struct RecordingClipboard : Clipboard {
  void SetText(const std::string& text) override {
    this->text = text;
    ++copies;
  }
  std::string text;
  int copies = 0;
};

constexpr const char* kQuestion =
    "Warning.\r\n\r\nIrregular moves or internal compositions have been detected in the game.  Such moves cannot "
    "normally be stored using the PGN format.  The lines of play in the PGN text may be truncated at these "
    "moves.\r\n\r\nDo you wish to continue?";

struct Export {
  PgnTestGame g;
  ScriptedPrompt prompt;
  RecordingClipboard clipboard;
  GetPgnContext context{prompt, clipboard};
  PgnExportOptions options;
};

TEST(GetPGN, CopiesTheGameAndReportsItsLength) {
  Export e;
  e.g.Read("e2e4 e7e5");
  e.options.includeVariations = 1;
  e.options.extensions = 1;
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 1);
  EXPECT_EQ(e.clipboard.text, e.g.Written(e.options));
  EXPECT_NE(e.clipboard.text.find("%AP[Varnock:17 Portable]\r\n"), std::string::npos);
  ASSERT_EQ(e.prompt.Records().size(), 1u);
  EXPECT_EQ(e.prompt.Last().kind, ScriptedPrompt::Kind::Inform);
  EXPECT_EQ(e.prompt.Last().caption, "GetPGN()");
  EXPECT_EQ(e.prompt.Last().text, "PGN text ( " + std::to_string(e.clipboard.text.size()) +
                                      " characters ) has been copied to the Windows Clipboard\r\n");
}

TEST(GetPGN, AsksAboutIrregularMovesAndNoEndsTheCommand) {
  Export e;
  e.g.Read("e2e4 a8a8 g1f3");  // a pass is an irregular move
  e.prompt.No();
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 0);
  EXPECT_EQ(e.clipboard.copies, 0);
  ASSERT_EQ(e.prompt.Records().size(), 1u);
  EXPECT_EQ(e.prompt.Last().kind, ScriptedPrompt::Kind::YesNo);
  EXPECT_EQ(e.prompt.Last().caption, "GetPGN()");
  EXPECT_EQ(e.prompt.Last().text, kQuestion);

  e.prompt.Yes();
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 1);
  EXPECT_NE(e.clipboard.text.find(" 1. e4 -- 2. Nf3  *"), std::string::npos);
}

TEST(GetPGN, VariationsAreCheckedOnlyWhenIncluded) {
  Export e;
  const NodeRef e4 = e.g.Read("e2e4");
  e.g.Read("e7e5");
  e.g.Alternative(e4, "a8a8");
  EXPECT_FALSE(HasIrregularMoves(e.g.tree, false));
  EXPECT_TRUE(HasIrregularMoves(e.g.tree, true));
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 1);  // no question asked
  e.options.includeVariations = 1;
  e.prompt.No();
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 0);
  EXPECT_TRUE(e.prompt.AllAnswersUsed());

  Export setUp;  // a set-up root is written as FEN and asks nothing
  setUp.g.SetUpRoot("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  EXPECT_FALSE(HasIrregularMoves(setUp.g.tree, true));
}

TEST(GetPGN, PreviewHandsTheTextToTheViewerInsteadOfTheClipboard) {
  Export e;
  e.g.Read("d2d4");
  std::string shown;
  e.context.preview = [&](const std::string& text) { shown = text; };
  e.options.preview = 1;
  EXPECT_EQ(GetPGN(e.g.game, e.options, e.context), 1);
  EXPECT_EQ(shown, e.g.Written(e.options));
  EXPECT_EQ(e.clipboard.copies, 0);
  EXPECT_TRUE(e.prompt.Records().empty());
}

}  // namespace
}  // namespace varnock
