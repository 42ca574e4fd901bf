#include "openings/ExplorerMovePlay.h"

#include "core/Board.h"

namespace varnock {

namespace {

// Passes every question on and notes whether a pick was cancelled.
class PickWatch : public UserPrompt {
 public:
  explicit PickWatch(UserPrompt& inner) : inner_(inner) {}
  bool cancelled = false;

  bool AskYesNo(const std::string& caption, const std::string& text) override { return inner_.AskYesNo(caption, text); }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    return inner_.AskOkCancel(caption, text);
  }
  void Inform(const std::string& caption, const std::string& text) override { inner_.Inform(caption, text); }
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override {
    std::optional<int> choice = inner_.Choose(title, items);
    cancelled = cancelled || !choice;
    return choice;
  }
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override {
    return inner_.AskText(title, prompt, initial);
  }
  std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                              const std::string& extension) override {
    return inner_.ChooseFileToOpen(title, filter, extension);
  }
  std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                              const std::string& extension) override {
    return inner_.ChooseFileToSave(title, filter, extension);
  }
  void ShowFile(const std::string& path, const std::string& title) override { inner_.ShowFile(path, title); }

 private:
  UserPrompt& inner_;
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
