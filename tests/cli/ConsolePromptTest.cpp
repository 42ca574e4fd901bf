#include <gtest/gtest.h>

#include "cli/ConsolePrompt.h"

namespace varnock::cli {
namespace {

TEST(ConsolePrompt, QuestionsGoToStderrOnOneLineWithTheirAnswer) {
  EXPECT_EQ(ConsolePrompt::OneLine("Warning.\nAbout to truncate.\r\n\r\nDo you wish to continue?"),
            "Warning.\\nAbout to truncate.\\n\\nDo you wish to continue?");
  ::testing::internal::CaptureStderr();
  ConsolePrompt no(false);
  EXPECT_FALSE(no.AskYesNo("CmTruncate()", "Warning.\nAbout to truncate."));
  ConsolePrompt yes(true);
  EXPECT_TRUE(yes.AskYesNo("CmInvalid()", "It is White to move.\r\n"));
  yes.Inform("Compose()", "No changes were detected");
  EXPECT_FALSE(yes.Choose(" Promotion Piece", {"QUEEN"}).has_value());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "CmTruncate(): Warning.\\nAbout to truncate. -> No\n"
            "CmInvalid(): It is White to move.\\n -> Yes\n"
            "Compose(): No changes were detected\n"
            " Promotion Piece: (no choice) -> Cancel\n");
}

}  // namespace
}  // namespace varnock::cli
