#include "tree/MarkCommands.h"

#include <optional>

#include "core/Format.h"
#include "tree/Comments.h"
#include "tree/TreeOrder.h"

namespace varnock {

const std::vector<std::string>& ResultItems() {
  static const std::vector<std::string> items{"NONE", "WHITE WIN", "BLACK WIN", "DRAWN GAME"};
  return items;
}

const std::vector<std::string>& RatingItems() {
  static const std::vector<std::string> items{"NONE", "GOOD", "BRILLIANT", "BAD", "BLUNDER", "INTERESTING", "DUBIOUS"};
  return items;
}

const std::vector<std::string>& AssessmentItems() {
  static const std::vector<std::string> items{"NONE",           "BLACK ADVANTAGE, CLEAR",  "BLACK ADVANTAGE, SLIGHT",
                                              "LEVEL POSITION", "WHITE ADVANTAGE, SLIGHT", "WHITE ADVANTAGE, CLEAR"};
  return items;
}

namespace {

// The index picked from a list, or nothing when cancelled or out of range.
std::optional<std::uint8_t> Pick(UserPrompt& prompt, const char* title, const std::vector<std::string>& items) {
  std::optional<int> choice = prompt.Choose(title, items);
  if (!choice || *choice < 0 || *choice >= static_cast<int>(items.size())) return std::nullopt;
  return static_cast<std::uint8_t>(*choice);
}

// Both comment flags of a node, counted.
int CommentCount(const MoveNode& node) {
  return (node.Has(kFlagCommentBefore) ? 1 : 0) + (node.Has(kFlagCommentAfter) ? 1 : 0);
}

// Removes both comments of every node of the game; returns how many there
// were.
int EraseGameComments(GameTree& game) {
  NodeStore& store = game.Store();
  int count = 0;
  for (NodeRef at : NodesInTreeOrder(game)) {
    count += CommentCount(store.Node(at));
    store.EraseComment(at, NodeStore::kBefore);
    store.EraseComment(at, NodeStore::kAfter);
  }
  game.ForgetCommentRing();
  return count;
}

}  // namespace

void CmResult(GameTree& game, UserPrompt& prompt) {
  constexpr const char* kCaption = "CmResult()";
  std::optional<std::uint8_t> choice = Pick(prompt, " Game Result", ResultItems());
  if (!choice) return;
  NodeStore& store = game.Store();
  const NodeRef node = game.current;
  std::vector<NodeRef> others;
  if (*choice != 0) {
    for (NodeRef at = store.Node(node).parent; at != kNoNode; at = store.Node(at).parent)
      if (store.Node(at).Has2(kFlag2Result)) others.push_back(at);
    for (NodeRef at = store.Node(node).next; at != kNoNode; at = store.Node(at).next)
      if (store.Node(at).Has2(kFlag2Result)) others.push_back(at);
  }
  if (!others.empty() &&
      !prompt.AskYesNo(kCaption,
                       "A game result has been detected elsewhere in the current game line.\r\nDo you wish to "
                       "replace it?"))
    return;
  for (NodeRef at : others) store.SetResult(at, 0);
  const bool markChanges = store.ResultOf(node) != *choice;
  store.SetResult(node, *choice);
  if (markChanges || !others.empty()) game.MarkChanged();
}

void CmRateMove(GameTree& game, UserPrompt& prompt) {
  std::optional<std::uint8_t> choice = Pick(prompt, " Rate the Game Move", RatingItems());
  if (!choice || game.Store().RatingOf(game.current) == *choice) return;
  game.Store().SetRating(game.current, *choice);
  game.MarkChanged();
}

void CmPositionalAdvantage(GameTree& game, UserPrompt& prompt) {
  std::optional<std::uint8_t> choice = Pick(prompt, " Positional Advantage", AssessmentItems());
  if (!choice || game.Store().AssessmentOf(game.current) == *choice) return;
  game.Store().SetAssessment(game.current, *choice);
  game.MarkChanged();
}

void CmToggleDiagram(GameTree& game) {
  MoveNode& node = game.Node(game.current);
  node.Set(kFlagDiagram, !node.Has(kFlagDiagram));
  game.MarkChanged();
}

std::string DiagramMenuText(const GameTree& game) {
  return game.Node(game.current).Has(kFlagDiagram) ? "Remove Print &Diagram\tCtrl+D" : "Add a Print &Diagram\tCtrl+D";
}

void CmRemoveMoveComments(GameTree& game) {
  if (CommentCount(game.Node(game.current)) == 0) return;
  SetComment(game, game.current, NodeStore::kBefore, "", true);
  SetComment(game, game.current, NodeStore::kAfter, "", true);
  game.MarkChanged();
}

void CmRemoveAllComments(GameTree& game, UserPrompt& prompt) {
  constexpr const char* kCaption = "CmRemoveAllComments()";
  bool any = false;
  for (NodeRef at : NodesInTreeOrder(game))
    if (CommentCount(game.Node(at)) > 0) {
      any = true;
      break;
    }
  if (!any) {
    prompt.Inform(kCaption, "No comment was found in the game tree.");
    return;
  }
  if (!prompt.AskYesNo(kCaption,
                       "Warning.\nAbout to remove all comments from the game tree.\n\nDo you wish to continue?"))
    return;
  const int count = EraseGameComments(game);
  game.MarkChanged();
  prompt.Inform(kCaption, Format("%d  comments were found and deleted", count));
}

void CmRemovePGNComments(GameCollection& collection, UserPrompt& prompt) {
  constexpr const char* kCaption = "CmRemovePGNComments()";
  if (!prompt.AskYesNo(kCaption,
                       "Warning.\nAbout to erase all comments from all the games in the collection. \n\nDo you wish "
                       "to continue?"))
    return;
  int total = 0;
  for (int i = 0; i < collection.GameCount(); ++i) {
    GameTree* game = collection.LoadGame(i);
    if (!game) continue;
    const int count = EraseGameComments(*game);
    if (count == 0) continue;
    total += count;
    game->MarkChanged();
  }
  if (total == 0) {
    prompt.Inform(kCaption, "No comments were found");
    return;
  }
  collection.MarkCollectionChanged();
  prompt.Inform(kCaption, Format("%d  comments were found and deleted", total));
}

}  // namespace varnock
