#include "formats/EchWriter.h"

#include "formats/EchHeaderNames.h"
#include "formats/EchMarks.h"
#include "formats/EchMoveWriter.h"
#include "formats/EchValues.h"
#include "tree/Bookmarks.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

void Line(std::string& out, std::string_view name, std::string_view value = {}) {
  out += name;
  out += '[';
  out += value;
  out += "]\r\n";
}

void TextLine(std::string& out, std::string_view name, std::string_view text) {
  out += name;
  out += '[';
  AppendEscaped(out, text);
  out += "]\r\n";
}

// The root's position is written when the root holds one, and also when the
// first move is itself a set-up position: a reader takes the first "FN" of a
// game for the root.
bool RootPositionWritten(const GameTree& tree) {
  const MoveNode& root = tree.Node(tree.root);
  if (root.Has(kFlagComposed)) return true;
  return root.next != kNoNode && tree.Node(root.next).Has(kFlagComposed);
}

void WriteRootProperties(const GameTree& tree, std::string& out) {
  NodeStore& store = tree.Store();
  const NodeRef root = tree.root;
  // Escaped as text, since the reader unescapes it: an en-passant field is
  // kept as read and may hold a backslash or a "]".
  if (RootPositionWritten(tree)) TextLine(out, "FN", NodeFEN(store, root, BoardAt(store, root)));
  if (auto number = BookmarkOf(tree, root)) Line(out, "BM", std::to_string(*number));
  if (tree.Node(root).Has(kFlagDiagram)) Line(out, "FG");
}

// Marks a root seldom carries, which the header has no place for; written
// with the node properties' names so that nothing is lost.
void WriteRootMarks(const GameTree& tree, std::string& out) {
  NodeStore& store = tree.Store();
  const NodeRef root = tree.root;
  if (auto rating = RatingSymbol(store.RatingOf(root)); !rating.empty()) Line(out, "XG", rating);
  if (auto assessment = AssessmentSymbol(store.AssessmentOf(root)); !assessment.empty()) Line(out, "XG", assessment);
  if (auto result = ResultSymbol(store.ResultOf(root)); !result.empty()) Line(out, "RS", result);
  if (auto slot = StoreNumberOf(tree, root)) Line(out, "XN", std::to_string(*slot));
}

}  // namespace

void WriteEchHeader(SGridFrame& game, bool currentGame, std::string& out) {
  const GameTree* tree = game.HasTree() ? &game.Tree() : nullptr;
  out += "(\r\nGM[Chess]\r\n";
  Line(out, "AP", "Varnock:17 Portable");
  for (const EchHeaderProperty& property : kEchHeaderProperties) {
    std::string_view value = game.header.Get(property.field);
    if (!value.empty()) TextLine(out, property.name, value);
  }
  if (tree) WriteRootProperties(*tree, out);
  if (game.flipped) Line(out, "XF");
  if (tree && tree->primary == tree->root) Line(out, "XP");
  if (currentGame) Line(out, "XS");
  if (tree && tree->current == tree->root) Line(out, "XV");
  if (tree) WriteRootMarks(*tree, out);
  out += "\r\n";
  if (!tree) return;
  NodeStore& store = tree->Store();
  if (const std::string* before = store.Comment(tree->root, NodeStore::kBefore)) {
    TextLine(out, "C0", *before);
    out += "\r\n";
  }
  if (const std::string* after = store.Comment(tree->root, NodeStore::kAfter)) {
    TextLine(out, "C", *after);
    out += "\r\n";
  }
}

void WriteEchGame(SGridFrame& game, bool currentGame, std::string& out) {
  WriteEchHeader(game, currentGame, out);
  WriteEchMoves(game.Tree(), out);
  out += "\r\n\r\n";
}

}  // namespace varnock
