#include "engine/AnalysisCommands.h"

#include "core/Fen.h"
#include "core/Format.h"
#include "core/ForwardingPrompt.h"
#include "engine/EngineLineText.h"

namespace varnock {

namespace {

constexpr const char* kAlreadyRunning = "A UCI engine is already running";

// Answers the promotion picker with the piece the engine line names and
// passes every other question on.
class PromotionAnswer : public ForwardingPrompt {
 public:
  PromotionAnswer(UserPrompt& user, int choice) : ForwardingPrompt(user), choice_(choice) {}
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override {
    if (choice_ >= 0 && static_cast<std::size_t>(choice_) < items.size()) return choice_;
    return ForwardingPrompt::Choose(title, items);
  }

 private:
  int choice_;
};

// The place of a promotion piece in the move entry's picker ("QUEEN",
// "KNIGHT", "ROOK", "BISHOP"); -1 for none.
int PickerIndex(char letter) {
  switch (letter) {
    case 'q':
      return 0;
    case 'n':
    case 'k':
      return 1;
    case 'r':
      return 2;
    case 'b':
      return 3;
    default:
      return -1;
  }
}

}  // namespace

bool MayLaunchAnalysis(bool engineThreadRunning, UserPrompt& prompt) {
  if (!engineThreadRunning) return true;
  prompt.Inform("CmUCILaunch()", kAlreadyRunning);
  return false;
}

bool MayLaunchComposedAnalysis(bool engineThreadRunning, const std::string& fen, UserPrompt& prompt) {
  if (engineThreadRunning) {
    prompt.Inform("SDlgCompose::CmUCI()", kAlreadyRunning);
    return false;
  }
  FENExtras parsed;
  FenCheck check = ParseFEN(fen, parsed);
  if (!check.ok) {
    prompt.Inform("SDlgCompose()::CmUCI()",
                  Format("'%s'\r\n\r\nInvalid FEN string.\r\n%s", fen.c_str(), check.message.c_str()));
    return false;
  }
  return true;
}

EntryOutcome CmAddSequence(GameTree& game, const SUCISequence& line, UserPrompt& prompt) {
  if (game.current != line.position.move) {
    prompt.Inform("FrameWin::CmAddSequence ()",
                  "Unable to do the action.\n\nThe main application window is showing a different position to that "
                  "which was used for the UCI prediction.");
    return EntryOutcome::Refused;
  }
  if (game.gameId != line.position.game) return EntryOutcome::Refused;

  const std::string& text = line.coordinates;
  const std::string first = text.substr(0, text.find(' '));
  // The fifth character may also name a knight "k".
  const char letter = first.size() == 5 ? first[4] : 0;
  CoordinateMove move;
  const std::string plain = first.substr(0, 4);
  if (!ParseCoordinateMove(plain, move)) return EntryOutcome::Refused;

  // Squares as the board shows them, so that the entry mirrors them back on a
  // board seen from Black's side, as for a move made with the mouse.
  int fromFile = FileOf(move.from), fromRow = RowOf(move.from);
  int toFile = FileOf(move.to), toRow = RowOf(move.to);
  if (game.boardFlipped) {
    fromFile = 7 - fromFile, fromRow = 7 - fromRow;
    toFile = 7 - toFile, toRow = 7 - toRow;
  }
  PromotionAnswer answer(prompt, PickerIndex(letter));
  return PlayMoveOnScreen(game, fromFile, fromRow, toFile, toRow, answer);
}

}  // namespace varnock
