#include "tree/MoveEntry.h"

#include "core/Attack.h"
#include "core/Format.h"
#include "core/Legality.h"
#include "core/SetAttacks.h"
#include "tree/Lines.h"
#include "tree/Navigation.h"
#include "tree/NodeCreation.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

char PieceLetter(std::uint8_t piece) {
  if (piece & kKing) return 'K';
  if (piece & kQueen) return 'Q';
  if (piece & kRook) return 'R';
  if (piece & kKnight) return 'N';
  if (piece & kBishop) return 'B';
  return 0;
}

// Whether an existing node makes the same move (and, for a promotion, the
// same piece).
bool SameMove(const GameTree& game, NodeRef node, int from, int to, std::uint8_t promotion) {
  const MoveNode& n = game.Node(node);
  if (n.From() != from || n.To() != to || n.Has(kFlagComposed)) return false;
  if (promotion == 0) return true;
  return (BoardAt(game.Store(), node)[static_cast<std::size_t>(to)] & kTypeMask) == promotion;
}

void ShowAfterEntry(GameTree& game) {
  ShowCurrentPosition(game);
  game.statusText = ToMoveText(game.sideToMove);
  if (game.observer) game.observer->CurrentNodeChanged();
}

// Follows an existing continuation or alternative; returns whether it did.
bool FollowExisting(GameTree& game, int from, int to, std::uint8_t promotion, EntryMode mode) {
  MoveNode& current = game.Node(game.current);
  if (current.next != kNoNode && SameMove(game, current.next, from, to, promotion)) {
    if (mode == EntryMode::Reading) {
      game.current = game.lineEnd = current.next;
      ShowCurrentPosition(game);
    } else {
      GoToNode(game, current.next);
    }
    return true;
  }
  if (!current.Has(kFlagBranch)) return false;
  auto* alternatives = game.Store().Alternatives(game.current);
  if (!alternatives) return false;
  for (SBranchDetails* line : *alternatives) {
    if (line->first == kNoNode || game.Node(line->first).parent != game.current) continue;
    if (!SameMove(game, line->first, from, to, promotion)) continue;
    if (mode == EntryMode::Reading) {
      if (game.activeLine && game.activeLine != line && game.activeLine->first == kNoNode)
        game.Store().DeleteLine(game.gameId, game.activeLine);  // the line being started exists already
      game.activeLine = line;
      game.current = game.lineEnd = line->first;
      ShowCurrentPosition(game);
    } else {
      NodeRef first = line->first;
      SwapWithContinuation(game, line);
      game.current = first;
      game.MarkChanged();
      ShowAfterEntry(game);
    }
    return true;
  }
  return false;
}

// Creates the node for a move or a set-up position at the current node,
// starting an alternative line first when needed.
NodeRef InsertNode(GameTree& game, NewNode request, EntryMode mode, UserPrompt* prompt) {
  NodeStore& store = game.Store();
  const NodeRef at = game.current;
  const NodeRef continuation = game.Node(at).next;

  if (mode == EntryMode::Reading) {
    if (continuation != kNoNode && game.activeLine && game.activeLine->first != kNoNode)
      game.activeLine = store.NewLine(game.gameId, kNoNode, kNoNode);
    game.lineEnd = at;
    const bool startsLine = game.activeLine && game.activeLine->first == kNoNode && at != kNoNode;
    request.firstOfNewLine = startsLine;
    NodeRef node = CreateNode(game, request, prompt);
    if (node == kNoNode) return kNoNode;
    if (startsLine) {
      game.activeLine->first = node;
      store.AddAlternative(at, game.activeLine);
    }
    if (game.activeLine) game.activeLine->last = node;
    game.current = game.lineEnd = node;
    return node;
  }

  // Interactive: the newest move always goes on the active line.
  SBranchDetails* holder = LineContaining(game, at);
  const NodeRef savedLineEnd = game.lineEnd;
  game.lineEnd = at;
  SBranchDetails* pushedAside = nullptr;
  if (continuation != kNoNode) {
    pushedAside = store.NewLine(game.gameId, continuation, ChainEnd(game, continuation));
    store.AddAlternative(at, pushedAside);
    game.Node(at).next = kNoNode;
  }
  NodeRef node = CreateNode(game, request, prompt);
  if (node == kNoNode) {
    if (pushedAside) {  // put the tree back as it was
      store.RemoveAlternative(at, pushedAside);
      store.DeleteLine(game.gameId, pushedAside);
      game.Node(at).next = continuation;
    }
    game.lineEnd = savedLineEnd;
    return kNoNode;
  }
  if (holder) holder->last = node;
  if (!holder || holder == game.rootLine)
    game.lineEnd = node;
  else
    game.lineEnd = savedLineEnd;
  game.current = node;
  return node;
}

}  // namespace

