// A game with a scripted prompt and a count of change notices, for the
// editing-command tests.
#pragma once

#include <gtest/gtest.h>

#include "support/GameBuilder.h"
#include "support/ScriptedPrompt.h"
#include "tree/GameTree.h"

namespace varnock::testing {

struct ChangeCounter : GameObserver {
  int changes = 0;
  void GameChanged() override { ++changes; }
};

class CommandTest : public ::testing::Test {
 protected:
  CommandTest() { game.observer = &counter; }
  ~CommandTest() override { game.observer = nullptr; }

  // The game's state before a command that is expected to change nothing.
  void Remember() {
    before = DumpGame(game);
    game.changed = false;
    counter.changes = 0;
  }
  void ExpectUntouched() {
    EXPECT_EQ(DumpGame(game), before);
    EXPECT_FALSE(game.changed);
    EXPECT_EQ(counter.changes, 0);
  }
  void ExpectChanged() {
    EXPECT_TRUE(game.changed);
    EXPECT_GT(counter.changes, 0);
  }
  void ExpectLastMessage(const std::string& caption, const std::string& text) {
    ASSERT_FALSE(prompt.Records().empty());
    EXPECT_EQ(prompt.Last().caption, caption);
    EXPECT_EQ(prompt.Last().text, text);
  }

  NodeStore store;
  GameTree game{store};
  GameBuilder build{game};
  ScriptedPrompt prompt;
  ChangeCounter counter;
  std::string before;
};

}  // namespace varnock::testing
