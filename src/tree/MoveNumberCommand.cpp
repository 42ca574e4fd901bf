#include "tree/MoveNumberCommand.h"

#include <charconv>
#include <optional>
#include <string>

#include "core/Format.h"
#include "tree/Navigation.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "CmMoveTo()";

// A move number typed by the user: digits, optionally surrounded by blanks.
std::optional<std::int64_t> ParseMoveNumber(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t");
  std::size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos) return std::nullopt;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  if (*first < '0' || *first > '9') return std::nullopt;  // also refuses a sign
  std::int64_t value = 0;
  auto [ptr, error] = std::from_chars(first, last, value);
  if (error != std::errc() || ptr != last) return std::nullopt;
  return value;
}

}  // namespace

MoveNumberMatches FindMoveNumber(const GameTree& game, std::int64_t number) {
  MoveNumberMatches matches;
  const NodeStore& store = game.Store();
  const std::int64_t whitePly = 2 * number - 1;
  std::int64_t ply = 0;
  for (NodeRef at = game.root; at != kNoNode; at = store.Node(at).next) {
    const MoveNode& node = store.Node(at);
    bool match;
    if (node.Has(kFlagComposed)) {
      const FENExtras* extras = store.Composed(at);
      const std::int64_t full = extras ? extras->fullMoveNumber : 1;
      ply = 2 * full - 2 + (node.SideToMove() == kBlack ? 1 : 0);
      match = ply == whitePly || ply == whitePly + 1;
    } else {
      if (at != game.root) ++ply;
      match = ply == whitePly;
    }
    if (match && matches.count++ == 0) matches.first = at;
  }
  return matches;
}

void CmMoveTo(GameTree& game, UserPrompt& prompt) {
  std::optional<std::string> answer = prompt.AskText(" Go to Move", "Move number:", "");
  if (!answer) return;
  std::optional<std::int64_t> number = ParseMoveNumber(*answer);
  if (!number || *number > 0x7FFFFFFF) return;
  const int n = static_cast<int>(*number);
  MoveNumberMatches matches = FindMoveNumber(game, n);
  if (matches.count == 0) {
    prompt.Inform(kCaption, Format("Number %d could not be found.", n));
    return;
  }
  GoToNode(game, matches.first);
  if (matches.count > 1) prompt.Inform(kCaption, Format("Warning - %d numbers %d were found.", matches.count, n));
}

}  // namespace varnock