std::string InvalidMoveText(std::uint8_t mover, std::uint8_t piece, int from, int to, bool kingInCheck) {
  const char* side = ColourName(mover);
  const char* suffix = kingInCheck ? "  King is in check." : "";
  char letter = PieceLetter(piece);
  const std::string fromText = SquareName(from), toText = SquareName(to);
  if (letter) return Format("%s: Invalid Move '%c%s-%s'.%s", side, letter, fromText.c_str(), toText.c_str(), suffix);
  return Format("%s: Invalid Move '%s-%s'.%s", side, fromText.c_str(), toText.c_str(), suffix);
}

EntryOutcome AddMove(GameTree& game, const AdmittedMove& move, EntryMode mode, UserPrompt* prompt, bool startsLine) {
  if (!startsLine && FollowExisting(game, move.from, move.to, move.promotion, mode)) return EntryOutcome::Followed;
  const std::uint8_t mover = game.sideToMove;
  NewNode request;
  request.boardAfter = &move.boardAfter;
  request.from = move.from;
  request.to = move.to;
  request.piece = move.promotion ? kPawn : move.piece;
  request.kind = move.promotion ? kPromotion : move.kind;
  request.irregular = move.irregular || move.from == move.to;
  request.check = move.check;
  request.capture = move.capture;
  request.whiteMoved = mover == kWhite;
  if (InsertNode(game, request, mode, prompt) == kNoNode) return EntryOutcome::Refused;
  game.board = move.boardAfter;
  game.kings = move.kingsAfter;
  game.sideToMove = Opponent(mover);
  game.ForgetCommentRing();
  if (mode == EntryMode::Interactive) {
    game.MarkChanged();
    game.statusText = ToMoveText(game.sideToMove);
    if (game.observer) game.observer->CurrentNodeChanged();
  }
  return EntryOutcome::Added;
}

EntryOutcome PlayMove(GameTree& game, int from, int to, UserPrompt& prompt) {
  if (from < 0 || from >= 64 || to < 0 || to >= 64) return EntryOutcome::Refused;
  const bool permitted = game.invalidMovePermitted;
  game.invalidMovePermitted = false;  // one attempt consumes the permission
  const std::uint8_t mover = game.sideToMove;
  const std::uint8_t piece = game.board[static_cast<std::size_t>(from)];
  const std::uint8_t pieceType = piece & kTypeMask;
  const NodeHistory history(game.Store(), game.current);
  if (from != to && !(piece & mover)) {  // only the side to move's own pieces move
    game.statusText = InvalidMoveText(mover, pieceType, from, to, false);
    return EntryOutcome::Refused;
  }

  const bool promotes = from != to && (piece & kPawn) && (piece & mover) && RowOf(to) == (mover == kWhite ? 0 : 7);
  std::uint8_t promotion = 0;
  if (!promotes) {
    if (FollowExisting(game, from, to, 0, EntryMode::Interactive)) return EntryOutcome::Followed;
  } else {
    if (!permitted) {
      std::string message;
      if (!IsMoveValid(game.board, mover, from, to, history, message)) {
        game.statusText = message.empty() ? InvalidMoveText(mover, pieceType, from, to, false) : message;
        return EntryOutcome::Refused;
      }
      BoardSquares trial = game.board;
      KingSquares trialKings = game.kings;
      ApplyMove(trial, trialKings, from, to, kQueen);
      if (IsKingAttacked(trial, trialKings, mover)) {
        game.statusText = InvalidMoveText(mover, pieceType, from, to, true);
        return EntryOutcome::Refused;
      }
    }
    static const std::vector<std::string> kPieces = {"QUEEN", "KNIGHT", "ROOK", "BISHOP"};
    std::optional<int> choice = prompt.Choose(kPromotionTitle, kPieces);
    if (!choice || *choice < 0 || *choice >= kPromotionChoiceCount) {
      game.statusText = "Promotion abandoned";
      return EntryOutcome::Refused;
    }
    promotion = kPromotionChoices[*choice];
    if (FollowExisting(game, from, to, promotion, EntryMode::Interactive)) return EntryOutcome::Followed;
  }

  AdmittedMove move;
  move.from = from;
  move.to = to;
  move.promotion = promotion;
  move.piece = pieceType ? pieceType : kPawn;
  std::string message;
  const bool valid = from == to || IsMoveValid(game.board, mover, from, to, history, message);
  if (!valid && !permitted) {
    game.statusText = message.empty() ? InvalidMoveText(mover, pieceType, from, to, false) : message;
    return EntryOutcome::Refused;
  }
  move.boardAfter = game.board;
  move.kingsAfter = game.kings;
  if (from != to) {
    AppliedMove applied = ApplyMove(move.boardAfter, move.kingsAfter, from, to, promotion);
    move.kind = applied.kind;
    move.capture = applied.capture;
  }
  const bool ownKingAttacked = IsKingAttacked(move.boardAfter, move.kingsAfter, mover);
  if (ownKingAttacked && !permitted) {
    game.statusText = InvalidMoveText(mover, pieceType, from, to, true);
    return EntryOutcome::Refused;
  }
  move.irregular = !valid || ownKingAttacked || from == to;
  move.check = IsKingAttacked(move.boardAfter, move.kingsAfter, Opponent(mover));
  return AddMove(game, move, EntryMode::Interactive, &prompt);
}

