#include "MainLine.h"

#include "core/Fen.h"
#include "tree/Positions.h"

namespace varnock::fuzz {

std::string MainLine(SGridFrame& game, bool asPgn) {
  GameTree& tree = game.Tree();
  NodeStore& store = tree.Store();
  std::string out = "start " + NodeFEN(store, tree.root, BoardAt(store, tree.root)) + "\n";
  for (NodeRef node = store.Node(tree.root).next; node != kNoNode; node = store.Node(node).next) {
    const MoveNode& n = store.Node(node);
    const bool setUp = n.Has(kFlagComposed);
    const bool irregular = n.Has2(kFlag2Irregular) && n.From() != n.To();
    if (asPgn && (setUp || irregular)) {
      out += "pass\n";
      break;
    }
    if (setUp) {
      const FENExtras* position = store.Composed(node);
      out += "set-up " + (position ? FormatFEN(position->board, *position) : std::string("(missing)")) + "\n";
      continue;
    }
    if (n.From() == n.To()) {
      out += "pass\n";
      continue;
    }
    out += SquareName(n.From()) + SquareName(n.To()) + " kind " + std::to_string(int{n.Kind()});
    if (n.Kind() == kPromotion) out += " piece " + std::to_string(int{BoardAt(store, node)[std::size_t(n.To())]});
    if (irregular) out += " irregular";
    out += '\n';
  }
  return out;
}

}  // namespace varnock::fuzz
