// One paragraph of a laid-out game score.
#pragma once

#include <string>

#include "tree/MoveNode.h"

namespace varnock {

enum class ParagraphKind { MainLine, Variation, Comment, Result, DiagramPlace };

struct ScoreParagraph {
  ParagraphKind kind = ParagraphKind::MainLine;
  std::string text;
  NodeRef node = kNoNode;  // the node the paragraph belongs to (a diagram's position)
  int index = 0;
};

}  // namespace varnock
