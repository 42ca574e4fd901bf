// Tokens, variations, reports and the end of a game.

#include <algorithm>
#include <cstring>

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Format.h"
#include "core/Resolve.h"
#include "formats/PgnMoveToken.h"
#include "formats/PgnReaderState.h"
#include "formats/PgnReports.h"
#include "formats/PgnTagNames.h"
#include "formats/TextScans.h"
#include "tree/Bookmarks.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock::pgn {

void PgnReader::ProcessToken(bool plainTried) {
  if (token_.Empty()) return;
  movetextSeen_ = true;
  if (!accepting_) return;
  if (!plainTried && HasTree() && ctx_.plainMoves && !variationStart_ && PlainMove()) return;
  const std::string_view copy = token_.View();

  MoveToken parsed = ClassifyToken(token_.View(), checkMarker_, equalsSeen_, WrittenToken());
  switch (parsed.kind) {
    case MoveToken::Result:
      if (HasTree() && parsed.result) tree_->Store().SetResult(tree_->current, parsed.result);
      if (!primarySet_) {
        if (HasTree()) tree_->primary = tree_->current;
        primarySet_ = true;
      }
      return;
    case MoveToken::Ignored:
      return;
    case MoveToken::Pass:
      if (Scanning()) {
        accepting_ = false;
        return;
      }
      EnterMove(kA8, kA8, 0, false);
      return;
    default:
      break;
  }
  if (Scanning()) {
    accepting_ = false;
    return;
  }
  mark_ = parsed.symbol;
  if (parsed.kind == MoveToken::NoLetter) {
    mark_.clear();
    return;
  }
  GameTree& tree = *tree_;
  const std::uint8_t side = tree.sideToMove;
  ResolvedToken move = ResolveToken(parsed, tree, side);
  if (!move.found) {
    std::string message = Format(
        "Error in game number %d of the PGN collection, on line number %d.\r\nThe following move caused the "
        "error.\r\n\r\n\t%s\r\n\r\nThe error occurred within the following extract.\r\n\r\n%s\n\nMove number = %d",
        gameNumber_, ctx_.lines.LineAt(text_, pos_), std::string(copy).c_str(),
        ExtractAround(text_, gameStart_, pos_).c_str(), MovesFromRoot(tree, tree.current));
    if (!ctx_.fileName.empty()) message += "\r\n\r\nThe variation was truncated at this point.\r\n";
    Report(message + PlayerLines());
    accepting_ = false;
    mark_.clear();
    return;
  }
  EnterMove(move.from, move.to, move.promotion, true);
}

void PgnReader::EnterMove(int from, int to, std::uint8_t promotion, bool withSymbol) {
  GameTree& tree = *tree_;
  appendable_ = kNoNode;
  const bool startsLine = variationStart_;
  variationStart_ = false;
  const NodeRef before = tree.current;
  if (PlayReadMove(tree, from, to, promotion, ctx_.prompt, startsLine, true) == EntryOutcome::Refused) {
    accepting_ = false;  // no node slot could be had: the line ends here
    mark_.clear();
    return;
  }
  FollowMainLine(before);
  if (!pendingBefore_.empty()) {
    SetComment(tree, tree.current, NodeStore::kBefore, pendingBefore_, false);
    pendingBefore_.clear();
  }
  if (withSymbol && !mark_.empty()) ApplyMark(mark_, false, tree.current);
  mark_.clear();
}

void PgnReader::ShowNode(NodeRef node) {
  GameTree& tree = *tree_;
  appendable_ = kNoNode;
  tree.current = node;
  ShowCurrentPosition(tree);
}

void PgnReader::OpenVariation() {
  ++openCount_;
  appendable_ = kNoNode;
  if (!accepting_ || !HasTree()) {
    variations_.push_back({nullptr, kNoNode});
    return;
  }
  GameTree& tree = *tree_;
  variations_.push_back({tree.activeLine, tree.current});
  const NodeRef parent = tree.Node(tree.current).parent;
  if (parent != kNoNode) ShowNode(parent);
  variationStart_ = true;
}

