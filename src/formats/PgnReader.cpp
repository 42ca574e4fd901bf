#include "formats/PgnReader.h"

#include <algorithm>
#include <cstring>

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Format.h"
#include "core/Resolve.h"
#include "formats/PgnMoveToken.h"
#include "formats/PgnReaderState.h"
#include "formats/PgnReports.h"
#include "formats/PgnTagNames.h"
#include "formats/TextScans.h"
#include "tree/Bookmarks.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock::pgn {

int PgnReader::Read() {
  text_ = ctx_.text;
  gameStart_ = ctx_.cursor;
  pos_ = ctx_.cursor;
  // A UTF-8 byte-order mark at the start of the text is no part of a game.
  if (pos_ == 0 && text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ >= text_.size() || text_[pos_] == '\0') return 0;

  gameNumber_ = mode_ == ReadMode::Reread ? ctx_.rereadGameNumber : ctx_.gameCounter + 1;
  game_.loaded = !Scanning();
  game_.headerLength = 0;
  if (!Scanning()) {
    tree_ = &game_.Tree();
    tree_->current = tree_->root;
    mainLineNode_ = tree_->root;
    ShowCurrentPosition(*tree_);
  }

  const bool quickTokens = HasTree() && ctx_.plainMoves;
  while (pos_ < text_.size()) {
    if (Scanning() && !accepting_ && movetextSeen_ &&
        (state_ == State::Between || state_ == State::Token || state_ == State::Nag || state_ == State::Symbol ||
         state_ == State::Skip)) {
      SkipScannedMovetext();
      break;
    }
    if (state_ == State::Between) {
      SkipBlanksAndMoveNumbers();
      if (pos_ >= text_.size()) break;
      if (quickTokens && text_[pos_] != '[') {  // not at a tag
        TakePlainMoves();
        SkipBlanksAndMoveNumbers();
        if (pos_ >= text_.size()) break;
        if (TakeMoveToken()) continue;
      }
    }
    const char c = text_[pos_];
    if (c == '\0') break;
    if (state_ != State::TagValue && c == '%' && (previous_ == '\r' || previous_ == '\n')) {
      EscapeLine();
      continue;
    }
    if (state_ == State::Between && c == '[') {
      if (movetextSeen_) break;  // the next game
      if (ReadTagInOneStride()) continue;
    }
    Step(c);
  }
  FinishPending();
  EndOfGame();
  return 1;
}

// Text that ends inside a token, a mark or a comment keeps what it held.
void PgnReader::FinishPending() {
  switch (state_) {
    case State::Token:
      ProcessToken();
      break;
    case State::Nag:
    case State::Symbol:
      if (accepting_ && HasTree()) ApplyMark(mark_, state_ == State::Nag, tree_->current);
      break;
    case State::Comment:
    case State::LineComment:
      AttachComment(NodeStore::kAfter, comment_);
      break;
    default:
      break;
  }
}

// The token being processed as it stands in the text, up to the cursor and
// after the last dot ("12.1-0" is "1-0").
std::string_view PgnReader::WrittenToken() const {
  if (tokenStart_ >= pos_ || pos_ > text_.size()) return {};
  std::string_view written = text_.substr(tokenStart_, pos_ - tokenStart_);
  if (const std::size_t dot = written.rfind('.'); dot != std::string_view::npos) written.remove_prefix(dot + 1);
  return written;
}

