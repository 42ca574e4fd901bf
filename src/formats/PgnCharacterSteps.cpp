// The character steps: every state of the reader, one character at a time.

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

// Between tokens: blanks, dots and move numbers followed by a blank ("12. ",
// "12... ") in one stride, as stepping through them would leave things: a
// move number is an empty token.
void PgnReader::SkipBlanksAndMoveNumbers() {
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t i = pos_;
  char previous = previous_;
  while (i < size) {
    const char c = text[i];
    if (IsBlank(c) || c == '.') {
      previous = c;
      ++i;
      continue;
    }
    if (!IsDigit(c)) break;
    const std::size_t end = PastMoveNumber(text, i, size);
    if (end == kNoMoveNumber) break;
    if (end < size && !IsBlank(text[end])) break;  // "12.e4": the number and the move are one token
    TokenStartsAt(i);
    previous = '.';
    i = end;
  }
  pos_ = i;
  previous_ = previous;
}

void PgnReader::Step(char c) {
  switch (state_) {
    case State::Between:
      Between(c);
      if (state_ == State::Token) {
        // The token started here, the rest of it and a blank that ends it in
        // one go, as the character steps would take them.
        previous_ = c;
        ++pos_;
        if (pos_ < text_.size() && !HasClass(text_[pos_], kTokenEndChar)) TokenChar(text_[pos_]);
        if (pos_ < text_.size() && IsBlank(text_[pos_])) TokenChar(text_[pos_]);
        return;
      }
      break;
    case State::TagName:
      if (c == '"') {
        state_ = State::TagValue;
        tagValue_.clear();
        tagValueStarted_ = false;
      } else if (tagName_.size() < 16) {
        tagName_ += c;
      }
      break;
    case State::TagValue:
      TagValueChar(c);
      break;
    case State::TagEnd:
      if (c == ']') state_ = State::Between;
      break;
    case State::Token:
      TokenChar(c);
      return;  // remembers the character itself
    case State::Comment:
    case State::PreComment:
    case State::LineComment:
      CommentChar(c);
      break;
    case State::Nag:
    case State::Symbol:
    case State::Skip:
      MarkChar(c);
      return;
  }
  previous_ = c;
  ++pos_;
}

void PgnReader::Between(char c) {
  if (c == '[') {
    state_ = State::TagName;
    tagName_.clear();
  } else if (IsLetter(c) || IsDigit(c) || c == '*' || (c == '-' && At(pos_ + 1) != '+' && At(pos_ + 1) != '/')) {
    TokenStartsAt(pos_);
    state_ = State::Token;
    token_.Assign(c);
    checkMarker_ = 0;
    equalsSeen_ = false;
  } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '.') {
    // A CR is a line end like LF: files with lone CR line ends read as others do.
    // nothing
  } else if (c == '(') {
    OpenVariation();
  } else if (c == ')') {
    CloseVariation();
  } else if (c == '{') {
    const bool hasContinuation = HasTree() && tree_->Node(tree_->current).next != kNoNode;
    state_ = hasContinuation ? State::PreComment : State::Comment;
    comment_.clear();
  } else if (c == ';') {
    state_ = State::LineComment;
    comment_.clear();
  } else if (c == '$') {
    state_ = State::Nag;
    markIsNag_ = true;
    mark_.clear();
  } else if (c == '!' || c == '?' || c == '=' || c == '+' || c == '-') {
    // "-" opens a symbol only before "+" or "/" ("-+", "-/+").
    state_ = State::Symbol;
    markIsNag_ = false;
    mark_.assign(1, c);
  } else {
    state_ = State::Skip;
    mark_.clear();
  }
}

void PgnReader::TagValueChar(char c) {
  if (c == '"') {
    EndTag();
    state_ = State::TagEnd;
    return;
  }
  if (!tagValueStarted_ && IsBlank(c)) return;
  tagValueStarted_ = true;
  tagValue_ += c;
}

void PgnReader::TokenChar(char c) {
  // A NAG or a comment written straight after a move ("e4$1", "e4;...")
  // ends the move as a space would, and opens its own state.
  if (c == '$' || c == ';') {
    ProcessToken();
    token_.Clear();
    checkMarker_ = 0;
    equalsSeen_ = false;
    Between(c);
    previous_ = c;
    ++pos_;
    return;
  }
  if (IsDelimiter(c)) {
    ProcessToken();
    token_.Clear();
    checkMarker_ = 0;
    equalsSeen_ = false;
    state_ = c == '{' ? State::Comment : State::Between;
    if (c == '{') {
      comment_.clear();
      previous_ = c;
      ++pos_;
    } else if (c != '(' && c != ')') {
      previous_ = c;
      ++pos_;
    }
    return;
  }
  // This character and the rest of the token in one go: a "%" inside a
  // token follows a token character, so it never begins an escape line.
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  while (true) {
    if (!HasClass(c, kTokenMarkChar)) {
      token_.Add(c);
    } else if (c == '.') {
      token_.Clear();
    } else if (c == '+') {
      checkMarker_ = 1;
    } else if (c == '#') {
      checkMarker_ = 2;
    } else if (c == '=') {
      equalsSeen_ = true;
    }  // "-" and "x" are left out
    previous_ = c;
    if (++pos_ >= size) return;
    c = text[pos_];
    if (HasClass(c, kTokenEndChar)) return;
  }
}

void PgnReader::CommentChar(char c) {
  const bool lineComment = state_ == State::LineComment;
  const bool ends = lineComment ? (c == '\r' || c == '\n') : c == '}';
  if (ends) {
    if (state_ == State::PreComment) {
      if (!Scanning() && accepting_ && !comment_.empty()) {
        while (!comment_.empty() && IsBlank(comment_.back())) comment_.pop_back();
        pendingBefore_ = pendingBefore_.empty() ? comment_ : pendingBefore_ + "\r\n\r\n" + comment_;
      }
    } else {
      AttachComment(NodeStore::kAfter, comment_);
    }
    comment_.clear();
    state_ = State::Between;
    return;
  }
  if (Scanning()) return;
  if (c == '{' && !lineComment) return;
  if (comment_.empty() && IsBlank(c)) return;
  comment_ += c;
}

void PgnReader::AttachComment(NodeStore::CommentKind kind, std::string& text) {
  if (Scanning() || !accepting_ || text.empty() || !HasTree() || tree_->current == kNoNode) return;
  SetComment(*tree_, tree_->current, kind, text, false);
}

void PgnReader::MarkChar(char c) {
  if (!IsDelimiter(c)) {
    if (state_ != State::Skip && mark_.size() < 16) mark_ += c;
    previous_ = c;
    ++pos_;
    return;
  }
  if (state_ != State::Skip && accepting_ && HasTree()) ApplyMark(mark_, state_ == State::Nag, tree_->current);
  mark_.clear();
  state_ = c == '{' ? State::Comment : State::Between;
  if (c == '{') comment_.clear();
  if (c != '(' && c != ')') {
    previous_ = c;
    ++pos_;
  }
}

void PgnReader::ApplyMark(std::string_view text, bool nag, NodeRef node) {
  if (node == kNoNode || !HasTree()) return;
  MarkLookup mark = LookUpMark(text, nag);
  NodeStore& store = tree_->Store();
  if (mark.rating) store.SetRating(node, mark.rating);
  if (mark.assessment) store.SetAssessment(node, mark.assessment);
}

}  // namespace varnock::pgn
