#include "GameTextTesting.h"

#include <QTest>

#include "formats/PgnReader.h"
#include "support/ScriptedPrompt.h"

namespace varnock::testing {

std::unique_ptr<SGridFrame> ReadGameText(const std::string& pgn, NodeStore& store) {
  auto game = std::make_unique<SGridFrame>(store);
  SErrorList errors;
  ScriptedPrompt prompt;
  PgnReadContext context;
  context.text = pgn;
  context.errors = &errors;
  context.prompt = &prompt;
  if (!Do_FilePGN(*game, ReadMode::Full, context)) return nullptr;
  return game;
}

std::string LongAnnotatedGame() {
  // Knights out and back: legal for ever, and every fourth move pair
  // carries a variation and a comment.
  std::string text = "[Event \"Long\"]\n\n";
  const char* cycle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
  for (int move = 0; move < 200; ++move) {
    if (move % 2 == 0) text += std::to_string(move / 2 + 1) + ". ";
    text += cycle[move % 4];
    text += ' ';
    if (move % 8 == 1) text += "(" + std::to_string(move / 2 + 1) + "... Nc6) ";
    if (move % 8 == 4) text += "{A comment on move " + std::to_string(move / 2 + 1) + "} ";
  }
  return text + "*\n";
}

bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace varnock::testing
