// Marks on the current move: result, rating, assessment, print diagram, and
// removing comments.
#pragma once

#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "tree/GameCollection.h"
#include "tree/GameTree.h"

namespace varnock {

// The picker items; an item's index is the code stored on the node.
const std::vector<std::string>& ResultItems();
const std::vector<std::string>& RatingItems();
const std::vector<std::string>& AssessmentItems();

// Sets or clears the result mark of the current node. A result chosen here
// replaces, after one question, every other result mark on the line through
// the node (parents above it, continuations below it).
void CmResult(GameTree& game, UserPrompt& prompt);

// Sets or clears the rating of the current move through its picker.
void CmRateMove(GameTree& game, UserPrompt& prompt);

// Sets or clears the position assessment of the current node through its
// picker.
void CmPositionalAdvantage(GameTree& game, UserPrompt& prompt);

// Adds or removes the print-diagram mark of the current node, and the menu
// entry that does it.
void CmToggleDiagram(GameTree& game);
std::string DiagramMenuText(const GameTree& game);

// Removes both comments of the current node.
void CmRemoveMoveComments(GameTree& game);

// Removes every comment of the game, after a question; reports the count.
void CmRemoveAllComments(GameTree& game, UserPrompt& prompt);

// Removes every comment of every game of the collection, after a question;
// reports the count. Only games that lost comments are marked changed.
void CmRemovePGNComments(GameCollection& collection, UserPrompt& prompt);

}  // namespace varnock
