#include "tree/GameFen.h"

#include "core/Fen.h"
#include "core/Format.h"
#include "tree/Positions.h"

namespace varnock {

std::string GetFEN(GameTree& game, bool copy, UserPrompt* prompt, Clipboard* clipboard) {
  const BoardSquares board = BoardAt(game.Store(), game.current);
  std::string fen = NodeFEN(game.Store(), game.current, board);
  if (!copy) return fen;
  const char* caption = "SGridFrame()::GetFEN()";
  FENExtras parsed;
  FenCheck check = ParseFEN(fen, parsed);
  if (!check.ok && prompt)
    prompt->Inform(caption, Format("'%s'\r\n\r\nWarning.  Bad FEN string.\r\n%s", fen.c_str(), check.message.c_str()));
  if (clipboard) clipboard->SetText(fen);
  if (prompt)
    prompt->Inform(caption, Format("FEN string has been copied to the Windows Clipboard\r\n\r\n%s", fen.c_str()));
  return fen;
}

SetPositionResult SetPosition(GameTree& game, const std::string& fen) {
  SetPositionResult outcome;
  FENExtras parsed;
  FenCheck check = ParseFEN(fen, parsed);
  outcome.message = check.message;
  outcome.side = parsed.sideToMove;
  if (check.rejected) {
    outcome.result = -1;
    return outcome;
  }
  NodeStore& store = game.Store();
  store.SetComposed(game.current, parsed);
  game.ForgetLastCreated();
  game.board = parsed.board;
  game.sideToMove = parsed.sideToMove;
  LocateKings(game.board, game.kings);
  outcome.result = check.ok ? 1 : 0;
  return outcome;
}

}  // namespace varnock
