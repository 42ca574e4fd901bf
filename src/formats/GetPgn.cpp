#include "formats/GetPgn.h"

#include "core/Format.h"
#include "formats/PgnWriter.h"
#include "tree/TreeOrder.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "GetPGN()";
constexpr const char* kIrregularQuestion =
    "Warning.\r\n\r\nIrregular moves or internal compositions have been detected in the game.  Such moves cannot "
    "normally be stored using the PGN format.  The lines of play in the PGN text may be truncated at these "
    "moves.\r\n\r\nDo you wish to continue?";

bool Irregular(const GameTree& game, NodeRef node) {
  const MoveNode& n = game.Node(node);
  return n.Has2(kFlag2Irregular) || (n.Has(kFlagComposed) && node != game.root);
}

}  // namespace

bool HasIrregularMoves(const GameTree& game, bool includeVariations) {
  if (includeVariations) {
    for (NodeRef node : NodesInTreeOrder(game))
      if (Irregular(game, node)) return true;
    return false;
  }
  for (NodeRef node = game.root; node != kNoNode; node = game.Node(node).next)
    if (Irregular(game, node)) return true;
  return false;
}

int GetPGN(SGridFrame& game, const PgnExportOptions& options, GetPgnContext& context) {
  if (HasIrregularMoves(game.Tree(), options.includeVariations != 0) &&
      !context.prompt.AskYesNo(kCaption, kIrregularQuestion))
    return 0;
  std::string text;
  WritePgnGame(game, text, options, context.fileText, context.pieceInitials);
  if (options.preview && context.preview) {
    context.preview(text);
    return 1;
  }
  context.clipboard.SetText(text);
  context.prompt.Inform(kCaption, Format("PGN text ( %d characters ) has been copied to the Windows Clipboard\r\n",
                                         static_cast<int>(text.size())));
  return 1;
}

}  // namespace varnock
