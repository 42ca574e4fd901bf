#include "openings/ExplorerMovePlay.h"

#include "core/Board.h"
#include "core/ForwardingPrompt.h"

namespace varnock {

namespace {

// Passes every question on and notes whether a pick was cancelled.
class PickWatch : public ForwardingPrompt {
 public:
  explicit PickWatch(UserPrompt& inner) : ForwardingPrompt(inner) {}
  bool cancelled = false;

  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override {
    std::optional<int> choice = ForwardingPrompt::Choose(title, items);
    cancelled = cancelled || !choice;
    return choice;
  }
};

}  // namespace

EntryOutcome PlayExplorerMove(GameTree& game, const SExplorerMove& row, UserPrompt& prompt) {
  if (row.from < 0 || row.from >= 64 || row.to < 0 || row.to >= 64) return EntryOutcome::Refused;
  if ((game.board[static_cast<std::size_t>(row.from)] & kColourMask) != game.sideToMove) {
    prompt.Inform(kExplorerMoveCaption, "'" + row.moveText + "'\r\n\r\nInvalid piece selection.\r\nIt is " +
                                            ColourName(game.sideToMove) + " to move.");
    return EntryOutcome::Refused;
  }
  // The squares as the board shows them; entry on the shown board takes
  // them back to the board's own.
  const int from = game.boardFlipped ? 63 - row.from : row.from;
  const int to = game.boardFlipped ? 63 - row.to : row.to;
  PickWatch watch(prompt);
  const EntryOutcome outcome = PlayMoveOnScreen(game, FileOf(from), RowOf(from), FileOf(to), RowOf(to), watch);
  if (outcome == EntryOutcome::Refused && !watch.cancelled && !game.statusText.empty())
    prompt.Inform(kMoveEntryCaption, game.statusText);
  return outcome;
}

}  // namespace varnock
