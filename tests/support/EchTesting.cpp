#include "support/EchTesting.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/Fen.h"
#include "formats/EchWriter.h"
#include "support/CoordinateMoves.h"
#include "tree/Bookmarks.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"

namespace varnock::testing {

NodeRef ReadMoves(GameTree& game, std::string_view moves) {
  std::istringstream in{std::string(moves)};
  std::string move;
  while (in >> move) {
    const std::uint8_t promotion = move.size() > 4 ? PromotionOf(move[4]) : 0;
    if (PlayReadMove(game, SquareOf(move.substr(0, 2)), SquareOf(move.substr(2, 2)), promotion, nullptr) ==
        EntryOutcome::Refused)
      ADD_FAILURE() << "move refused: " << move;
  }
  return game.current;
}

void ReadOnFrom(GameTree& game, NodeRef node) {
  game.current = game.lineEnd = node;
  SBranchDetails* line = LineContaining(game, node);
  game.activeLine = line ? line : game.rootLine;
  ShowCurrentPosition(game);
}

NodeRef ReadAlternative(GameTree& game, NodeRef branch, std::string_view moves) {
  const NodeRef back = game.current;
  BeginAlternative(game, branch);
  std::istringstream in{std::string(moves)};
  std::string first;
  in >> first;
  ReadMoves(game, first);
  const NodeRef firstNode = game.current;
  std::string rest;
  std::getline(in, rest);
  ReadMoves(game, rest);
  ReadOnFrom(game, back);
  return firstNode;
}

NodeRef ReadPosition(GameTree& game, const std::string& fen) {
  FENExtras position;
  FenCheck check = ParseFEN(fen, position);
  EXPECT_FALSE(check.rejected) << fen << ": " << check.message;
  return AddComposedNode(game, position, EntryMode::Reading, nullptr);
}

std::string Describe(SGridFrame& frame) {
  std::ostringstream out;
  for (int i = 0; i < kHeaderFieldCount; ++i)
    out << "header " << i << " [" << frame.header.Get(static_cast<HeaderField>(i)) << "]\n";
  out << "flipped " << frame.flipped << "\n";
  if (!frame.HasTree()) return out.str() + "no tree\n";
  GameTree& game = frame.Tree();
  NodeStore& store = game.Store();

  std::vector<std::pair<NodeRef, int>> pending{{game.root, 0}};
  while (!pending.empty()) {
    auto [at, depth] = pending.back();
    pending.pop_back();
    for (; at != kNoNode; at = store.Node(at).next) {
      const MoveNode& n = store.Node(at);
      out << depth << ' ' << SquareName(n.From()) << SquareName(n.To()) << " p" << int(n.Piece()) << " f"
          << int(n.flags) << " g" << int(n.flags2) << " r" << int(store.RatingOf(at)) << " a"
          << int(store.AssessmentOf(at)) << " m" << int(store.ResultOf(at));
      if (const std::string* c = store.Comment(at, NodeStore::kBefore)) out << " {<" << *c << "}";
      if (const std::string* c = store.Comment(at, NodeStore::kAfter)) out << " {>" << *c << "}";
      if (const FENExtras* position = store.Composed(at))
        out << " fen[" << FormatFEN(position->board, *position) << "]";
      if (auto number = BookmarkOf(game, at)) out << " bookmark " << *number;
      if (auto slot = StoreNumberOf(game, at)) out << " slot " << *slot;
      if (at == game.current) out << " *current";
      if (at == game.lineEnd) out << " *end";
      if (at == game.primary) out << " *primary";
      out << '\n';
      if (auto* alternatives = store.Alternatives(at)) {
        for (auto it = alternatives->rbegin(); it != alternatives->rend(); ++it) {
          if ((*it)->last != ChainEnd(game, (*it)->first)) out << "alternative record does not end its line\n";
          pending.push_back({(*it)->first, depth + 1});
        }
      }
    }
  }
  for (const auto& mark : game.bookmarks)
    out << "bookmark " << mark.number << ' ' << BookmarkDescription(game, mark.node) << '\n';
  if (game.activeLine != game.rootLine) out << "active line is not the root's line\n";
  if (game.rootLine->last != game.lineEnd || ChainEnd(game, game.root) != game.lineEnd)
    out << "line end does not end the root's line\n";
  out << "board " << FormatFEN(game.board, FENExtras{}) << " side " << int(game.sideToMove) << '\n';
  out << "changed " << game.changed << " flipped " << game.boardFlipped << '\n';
  return out.str();
}

EchLoad::EchLoad(NodeStore& store, std::string fileText, ReadMode firstMode, ReadMode laterModes, std::string name)
    : text(std::move(fileText)), fileName(std::move(name)) {
  source.text = text;
  source.fileName = fileName;
  source.errors = &errors;
  std::size_t cursor = 0;
  for (;;) {
    while (cursor < text.size() && std::string_view(" \t\r\n").find(text[cursor]) != std::string_view::npos) ++cursor;
    if (cursor >= text.size()) break;
    auto game = std::make_unique<SGridFrame>(store);
    source.gameNumber = static_cast<int>(games.size()) + 1;
    const std::size_t start = cursor;
    bool marked = false;
    if (!ReadEchGame(*game, games.empty() ? firstMode : laterModes, source, cursor, marked)) break;
    if (marked) markedGame = static_cast<int>(games.size());
    game->textOffset = start;
    game->textLength = cursor - start;
    starts.push_back(start);
    games.push_back(std::move(game));
  }
}

std::string Written(SGridFrame& game, bool currentGame) {
  std::string text;
  WriteEchGame(game, currentGame, text);
  return text;
}

}  // namespace varnock::testing