EntryOutcome PlayMoveOnScreen(GameTree& game, int fromFile, int fromRow, int toFile, int toRow, UserPrompt& prompt) {
  if (!OnBoard(fromFile, fromRow) || !OnBoard(toFile, toRow)) return EntryOutcome::Refused;
  if (game.boardFlipped) {
    fromFile = 7 - fromFile, fromRow = 7 - fromRow;
    toFile = 7 - toFile, toRow = 7 - toRow;
  }
  return PlayMove(game, SquareAt(fromFile, fromRow), SquareAt(toFile, toRow), prompt);
}

EntryOutcome PlayReadMove(GameTree& game, int from, int to, std::uint8_t promotion, UserPrompt* prompt, bool startsLine,
                          bool linesAreLegal) {
  if (from < 0 || from >= 64 || to < 0 || to >= 64) return EntryOutcome::Refused;
  const std::uint8_t mover = game.sideToMove;
  AdmittedMove move;
  move.from = from;
  move.to = to;
  move.promotion = promotion;
  const std::uint8_t pieceType = game.board[static_cast<std::size_t>(from)] & kTypeMask;
  move.piece = pieceType ? pieceType : kPawn;
  move.boardAfter = game.board;
  move.kingsAfter = game.kings;
  if (from != to) {
    AppliedMove applied = ApplyMove(move.boardAfter, move.kingsAfter, from, to, promotion);
    move.kind = applied.kind;
    move.capture = applied.capture;
  }
  move.irregular = from == to;
  // After an ordinary move that follows a legal ordinary move, only the moved
  // piece and the line it opened can give check: the opponent's king was
  // safe before it.
  const MoveNode& current = game.Node(game.current);
  const bool afterOrdinaryMove = linesAreLegal && current.parent != kNoNode && !current.Has(kFlagComposed) &&
                                 current.From() != current.To() && !current.Has2(kFlag2Irregular);
  if (afterOrdinaryMove && !move.irregular && (move.kind == kOrdinary || move.kind == kPromotion))
    move.check = MoveGivesCheck(move.boardAfter, move.kingsAfter.Of(Opponent(mover)), from, to);
  else
    move.check = IsKingAttacked(move.boardAfter, move.kingsAfter, Opponent(mover));
  return AddMove(game, move, EntryMode::Reading, prompt, startsLine);
}

bool ExtendsReadLine(const GameTree& game) {
  const MoveNode& current = game.Node(game.current);
  return current.next == kNoNode && !current.Has(kFlagBranch) && current.parent != kNoNode &&
         !current.Has(kFlagComposed) && current.From() != current.To() && !current.Has2(kFlag2Irregular) &&
         game.activeLine && game.activeLine->first != kNoNode && game.lineEnd == game.current;
}

bool StartsReadGame(const GameTree& game) {
  const MoveNode& root = game.Node(game.root);
  return game.current == game.root && root.next == kNoNode && !root.Has(kFlagBranch) && !root.Has(kFlagComposed) &&
         game.activeLine == game.rootLine && game.lineEnd == game.root;
}

