#include "tree/PrimaryCommands.h"

#include "tree/LineActivation.h"

namespace varnock {

void CmGoToPrimary(GameTree& game, UserPrompt& prompt) {
  if (game.primary == kNoNode) {
    prompt.Inform("CmGoToPrimary()", "No position in the game tree is marked as the primary position");
    return;
  }
  ActivateAndGoTo(game, game.primary);
}

void MarkCurrentAsPrimary(GameTree& game) {
  if (game.primary == game.current) return;
  game.primary = game.current;
  game.MarkChanged();
}

}  // namespace varnock
