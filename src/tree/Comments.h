// Comments before and after moves.
#pragma once

#include <string>

#include "tree/GameTree.h"

namespace varnock {

// Stores a comment of one kind on a node. Trailing white space is removed.
// With `replace` an existing comment is replaced (an empty text removes it);
// without, the text is appended after "\r\n\r\n". A comment of white space
// only is removed. Invalidates the comment search ring.
void SetComment(GameTree& game, NodeRef node, NodeStore::CommentKind kind, std::string text, bool replace);

}  // namespace varnock
