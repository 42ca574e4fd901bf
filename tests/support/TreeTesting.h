// Helpers for game-tree tests: playing moves given in coordinate text and
// describing a whole tree as text, so that "unchanged" can be asserted.
#pragma once

#include <string>

#include "core/UserPrompt.h"
#include "tree/GameTree.h"

namespace varnock::testing {

int Square(const std::string& name);  // "e4" -> square index

// Plays space-separated moves such as "e2e4 e7e5 g1f3 e7e8q" from the
// current node through interactive move entry; a promotion letter is
// answered at the promotion question. Returns false at the first move that
// is not added or followed.
bool Play(GameTree& game, const std::string& moves, UserPrompt* prompt = nullptr);

// Plays the moves as a file reader would.
bool Read(GameTree& game, const std::string& moves);

// Every line, node, flag, attribute, bookmark and slot of the game, in tree
// order, as text.
std::string Dump(const GameTree& game);

// The node reached from the root by following continuation links `plies` times.
NodeRef MainLineNode(const GameTree& game, int plies);

}  // namespace varnock::testing
