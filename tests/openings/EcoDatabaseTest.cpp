// Loading the opening table: the built-in resource, the two indexes with
// their order among equal keys, malformed lines and the loader's messages.
#include <gtest/gtest.h>

#include "EcoTesting.h"
#include "openings/MoveTextHash.h"
#include "openings/SMemCompress.h"
#include "support/ScriptedPrompt.h"

namespace varnock {
namespace {

using testing::ScriptedPrompt;

TEST(EcoDatabase, TheBuiltInTableIsTheTableFile) {
  const EcoTable& table = *testing::BuiltInDatabase().Table();
  const std::string file = testing::EcoTableFile();
  EXPECT_TRUE(table.Text() == file);
  EXPECT_EQ(table.Lines().size(), 3807u);
  EXPECT_EQ(table.SkippedLines(), 0u);

  const EcoLine* polish = table.FirstByMoveKey(MoveTextHash("d2d4b7b5"));
  ASSERT_NE(polish, nullptr);
  EXPECT_EQ(polish->code, "A40");
  EXPECT_EQ(polish->name, "Polish Defense");
  EXPECT_EQ(polish->HalfMoves(), 2);
  EXPECT_EQ(file.compare(polish->offset, 13, "A40\td2d4b7b5\t"), 0);
  EXPECT_EQ(table.FirstByPositionKey(0x00f21dfc), polish);
  EXPECT_EQ(table.FirstByMoveKey(MoveTextHash("e2e4e5")), nullptr);
}

TEST(EcoDatabase, EqualKeysGiveTheLatestLine) {
  const EcoTable& table = *testing::BuiltInDatabase().Table();
  // The table's one transposition: the Van Geet line (A00) and the King's
  // Gambit line (C33) reach the same position; the later line wins.
  const auto find = [&](std::string_view moves) { return table.FirstByMoveKey(MoveTextHash(moves)); };
  const EcoLine* vanGeet = find("b1c3e7e5f2f4e5f4e2e4");
  const EcoLine* kingsGambit = find("e2e4e7e5f2f4e5f4b1c3");
  ASSERT_TRUE(vanGeet && kingsGambit);
  EXPECT_EQ(vanGeet->finalPosition, kingsGambit->finalPosition);
  EXPECT_EQ(table.FirstByPositionKey(PositionKey(vanGeet->finalPosition)), kingsGambit);
  EXPECT_EQ(table.FindPosition(vanGeet->finalPosition, PositionKey(vanGeet->finalPosition)), kingsGambit);
}

TEST(EcoDatabase, MalformedLinesAreLeftOut) {
  EcoTable table(
      "A00\tg1h3\tAmar Opening\r\n"  // a CR before the line end is no part of the name
      "A01\tb2b3\n"                  // no name
      "A02\tf2f4x\tBird\n"           // not whole half-moves
      "A03\tf2f9\tBird\n"            // no such square
      "\n"
      "A04\t\tg1f3\tReti\t(extra)\n"  // doubled TABs are skipped; the name ends at a TAB
      "B00\te2e4b8c6\tNimzowitsch");  // no final line end
  ASSERT_EQ(table.Lines().size(), 3u);
  EXPECT_EQ(table.SkippedLines(), 3u);
  EXPECT_EQ(table.Lines()[0].name, "Amar Opening");
  EXPECT_EQ(table.Lines()[1].moves, "g1f3");
  EXPECT_EQ(table.Lines()[1].name, "Reti");
  EXPECT_EQ(table.Lines()[2].offset, table.Text().find("B00"));
}

TEST(EcoDatabase, LoaderMessagesAndNoSecondTry) {
  {
    EcoDatabase database;
    ScriptedPrompt prompt;
    EXPECT_FALSE(database.Start(nullptr, prompt));
    EXPECT_FALSE(database.Start(nullptr, prompt));
    ASSERT_EQ(prompt.Records().size(), 1u);
    EXPECT_EQ(prompt.Last().caption, "StartECODatabase()");
    EXPECT_EQ(prompt.Last().text, "FindResource() could not find ECO database");
    EXPECT_EQ(database.Table(), nullptr);
  }
  {
    EcoDatabase database;
    ScriptedPrompt prompt;
    EXPECT_FALSE(database.Start(ResourceBytes{nullptr, 10}, prompt));
    EXPECT_EQ(prompt.Last().text, "LoadResource() could not load ECO database");
  }
  {
    // A resource cut short: the codec's message.
    const ResourceBytes builtIn = BuiltInEcoResource();
    EcoDatabase database;
    ScriptedPrompt prompt;
    EXPECT_FALSE(database.Start(ResourceBytes{builtIn.data, builtIn.size / 2}, prompt));
    EXPECT_EQ(prompt.Last().text, "Fatal error during code expansion");
  }
}

}  // namespace
}  // namespace varnock
