#include "openings/FetchEco.h"

#include <algorithm>
#include <string>

#include "core/Format.h"
#include "openings/MoveTextHash.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "SGridFrame::FetchECO()";

}  // namespace

const EcoLine* FindOpening(const GameTree& game, const EcoTable& table, EcoMethod method) {
  const NodeStore& store = game.Store();
  if (game.root == kNoNode || store.Node(game.root).Has(kFlagComposed)) return nullptr;

  const EcoLine* found = nullptr;
  char text[kEcoSearchPlies * 4];
  std::size_t length = 0;
  std::uint32_t hash = kMoveTextHashStart;
  BoardSquares board = StartBoard;

  NodeRef at = store.Node(game.root).next;
  for (int ply = 0; ply < kEcoSearchPlies && at != kNoNode; ++ply, at = store.Node(at).next) {
    const MoveNode& node = store.Node(at);
    const EcoLine* hit = nullptr;
    if (method == EcoMethod::MoveOrder) {
      const char move[4] = {static_cast<char>('a' + FileOf(node.From())), static_cast<char>('0' + RankOf(node.From())),
                            static_cast<char>('a' + FileOf(node.To())), static_cast<char>('0' + RankOf(node.To()))};
      std::copy(move, move + 4, text + length);
      length += 4;
      hash = ExtendMoveTextHash(hash, std::string_view(move, 4));
      hit = table.FindMoves(std::string_view(text, length), hash);
    } else {
      std::uint8_t side = node.SideToMove();
      if (const FENExtras* composed = node.Has(kFlagComposed) ? store.Composed(at) : nullptr) {
        board = composed->board;
        side = composed->sideToMove;
      } else if (const BoardSquares* snapshot = node.Has(kFlagSnapshot) ? store.Snapshot(at) : nullptr) {
        board = *snapshot;
      } else {
        ReplayMove(board, node);
      }
      const PositionBytes position = PositionBytesOf(board, side);
      hit = table.FindPosition(position, PositionKey(position));
    }
    if (hit) found = hit;  // a miss does not end the walk: the deepest hit wins
  }
  return found;
}

bool FetchECO(SGridFrame& game, bool interactive, int gameNumber, EcoMethod method, EcoDatabase& database,
              UserPrompt& prompt) {
  if (!StartECODatabase(database, prompt)) return false;
  // A game whose moves were never read has no tree: nothing to classify.
  const GameTree* tree = game.HasTree() ? &game.Tree() : nullptr;
  if (tree && tree->Node(tree->root).Has(kFlagComposed)) {
    if (interactive) prompt.Inform(kCaption, "Unable to identify opening.  Starting position is a composed position.");
    return false;
  }
  if (!tree || tree->Node(tree->root).next == kNoNode) return false;

  const EcoLine* line = FindOpening(*tree, *database.Table(), method);
  if (line == nullptr) {
    if (interactive) {
      if (gameNumber == 0)
        prompt.Inform(kCaption, "Opening classification could not be found");
      else
        prompt.Inform(kCaption,
                      Format("Opening classification could not be found\n\nGame number = %d\nPlayers = '%s'/'%s'",
                             gameNumber, std::string(game.header.Get(HeaderField::White)).c_str(),
                             std::string(game.header.Get(HeaderField::Black)).c_str()));
    }
    return false;
  }

  const bool changed =
      line->code != game.header.Get(HeaderField::ECO) || line->name != game.header.Get(HeaderField::Opening);
  if (changed) {
    game.header.Set(HeaderField::ECO, line->code);
    game.header.Set(HeaderField::Opening, line->name);
    game.stateFlags |= kHeaderChanged;
  }
  if (interactive)
    prompt.Inform(kCaption,
                  Format("%s\n%s\n\n%s\nMoves = %d%s", std::string(line->code).c_str(), std::string(line->name).c_str(),
                         std::string(line->moves).c_str(), line->HalfMoves(), changed ? "" : "\n\nNo change"));
  return changed;
}

}  // namespace varnock
