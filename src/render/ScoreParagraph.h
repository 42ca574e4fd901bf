// One paragraph of a laid-out game score.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tree/MoveNode.h"

namespace varnock {

enum class ParagraphKind { MainLine, Variation, Comment, Result, DiagramPlace };

// Where one move's text lies in a paragraph of the game-text window or the
// preview, so that a click on it can find its node.
struct MoveSpan {
  std::uint32_t start = 0;
  std::uint32_t length = 0;
  NodeRef node = kNoNode;
  bool operator==(const MoveSpan&) const = default;
};

struct ScoreParagraph {
  ParagraphKind kind = ParagraphKind::MainLine;
  std::string text;
  NodeRef node = kNoNode;  // the node the paragraph belongs to (a diagram's position)
  int index = 0;
  std::vector<MoveSpan> moves;  // game-text window and preview: each move's text
};

}  // namespace varnock
