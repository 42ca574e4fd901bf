// What the two comment panes of the main window load and store: the comment
// before or after one move, read and replaced as a whole.
#pragma once

#include <string>

#include "tree/GameTree.h"

namespace varnock {

// The comment of the kind on the node as a pane shows it: the text when the
// node's flag bit of that kind is set and the comment map holds an entry,
// else empty. Empty for a node that is not in use.
std::string PaneCommentOf(const GameTree& game, NodeRef node, NodeStore::CommentKind kind);

// Stores a pane's edited text on the node in place of its comment of that
// kind (trailing white space dropped; a text of white space only removes the
// comment). The game is marked changed only when the stored comment differs
// from before. Returns whether it did; false, and nothing touched, for a
// node that is not in use.
bool StorePaneComment(GameTree& game, NodeRef node, NodeStore::CommentKind kind, const std::string& edited);

}  // namespace varnock