void PgnReader::CloseVariation() {
  ++closeCount_;
  appendable_ = kNoNode;
  if (variations_.empty()) return;
  Saved saved = variations_.back();
  variations_.pop_back();
  if (saved.node == kNoNode) {
    accepting_ = false;
    return;
  }
  GameTree& tree = *tree_;
  tree.activeLine = saved.line;
  if (!accepting_ && ctx_.badContinuation && !Scanning()) BadContinuation(pos_);
  accepting_ = true;
  variationStart_ = false;
  pendingBefore_.clear();
  ShowNode(saved.node);
  if (tree.Node(saved.node).next == kNoNode) tree.lineEnd = saved.node;
}

void PgnReader::BadContinuation(std::size_t end) {
  if (!failureRecorded_ || !HasTree() || end <= failureStart_) return;
  GameTree& tree = *tree_;
  const std::string skipped = NormaliseSkippedText(text_.substr(failureStart_, end - failureStart_));
  std::string comment;
  if (const std::string* existing = tree.Store().Comment(tree.current, NodeStore::kAfter))
    comment = *existing + "\r\n--\r\n";
  comment += std::string("Varnock") + ": " + "bad PGN -" + "\r\n\r\n[ " + skipped + " ]";
  SetComment(tree, tree.current, NodeStore::kAfter, comment, true);
}

void PgnReader::Report(std::string message) {
  ctx_.errorFlag = true;
  if (!ctx_.errors) return;
  if (ctx_.errors->Empty() && !ctx_.fileName.empty()) ctx_.errors->Add("\r\n" + ctx_.fileName, 0);
  ctx_.errors->Add(std::move(message), gameNumber_);
}

std::string PgnReader::PlayerLines() const {
  std::string lines;
  auto line = [&](HeaderField field, const char* format) {
    const std::size_t i = static_cast<std::size_t>(field);
    if (tagRead_[i] && header_[i] != "?") lines += Format(format, std::string(header_[i]).c_str());
  };
  line(HeaderField::Event, "\r\nEvent    \t= %s");
  line(HeaderField::White, "\r\nPlayer W \t= %s");
  line(HeaderField::Black, "\r\nPlayer B \t= %s");
  return lines;
}

void PgnReader::EndOfGame() {
  if (openCount_ != closeCount_) {
    ctx_.errorFlag = true;
    if (ctx_.prompt)
      ctx_.prompt->Inform("Do_FilePGN()",
                          Format("'%s'\r\n\r\nWarning.\r\nBad PGN formatting detected.\r\nThere are an irregular "
                                 "number of variation brackets in game number %d of the collection.\r\nNumbers of "
                                 "'(', ')' are %d %d",
                                 ctx_.fileName.c_str(), gameNumber_, openCount_, closeCount_));
  }
  NodeRef returnTo = kNoNode;
  while (!variations_.empty()) {
    Saved saved = variations_.back();
    variations_.pop_back();
    if (saved.node != kNoNode) {
      returnTo = saved.node;
      if (HasTree()) tree_->activeLine = saved.line;
    }
  }
  if (HasTree()) {
    GameTree& tree = *tree_;
    if (!accepting_ && failureRecorded_ && ctx_.badContinuation) BadContinuation(pos_);
    if (returnTo != kNoNode) ShowNode(returnTo);
    tree.activeLine = tree.rootLine;
    tree.lineEnd = ChainEnd(tree, mainLineNode_);
    tree.rootLine->last = tree.lineEnd;
    if (!primarySet_) tree.primary = tree.current;
    tree.statusText = ToMoveText(tree.sideToMove);
  }
  if (mode_ != ReadMode::Reread) game_.header.SetAll(header_);
  ctx_.cursor = pos_;
  if (mode_ != ReadMode::Reread) ctx_.gameCounter = gameNumber_;
}

}  // namespace varnock::pgn
