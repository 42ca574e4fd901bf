#include "PgnTestGame.h"

#include <gtest/gtest.h>

#include "core/Fen.h"
#include "formats/PgnWriter.h"
#include "support/TreeTesting.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"

namespace varnock::testing {

NodeRef PgnTestGame::Read(const std::string& moves) {
  EXPECT_TRUE(varnock::testing::Read(tree, moves)) << moves;
  return tree.current;
}

NodeRef PgnTestGame::Alternative(NodeRef branch, const std::string& moves) {
  SBranchDetails* savedLine = tree.activeLine;
  const NodeRef savedCurrent = tree.current;
  BeginAlternative(tree, branch);
  SBranchDetails* line = tree.activeLine;
  Read(moves);
  const NodeRef first = line->first;
  tree.activeLine = savedLine;
  tree.current = tree.lineEnd = savedCurrent;
  ShowCurrentPosition(tree);
  return first;
}

void PgnTestGame::SetUpRoot(const std::string& fen) {
  FENExtras position;
  FenCheck check = ParseFEN(fen, position);
  ASSERT_FALSE(check.rejected) << check.message;
  ComposeRoot(tree, position);
}

NodeRef PgnTestGame::Ply(int plies) const { return MainLineNode(tree, plies); }

std::string PgnTestGame::Movetext(const PgnExportOptions& options) {
  std::string out;
  int movesOnLine = 0;
  WritePgnMovetext(game, out, tree.root, movesOnLine, options);
  return out;
}

std::string PgnTestGame::Written(const PgnExportOptions& options, std::optional<std::string_view> fileText) {
  std::string out;
  WritePgnGame(game, out, options, fileText);
  return out;
}

}  // namespace varnock::testing