// An escape line: "%" at the start of a line.
void PgnReader::EscapeLine() {
  std::size_t end = pos_;
  while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n' && text_[end] != '\0') ++end;
  const std::string_view line = text_.substr(pos_, end - pos_);
  if (accepting_ && state_ == State::Between && HasTree() && tree_->current != kNoNode) {
    GameTree& tree = *tree_;
    const NodeRef node = tree.current;
    if (line.starts_with("%FG[]")) tree.Node(node).Set(kFlagDiagram, true);
    if (line.starts_with("%XF[]")) {
      game_.flipped = true;
      tree.boardFlipped = true;
    }
    if (line.starts_with("%XP[]")) {
      tree.primary = node;
      primarySet_ = true;
    }
    if (!Scanning()) {
      auto number = [&](std::size_t at) {
        int value = 0;
        for (; at < line.size() && IsDigit(line[at]) && value < 100000000; ++at) value = value * 10 + (line[at] - '0');
        return value;
      };
      if (line.starts_with("%XR[")) {
        // A result mark inside the game, which a result token would end.
        const int result = number(4);
        if (result >= 1 && result <= 3) tree.Store().SetResult(node, static_cast<std::uint8_t>(result));
      } else if (line.starts_with("%BM[")) {
        SetBookmark(tree, node, number(4));
      } else if (line.starts_with("%XN[")) {
        const int slot = number(4);
        if (slot >= 0 && slot <= 9) {
          NodeRef& held = tree.storeSlots[static_cast<std::size_t>(slot)];
          if (held != kNoNode && held != node) tree.Node(held).Set2(kFlag2Stored, false);
          if (auto old = StoreNumberOf(tree, node)) tree.storeSlots[static_cast<std::size_t>(*old)] = kNoNode;
          held = node;
          tree.Node(node).Set2(kFlag2Stored, true);
        }
      }
    }
  } else if (line.starts_with("%XF[]") && Scanning() && accepting_ && state_ == State::Between) {
    game_.flipped = true;
  }
  pos_ = end;
  while (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n')) ++pos_;
  previous_ = '\n';
}

// Scan mode after the first move: nothing more is kept, the reader only finds
// where the game ends and counts the brackets for the warning. It leaps from
// one character that can matter to the next (brackets, braces, ";", "[",
// "%", NUL); what lies between only decides, through the word in front of a
// "[" or ";", whether the state is Between there. The outcome is exactly that
// of stepping through every character.
void PgnReader::SkipScannedMovetext() {
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t i = pos_;
  // The state at `wordStart`; from there to the cursor no blank, bracket or
  // brace has been met.
  State wordState = state_;
  std::size_t wordStart = pos_;
  // The character before `anchor` is `anchorPrevious`; after it, the text's.
  std::size_t anchor = pos_;
  char anchorPrevious = previous_;

  auto finish = [&](std::size_t at, State state, char before) {
    pos_ = at;
    state_ = state;
    previous_ = before;
  };
  auto previousAt = [&](std::size_t at) { return at > anchor ? text[at - 1] : anchorPrevious; };

  while (true) {
    const std::size_t j = FindMovetextEvent(text, i, size);
    if (j >= size) return finish(size, StateOfWord(wordState, text, wordStart, size, size), previousAt(size));
    const char c = text[j];
    switch (c) {
      case '\0':
        return finish(j, StateOfWord(wordState, text, wordStart, j, size), previousAt(j));
      case '(':
      case ')':
        ++(c == '(' ? openCount_ : closeCount_);
        i = wordStart = j + 1;
        wordState = State::Between;
        break;
      case '%':
        if (previousAt(j) == '\r' || previousAt(j) == '\n') {
          // Only a line end comes before "%" here: the word before it was
          // ended, and the state is Between again.
          i = wordStart = anchor = SkipLine(text, j, size);
          anchorPrevious = '\n';
          wordState = State::Between;
        } else {
          i = j + 1;
        }
        break;
      case '{': {
        const std::size_t end = SkipComment(text, j + 1, size);
        if (end >= size || text[end] != '}') return finish(end, State::Comment, previousAt(end));
        i = wordStart = end + 1;
        wordState = State::Between;
        break;
      }
      default: {  // "[" or ";"
        const State state = StateOfWord(wordState, text, wordStart, j, size);
        if (state == State::Between && c == '[') return finish(j, State::Between, previousAt(j));
        if (c == ';' && (state == State::Between || state == State::Token)) {  // a line comment
          std::size_t end = j + 1;
          while (end < size && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
          if (end >= size || text[end] == '\0') return finish(end, State::LineComment, previousAt(end));
          i = wordStart = end + 1;
          wordState = State::Between;
        } else {
          i = j + 1;  // part of a mark
        }
        break;
      }
    }
  }
}

// A tag at the cursor's "[" read in one stride: its name, its value and the
// closing bracket. A tag holding anything the stride leaves to the character
// steps (a "%" that may begin an escape line, a NUL, the end of the text) is
// not touched, and false is returned.
bool PgnReader::ReadTagInOneStride() {
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t i = pos_ + 1;
  const std::size_t nameStart = i;
  i = scans::FirstOf<'"', '\0', '%'>(text, i, size);
  if (i >= size || text[i] != '"') return false;
  const std::size_t nameEnd = i++;
  while (i < size && IsBlank(text[i])) ++i;
  const std::size_t valueStart = i;
  const void* quote = std::memchr(text + i, '"', size - i);
  if (!quote) return false;
  const std::size_t valueEnd = static_cast<std::size_t>(static_cast<const char*>(quote) - text);
  if (std::memchr(text + valueStart, '\0', valueEnd - valueStart)) return false;
  i = scans::FirstOf<']', '\0', '%'>(text, valueEnd + 1, size);
  if (i >= size || text[i] != ']') return false;

  pos_ = valueEnd;  // where the reports of a FEN tag place it
  StoreTag(std::string_view(text + nameStart, std::min<std::size_t>(nameEnd - nameStart, 16)),
           std::string_view(text + valueStart, valueEnd - valueStart), true);
  pos_ = i + 1;
  previous_ = ']';
  state_ = State::Between;
  return true;
}

void PgnReader::EndTag() { StoreTag(tagName_, tagValue_, false); }

void PgnReader::StoreTag(std::string_view name, std::string_view value, bool valueInText) {
  if (value.empty()) return;
  while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
  if (mode_ == ReadMode::Reread && name.size() != 3) return;  // a reread looks for "FEN" only
  // Tag names are matched without regard to case.
  const KnownTag* tag = FindKnownTag(name);
  // The annotator's standard tag, which the slot table leaves out.
  static constexpr KnownTag kAnnotator{"ANNOTATOR", HeaderField::Annotator};
  if (!tag && name.size() == kAnnotator.name.size() && EqualsIgnoringCase(name, kAnnotator.name)) tag = &kAnnotator;
  if (!tag) return;
  if (tag->fen) {
    FENExtras position;
    FenCheck check = ParseFEN(value, position);
    if (!check.ok) {
      const std::string where = Format("Error in game number %d of the collection, on line number %d.\r\n", gameNumber_,
                                       ctx_.lines.LineAt(text_, pos_));
      const std::string extract = ExtractAround(text_, gameStart_, pos_);
      if (check.rejected) {
        Report(where + "The FEN string is invalid.\r\n( " + check.message +
               " ).\r\nThe error occurred within the following extract from the file.\r\n\r\n" + extract +
               "\r\n\r\nThe variation was truncated at this point." + PlayerLines());
        accepting_ = false;
        return;
      }
      Report("Warning.\r\n" + where + "The FEN string is invalid.\r\n( " + check.message +
             " ).\r\nThe error occurred within the following extract from the file.\r\n\r\n" + extract + PlayerLines());
    }
    if (HasTree()) {
      GameTree& tree = *tree_;
      tree.Store().SetComposed(tree.root, position);
      tree.Node(tree.root).Set(kFlagBlackToMove, position.sideToMove == kBlack);
      if (tree.current == tree.root) ShowCurrentPosition(tree);
    }
    return;
  }
  if (mode_ == ReadMode::Reread) return;
  const auto field = static_cast<std::size_t>(tag->field);
  if (valueInText) {
    header_[field] = value;
  } else {
    ownedHeader_[field] = value;
    header_[field] = ownedHeader_[field];
  }
  tagRead_[field] = true;
}

}  // namespace varnock::pgn

namespace varnock {

int Do_FilePGN(SGridFrame& game, ReadMode mode, PgnReadContext& ctx) {
  pgn::PgnReader reader(game, mode, ctx);
  return reader.Read();
}

}  // namespace varnock
