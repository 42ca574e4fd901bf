// The working state of one call of the PGN reader, and the steps that read
// a game with it: the character steps (PgnCharacterSteps.cpp), the quick
// lanes for plain moves (PgnQuickLane.cpp), tokens, variations and the end of
// a game (PgnReaderLines.cpp), the loop, tags and escape lines
// (PgnReader.cpp). Nothing of it survives the call.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/BoardSets.h"
#include "core/SetAttacks.h"
#include "formats/PgnLexical.h"
#include "formats/PgnPlainShape.h"
#include "formats/PgnReader.h"
#include "tree/Comments.h"
#include "tree/Positions.h"

namespace varnock::pgn {

class PgnReader {
 public:
  PgnReader(SGridFrame& game, ReadMode mode, PgnReadContext& ctx) : game_(game), mode_(mode), ctx_(ctx) {}
  int Read();

 private:
  bool Scanning() const { return mode_ == ReadMode::Scan; }
  bool HasTree() const { return tree_ != nullptr; }
  char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

  void Step(char c);
  void Between(char c);
  void TagValueChar(char c);
  void TokenChar(char c);
  void CommentChar(char c);
  void MarkChar(char c);
  void EscapeLine();
  void SkipScannedMovetext();
  void SkipBlanksAndMoveNumbers();
  void TakePlainMoves();
  bool TakeMoveToken();
  bool ReadTagInOneStride();
  void FinishPending();
  // A token, or a move number standing before one, begins at `at`: the tag
  // section ends before the first, and the text a failed move skips begins at
  // the last one read while moves are accepted.
  void TokenStartsAt(std::size_t at) {
    if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(at - gameStart_);
    if (accepting_) {
      failureStart_ = at;
      failureRecorded_ = true;
    }
    tokenStart_ = at;
  }
  std::string_view WrittenToken() const;
  void EndTag();
  void StoreTag(std::string_view name, std::string_view value, bool valueInText);
  // `plainTried`: the token is known not to be a plain move.
  void ProcessToken(bool plainTried = false);
  bool PlainMove();
  bool PlainMoveOf(const PlainShape& shape, std::string_view marks);
  bool PlainCastling(bool kingSide);
  bool QuickLaneOpen(bool& inCheck);
  void AppendPlain(int from, int to, std::string_view marks);
  void EnterMove(int from, int to, std::uint8_t promotion, bool withSymbol);
  void AttachComment(NodeStore::CommentKind kind, std::string& text);
  void ApplyMark(std::string_view text, bool nag, NodeRef node);
  void OpenVariation();
  void CloseVariation();
  void ShowNode(NodeRef node);
  void BadContinuation(std::size_t end);
  void Report(std::string message);
  void EndOfGame();
  std::string PlayerLines() const;

  SGridFrame& game_;
  ReadMode mode_;
  PgnReadContext& ctx_;
  std::string_view text_;
  GameTree* tree_ = nullptr;

  std::size_t pos_ = 0;
  std::size_t gameStart_ = 0;
  int gameNumber_ = 0;
  State state_ = State::Between;
  char previous_ = '\0';
  bool accepting_ = true;
  bool movetextSeen_ = false;
  bool primarySet_ = false;
  bool variationStart_ = false;  // the next move is the first of a variation
  bool failureRecorded_ = false;
  std::size_t failureStart_ = 0;
  std::size_t tokenStart_ = 0;  // where the token being read begins
  int openCount_ = 0;
  int closeCount_ = 0;

  // The move token being collected: at most 8 characters are kept.
  struct TokenText {
    char text[8];
    std::size_t length = 0;
    void Clear() { length = 0; }
    void Assign(char c) { text[0] = c, length = 1; }
    void Add(char c) {
      if (length < sizeof text) text[length++] = c;
    }
    bool Empty() const { return length == 0; }
    std::string_view View() const { return {text, length}; }
  };
  TokenText token_;
  int checkMarker_ = 0;
  bool equalsSeen_ = false;
  std::string tagName_;
  std::string tagValue_;
  bool tagValueStarted_ = false;
  std::string comment_;
  std::string preComment_;
  std::string pendingBefore_;
  std::string mark_;
  bool markIsNag_ = false;
  // The header values: views into the text, or into ownedHeader_ for a value
  // collected character by character.
  std::array<std::string_view, kHeaderFieldCount> header_;
  std::array<std::string, kHeaderFieldCount> ownedHeader_;
  std::array<bool, kHeaderFieldCount> tagRead_{};

  struct Saved {
    SBranchDetails* line;
    NodeRef node;
  };
  std::vector<Saved> variations_;
  // A node of the main line, as deep as the reader knows: a move appended
  // straight after it is on the main line too. The end of the main line is
  // looked for from here when the game ends.
  NodeRef mainLineNode_ = kNoNode;
  // The node the quick lane appended last, after which the next move may be
  // appended without asking again: it ends the active line and is a legal
  // move (castling included, no pass); and whether it gives check. Any other
  // step that moves the reader in the tree forgets it.
  NodeRef appendable_ = kNoNode;
  // While the current node is appendable_: the board's square sets, and the
  // castling history of the node when castlingKnown_ (moves that cannot be
  // castling add their squares to it whether it is known or not).
  BoardSets sets_;
  CastlingHistory castling_;
  bool castlingKnown_ = false;
  bool appendableGivesCheck_ = false;
  void FollowMainLine(NodeRef before) {
    if (before == mainLineNode_ && tree_->Node(before).next == tree_->current) mainLineNode_ = tree_->current;
  }
};

}  // namespace varnock::pgn
