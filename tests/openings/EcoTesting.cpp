#include "EcoTesting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "formats/PgnReader.h"
#include "support/ScriptedPrompt.h"

namespace varnock::testing {

PgnGames::PgnGames(std::string pgn) : text(std::move(pgn)) {
  SErrorList errors;
  ScriptedPrompt prompt;
  PgnReadContext ctx;
  ctx.text = text;
  ctx.errors = &errors;
  ctx.prompt = &prompt;
  for (;;) {
    auto game = std::make_unique<SGridFrame>(store);
    if (!Do_FilePGN(*game, ReadMode::Full, ctx)) break;
    games.push_back(std::move(game));
  }
}

std::string EcoTableFile() {
  std::ifstream in(std::string(VARNOCK_SOURCE_DIR) + "/data/eco/eco.txt", std::ios::binary);
  EXPECT_TRUE(in) << "data/eco/eco.txt is missing";
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

EcoDatabase& BuiltInDatabase() {
  static EcoDatabase database;
  ScriptedPrompt prompt;
  EXPECT_TRUE(database.Start(prompt));
  EXPECT_TRUE(prompt.Records().empty());
  return database;
}

EcoDatabase DatabaseOf(std::string tableText) { return EcoDatabase(std::make_unique<EcoTable>(std::move(tableText))); }

}  // namespace varnock::testing