// Called for nearly every move of a file read: node creation and the board
// update are compiled into it (flatten).
[[gnu::flatten]] EntryOutcome AppendReadMove(GameTree& game, int from, int to, UserPrompt* prompt, BoardSets& sets,
                                             bool& givesCheck) {
  const std::uint8_t mover = game.sideToMove;
  const std::uint8_t moving = game.board[static_cast<std::size_t>(from)];
  const std::uint8_t captured = game.board[static_cast<std::size_t>(to)];
  // Only castling and en passant change squares beyond the two of the move:
  // the board is kept whole for them alone, to be put back should no node be
  // had.
  const bool movesMore = ((moving & kKing) && IsCastlingMove(from, to)) ||
                         ((moving & kPawn) && FileOf(from) != FileOf(to) && captured == 0);
  // Any other move changes its two squares alone, and the king squares.
  const bool twoSquares = !movesMore && from >= 0 && from < 64 && to >= 0 && to < 64 && from != to;
  BoardSquares boardBefore;
  const KingSquares kingsBefore = game.kings;
  AppliedMove applied;
  if (!twoSquares) {
    boardBefore = game.board;
    applied = ApplyMove(game.board, game.kings, from, to, 0);
  } else {
    // What ApplyMove does for a move of two squares, without asking again
    // what kind of move it is.
    const std::uint8_t colour = moving & kColourMask;
    if ((moving & kKing) && (colour == kWhite || colour == kBlack)) game.kings.Of(colour) = to;
    game.board[static_cast<std::size_t>(to)] = moving;
    game.board[static_cast<std::size_t>(from)] = 0;
    applied.capture = captured != 0;
    if (captured & kKing) LocateKings(game.board, game.kings);
  }
  NewNode request;
  request.boardAfter = &game.board;
  request.from = from;
  request.to = to;
  request.piece = (moving & kTypeMask) ? (moving & kTypeMask) : kPawn;
  request.kind = applied.kind;
  request.capture = applied.capture;
  request.whiteMoved = mover == kWhite;
  // After a legal ordinary move only the moved piece and the line it opened
  // can give check.
  if (applied.kind == kOrdinary) {
    sets.Move(from, to, moving, captured);
    request.check = MoveGivesCheck(game.board, sets.occupied, game.kings.Of(Opponent(mover)), from, to);
  } else {
    sets = BoardSets::Of(game.board);
    request.check = SetsAttack(sets, sets.occupied, Opponent(mover), game.kings.Of(Opponent(mover)));
  }
  const NodeRef node = CreateNode(game, request, prompt);
  if (node == kNoNode) {
    if (!twoSquares) {
      game.board = boardBefore;
    } else {
      game.board[static_cast<std::size_t>(from)] = moving;
      game.board[static_cast<std::size_t>(to)] = captured;
    }
    game.kings = kingsBefore;
    sets = BoardSets::Of(game.board);
    return EntryOutcome::Refused;
  }
  game.activeLine->last = node;
  game.current = game.lineEnd = node;
  game.sideToMove = Opponent(mover);
  game.ForgetCommentRing();
  givesCheck = request.check;
  return EntryOutcome::Added;
}

EntryOutcome CmPass(GameTree& game, UserPrompt& prompt) { return PlayMove(game, kA8, kA8, prompt); }

void CmInvalid(GameTree& game, UserPrompt& prompt) {
  const std::string side = ColourName(game.sideToMove);
  const std::string text = "It is " + side + " to move." + "\r\n" + side +
                           "'s next move can be permitted to be an invalid one." +
                           "\r\n\r\nDo you wish to make an invalid move?";
  game.invalidMovePermitted = prompt.AskYesNo("CmInvalid()", text);
}

void BeginAlternative(GameTree& game, NodeRef branchPoint) {
  game.activeLine = game.Store().NewLine(game.gameId, kNoNode, kNoNode);
  game.current = game.lineEnd = branchPoint;
  ShowCurrentPosition(game);
}

NodeRef AddComposedNode(GameTree& game, const FENExtras& position, EntryMode mode, UserPrompt* prompt) {
  NewNode request;
  request.from = request.to = kA8;
  request.piece = kPawn;
  request.whiteMoved = position.sideToMove == kBlack;
  NodeRef node = InsertNode(game, request, mode, prompt);
  if (node == kNoNode) return kNoNode;
  game.Store().SetComposed(node, position);
  game.ForgetLastCreated();  // a set-up position starts the snapshot count afresh
  game.board = position.board;
  game.sideToMove = position.sideToMove;
  LocateKings(game.board, game.kings);
  game.Node(node).Set2(kFlag2Check, IsKingAttacked(game.board, game.kings, game.sideToMove));
  game.ForgetCommentRing();
  if (mode == EntryMode::Interactive) {
    game.MarkChanged();
    game.statusText = ToMoveText(game.sideToMove);
    if (game.observer) game.observer->CurrentNodeChanged();
  }
  return node;
}

bool Compose(GameTree& game, const FENExtras& position, UserPrompt& prompt) {
  if (position.sideToMove == game.sideToMove && position.board == game.board) {
    prompt.Inform("Compose()", "No changes were detected");
    return false;
  }
  return AddComposedNode(game, position, EntryMode::Interactive, &prompt) != kNoNode;
}

void ComposeRoot(GameTree& game, const FENExtras& position) {
  MoveNode& root = game.Node(game.root);
  root.Set(kFlagBlackToMove, position.sideToMove == kBlack);
  game.Store().SetComposed(game.root, position);
  if (game.current == game.root) {
    ShowCurrentPosition(game);
    game.statusText = ToMoveText(game.sideToMove);
  }
  game.MarkChanged();
}

}  // namespace varnock
