#include "formats/EchReader.h"

#include <algorithm>
#include <limits>

#include "formats/EchGameReader.h"
#include "formats/EchValues.h"
#include "tree/Lines.h"
#include "tree/Navigation.h"

namespace varnock {

namespace {

constexpr std::size_t kNameLimit = 16;

// Whether the text from `from` holds anything besides brackets, ";",
// backslashes and white space.
bool HoldsProperty(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    switch (text[i]) {
      case '(':
      case ')':
      case '[':
      case ']':
      case ';':
      case '\\':
      case ' ':
      case '\t':
      case '\r':
      case '\n':
        continue;
      default:
        return true;
    }
  }
  return false;
}

// Whether following continuation links from `node` reaches `end`.
bool Reaches(const GameTree& game, NodeRef node, NodeRef end) {
  for (NodeRef at = node; at != kNoNode; at = game.Node(at).next)
    if (at == end) return true;
  return false;
}

}  // namespace

EchGameReader::EchGameReader(SGridFrame& game, ReadMode mode, EchReadSource& source, std::size_t start,
                             std::size_t quietBefore)
    : game_(game), mode_(mode), source_(source), text_(source.text), start_(start), quietBefore_(quietBefore) {}

GameTree& EchGameReader::Tree() {
  if (!tree_) tree_ = &game_.Tree();
  return *tree_;
}

std::size_t EchGameReader::Read() {
  game_.loaded = mode_ != ReadMode::Scan;
  game_.headerLength = 0;
  std::size_t pos = text_.find('(', start_);
  if (pos == std::string_view::npos) {
    Finish();
    return text_.size();
  }
  ++pos;
  char name[kNameLimit];
  std::size_t nameLength = 0;
  std::size_t nameAt = pos;
  while (pos < text_.size()) {
    const char c = text_[pos];
    switch (c) {
      case '\\':
      case ';':
      case ' ':
      case '\t':
      case '\r':
      case '\n':
        ++pos;
        break;
      case '(':
        Open(pos);
        nameLength = 0;
        ++pos;
        break;
      case ')':
        nameLength = 0;
        if (Close(pos)) {
          Finish();
          return pos + 1;
        }
        ++pos;
        break;
      case '[': {
        const std::size_t body = pos + 1;
        const std::size_t end = FindValueEnd(text_, body);
        if (end == std::string_view::npos) {  // the text ends inside the value
          Finish();
          return text_.size();
        }
        if (nameLength == 0) nameAt = pos;
        Apply(std::string_view(name, nameLength), text_.substr(body, end - body), nameAt);
        if (rereadInFull_) return end + 1;
        nameLength = 0;
        pos = end + 1;
        break;
      }
      default:
        if (nameLength == 0) nameAt = pos;
        if (nameLength < kNameLimit) name[nameLength++] = c;
        ++pos;
        break;
    }
  }
  Finish();
  return text_.size();
}

void EchGameReader::MarkHeaderEnd(std::size_t at) {
  if (game_.headerLength != 0 || at <= start_) return;
  game_.headerLength =
      static_cast<std::uint32_t>(std::min<std::size_t>(at - start_, std::numeric_limits<std::uint32_t>::max()));
}

void EchGameReader::Open(std::size_t at) {
  MarkHeaderEnd(at);
  if (accepting_) {
    saved_.push_back({true, CurrentNode(), tree_ ? tree_->activeLine : nullptr});
    lineStart_ = true;
  } else
    saved_.push_back({});
}

bool EchGameReader::Close(std::size_t at) {
  MarkHeaderEnd(at);
  if (!closeMet_) {
    closeMet_ = true;
    remembered_ = CurrentNode();
  }
  if (saved_.empty()) return true;
  const Saved saved = saved_.back();
  saved_.pop_back();
  accepting_ = saved.reading && !skipping_;
  lineStart_ = false;
  if (accepting_) ReturnTo(saved);
  return false;
}

void EchGameReader::ReturnTo(const Saved& saved) {
  if (!tree_) return;  // nothing was entered: the root is still current
  GameTree& game = *tree_;
  game.current = saved.node != kNoNode ? saved.node : game.root;
  // The saved record may have been dropped since (a line that never got its
  // first node); the root's line is then the safe choice.
  auto& lines = game.Store().LinesOf(game.gameId);
  game.activeLine = saved.line && lines.count(saved.line) ? saved.line : game.rootLine;
  game.lineEnd = game.current;
  ShowCurrentPosition(game);
}

void EchGameReader::Finish() {
  if (!closeMet_) {  // the text ended inside the game
    closeMet_ = true;
    remembered_ = CurrentNode();
  }
  if (flippedMet_) game_.flipped = true;
  if (mode_ != ReadMode::Reread) game_.header.SetAll(header_);
  if (!tree_) return;
  if (mode_ == ReadMode::Scan) {  // only the header was wanted
    game_.DropTree();
    tree_ = nullptr;
    return;
  }
  GameTree& game = *tree_;
  if (nodeRead_) {
    // The root's line, which the first ")" closed, becomes the active line.
    game.activeLine = game.rootLine;
    game.rootLine->last = ChainEnd(game, game.root);
    game.lineEnd = game.rootLine->last;
    const NodeRef viewed = viewed_ != kNoNode ? viewed_ : game.root;
    const NodeRef remembered = remembered_ != kNoNode ? remembered_ : game.root;
    if (viewedMet_ && Reaches(game, viewed, game.lineEnd))
      game.current = viewed;
    else if (Reaches(game, remembered, game.lineEnd))
      game.current = remembered;
    else
      game.current = game.lineEnd;
  } else {
    game.current = game.root;
  }
  if (game.primary == kNoNode) game.primary = game.current;
  ShowCurrentPosition(game);
  game.boardFlipped = game_.flipped;
  game.changed = false;
}

int ReadEchGame(SGridFrame& game, ReadMode mode, EchReadSource& source, std::size_t& cursor, bool& markedGame) {
  markedGame = false;
  if (cursor >= source.text.size() || !HoldsProperty(source.text, cursor)) return 0;
  game.DropTree();
  EchGameReader reader(game, mode, source, cursor, 0);
  std::size_t end = reader.Read();
  markedGame = reader.Marked();
  if (reader.RereadInFull()) {
    game.DropTree();
    EchGameReader full(game, ReadMode::Full, source, cursor, reader.SkippedFrom());
    end = full.Read();
    markedGame = true;
  }
  cursor = end;
  return 1;
}

}  // namespace varnock
