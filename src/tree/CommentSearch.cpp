#include "tree/CommentSearch.h"

#include <algorithm>
#include <optional>

#include "core/Format.h"
#include "tree/LineActivation.h"
#include "tree/TreeOrder.h"

namespace varnock {

// The comment search keeps its ring of commented nodes in the tree.
struct CommentRingAccess {
  static GameTree::CommentRing& Of(GameTree& game) { return game.commentRing_; }
  static const GameTree::CommentRing& Of(const GameTree& game) { return game.commentRing_; }
};

namespace {

constexpr const char* kNoComments = "No comments were found in the game tree";

bool HasComment(const MoveNode& node) { return node.Has(kFlagCommentBefore) || node.Has(kFlagCommentAfter); }

// Letters of the Latin-1 text fold to lower case.
unsigned char Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  return c;
}

auto& Ring(GameTree& game) { return CommentRingAccess::Of(game); }
const auto& Ring(const GameTree& game) { return CommentRingAccess::Of(game); }

void BuildRing(GameTree& game) {
  Ring(game).nodes = CreateCommentsList(game);
  Ring(game).valid = true;
}

bool NodeMatches(const GameTree& game, NodeRef node, const FindSettings& settings) {
  const NodeStore& store = game.Store();
  for (auto kind : {NodeStore::kAfter, NodeStore::kBefore})
    if (const std::string* comment = store.Comment(node, kind))
      if (CommentContains(*comment, settings.text, settings.matchCase)) return true;
  return false;
}

// The ring index examined first when walking from the current node, which
// need not carry a comment itself: its neighbour in tree order.
std::size_t FirstFromCurrent(const GameTree& game, bool forward) {
  const std::size_t size = Ring(game).nodes.size();
  std::size_t before = 0;  // commented nodes before the current one in tree order
  bool commented = false;
  for (NodeRef at : NodesInTreeOrder(game)) {
    if (at == game.current) {
      commented = HasComment(game.Node(at));
      break;
    }
    if (HasComment(game.Node(at))) ++before;
  }
  if (forward) return (before + (commented ? 1 : 0)) % size;
  return (before + size - 1) % size;
}

// The ring index examined first: after the last hit when it is still in the
// ring, else next to the current node.
std::size_t FirstToExamine(const GameTree& game, bool forward) {
  const auto& ring = Ring(game).nodes;
  const std::size_t size = ring.size();
  auto last = std::find(ring.begin(), ring.end(), Ring(game).position);
  if (Ring(game).position == kNoNode || last == ring.end()) return FirstFromCurrent(game, forward);
  const std::size_t index = static_cast<std::size_t>(last - ring.begin());
  return forward ? (index + 1) % size : (index + size - 1) % size;
}

std::string SearchedSuffix(std::size_t examined) {
  return examined == 1 ? std::string("\r\n1 comment was found.")
                       : Format("\r\n%d comments were searched.", static_cast<int>(examined));
}

// Walks the ring once around from the last position.
void Search(GameTree& game, UserPrompt& prompt, const FindSettings& settings) {
  constexpr const char* kCaption = "CmFindNext()";
  const auto& ring = Ring(game).nodes;
  const std::size_t size = ring.size();
  std::size_t index = FirstToExamine(game, settings.forward);
  std::optional<NodeRef> hit;
  std::size_t examined = 0;
  while (examined < size) {
    ++examined;
    if (NodeMatches(game, ring[index], settings)) {
      hit = ring[index];
      break;
    }
    index = settings.forward ? (index + 1) % size : (index + size - 1) % size;
  }
  const char* text = settings.text.c_str();
  if (!hit) {
    prompt.Inform(kCaption, Format("'%s'\r\n\r\nThis string could not be found.", text) + SearchedSuffix(examined));
    return;
  }
  Ring(game).position = *hit;
  if (*hit == game.current && examined == size) {
    prompt.Inform(kCaption, Format("'%s'\r\n\r\nOnly one occurrence of this string could be found", text) +
                                SearchedSuffix(examined));
    return;
  }
  // Exchanging lines reorders the tree but keeps its commented nodes, so the
  // ring stays as it was when the search began and the walk visits every
  // node once per round.
  const bool ringValid = Ring(game).valid;
  ActivateAndGoTo(game, *hit);
  Ring(game).valid = ringValid;
}

}  // namespace

std::vector<NodeRef> CreateCommentsList(const GameTree& game) {
  std::vector<NodeRef> ring;
  for (NodeRef at : NodesInTreeOrder(game))
    if (HasComment(game.Node(at))) ring.push_back(at);
  return ring;
}

bool CommentContains(const std::string& comment, const std::string& text, bool matchCase) {
  if (matchCase) return comment.find(text) != std::string::npos;
  auto same = [](char a, char b) { return Fold(static_cast<unsigned char>(a)) == Fold(static_cast<unsigned char>(b)); };
  return std::search(comment.begin(), comment.end(), text.begin(), text.end(), same) != comment.end();
}

void CmFind(GameTree& game, UserPrompt& prompt, FindSettings& settings) {
  BuildRing(game);
  Ring(game).position = kNoNode;
  if (Ring(game).nodes.empty()) {
    prompt.Inform("CmFind()", kNoComments);
    return;
  }
  std::optional<std::string> text = prompt.AskText(" Find", "Find what:", settings.text);
  if (!text || text->empty()) return;
  settings.text = *text;
  Search(game, prompt, settings);
}

void CmFindNext(GameTree& game, UserPrompt& prompt, const FindSettings& settings) {
  if (!Ring(game).valid) {
    BuildRing(game);
    if (Ring(game).nodes.empty()) {
      prompt.Inform("CreateCommentsList()", kNoComments);
      return;
    }
  }
  if (Ring(game).nodes.empty()) {
    prompt.Inform("FindNext()", kNoComments);
    return;
  }
  if (settings.text.empty()) return;
  Search(game, prompt, settings);
}

}  // namespace varnock
