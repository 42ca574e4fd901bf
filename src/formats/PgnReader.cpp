#include "formats/PgnReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/Attack.h"
#include "core/Fen.h"
#include "core/Format.h"
#include "core/Resolve.h"
#include "core/SetAttacks.h"
#include "formats/PgnMoveToken.h"
#include "formats/PgnReports.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/Lines.h"
#include "tree/MoveEntry.h"
#include "tree/Navigation.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

enum class State { Between, TagName, TagValue, TagEnd, Token, Comment, PreComment, LineComment, Nag, Symbol, Skip };

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Character classes, looked up rather than compared one by one: the
// characters of movetext follow no pattern a branch predictor could learn.
enum CharClass : std::uint8_t {
  kBlankChar = 1,      // space, tab, CR, LF
  kDelimiterChar = 2,  // a blank, "(", ")" or "{": ends a token
  kTokenEndChar = 4,   // a delimiter, "$", ";" or NUL
  kTokenMarkChar = 8,  // ".", "-", "x", "+", "#", "=": not kept in a token
};
constexpr std::array<std::uint8_t, 256> kCharClasses = [] {
  std::array<std::uint8_t, 256> classes{};
  for (unsigned char c : {' ', '\t', '\r', '\n'}) classes[c] |= kBlankChar | kDelimiterChar | kTokenEndChar;
  for (unsigned char c : {'(', ')', '{'}) classes[c] |= kDelimiterChar | kTokenEndChar;
  for (unsigned char c : {'$', ';', '\0'}) classes[c] |= kTokenEndChar;
  for (unsigned char c : {'.', '-', 'x', '+', '#', '='}) classes[c] |= kTokenMarkChar;
  return classes;
}();
bool HasClass(char c, std::uint8_t charClass) { return kCharClasses[static_cast<unsigned char>(c)] & charClass; }

bool IsBlank(char c) { return HasClass(c, kBlankChar); }
bool IsDelimiter(char c) { return HasClass(c, kDelimiterChar); }

// The lexical state after the characters [from, to) of movetext that hold
// no bracket, brace or line comment, starting in `state`. After a blank the
// state is Between whatever it was, so only the last word is stepped through.
State StateOfWord(State state, const char* text, std::size_t from, std::size_t to, std::size_t size) {
  for (std::size_t k = to; k > from; --k) {
    if (IsBlank(text[k - 1])) {
      state = State::Between;
      from = k;
      break;
    }
  }
  for (std::size_t k = from; k < to; ++k) {
    const char c = text[k];
    if (state == State::Between) {
      if (c == '.') continue;
      if (IsLetter(c) || IsDigit(c) || c == '*' ||
          (c == '-' && (k + 1 >= size || (text[k + 1] != '+' && text[k + 1] != '/'))))
        state = State::Token;
      else if (c == '$')
        state = State::Nag;
      else if (c == '!' || c == '?' || c == '=' || c == '+' || c == '-')
        state = State::Symbol;
      else
        state = State::Skip;
    } else if (state == State::Token && c == '$') {
      state = State::Nag;
    }
  }
  return state;
}

// The first place at or after `i` where the text holds one of `Chars`;
// `size` when there is none. Sixteen characters at a time where the text has
// them.
template <char... Chars>
std::size_t FirstOf(const char* text, std::size_t i, std::size_t size) {
#if defined(__SSE2__)
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Chars)))), ...);
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#endif
  for (; i < size; ++i)
    if (((text[i] == Chars) || ...)) return i;
  return size;
}

// The next character at or after `i` that can end a game or change what a
// scan counts: a bracket, a brace, ";", "[", "%" or NUL; `size` when none.
std::size_t FindMovetextEvent(const char* text, std::size_t i, std::size_t size) {
  return FirstOf<'(', ')', '{', ';', '[', '%', '\0'>(text, i, size);
}

// Past an escape line at `i` and the line ends after it.
std::size_t SkipLine(const char* text, std::size_t i, std::size_t size) {
  while (i < size && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') ++i;
  while (i < size && (text[i] == '\r' || text[i] == '\n')) ++i;
  return i;
}

// The closing brace of a comment whose text begins at `i`, passing over
// escape lines inside it (a "[" or "}" on such a line counts for nothing);
// else where the text or a NUL ends it.
std::size_t SkipComment(const char* text, std::size_t i, std::size_t size) {
  while (i < size) {
    const void* found = std::memchr(text + i, '}', size - i);
    const std::size_t brace = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text) : size;
    // A "%" at a line start or a NUL before the brace changes the outcome.
    std::size_t at = i;
    bool restarted = false;
    while (at < brace) {
      const void* mark = std::memchr(text + at, '%', brace - at);
      const void* nul = std::memchr(text + at, '\0', brace - at);
      if (nul && (!mark || nul < mark)) return static_cast<std::size_t>(static_cast<const char*>(nul) - text);
      if (!mark) break;
      const std::size_t percent = static_cast<std::size_t>(static_cast<const char*>(mark) - text);
      if (percent > 0 && (text[percent - 1] == '\r' || text[percent - 1] == '\n')) {
        i = SkipLine(text, percent, size);
        restarted = true;
        break;
      }
      at = percent + 1;
    }
    if (!restarted) return brace;
  }
  return size;
}

// The tags the reader knows, by upper-cased name: the ones stored in the
// header, and "FEN".
struct KnownTag {
  std::string_view name;
  HeaderField field = HeaderField::Black;  // where a header tag goes
  bool fen = false;
};
constexpr KnownTag kKnownTags[] = {
    {"BLACK", HeaderField::Black},
    {"WHITE", HeaderField::White},
    {"SITE", HeaderField::Site},
    {"EVENTDATE", HeaderField::EventDate},
    {"RESULT", HeaderField::Result},
    {"DATE", HeaderField::Date},
    {"EVENT", HeaderField::Event},
    {"ROUND", HeaderField::Round},
    {"OPENING", HeaderField::Opening},
    {"ECO", HeaderField::ECO},
    {"BLACKELO", HeaderField::BlackELO},
    {"WHITEELO", HeaderField::WhiteELO},
    {"BOARD", HeaderField::Board},
    {"TIMECONTROL", HeaderField::TimeControl},
    {"FEN", {}, true},
};
constexpr std::size_t kKnownTagCount = std::size(kKnownTags);

// Where a name is looked for among the known tags: its length and its outer
// letters, whatever their case, tell the known names apart.
constexpr std::size_t TagSlot(std::size_t length, char first, char last) {
  return (length + static_cast<std::size_t>(first & 0x1F) * 2 + static_cast<std::size_t>(last & 0x1F)) & 63;
}
constexpr std::array<std::int8_t, 64> kTagSlots = [] {
  std::array<std::int8_t, 64> slots{};
  for (auto& slot : slots) slot = -1;
  for (std::size_t i = 0; i < kKnownTagCount; ++i) {
    const std::string_view name = kKnownTags[i].name;
    const std::size_t slot = TagSlot(name.size(), name.front(), name.back());
    if (slots[slot] != -1) throw "two known tags share a slot";  // not a constant expression: fails the build
    slots[slot] = static_cast<std::int8_t>(i);
  }
  return slots;
}();

// The known tag of a name, whatever the case of its letters; nullptr for
// any other name.
const KnownTag* FindKnownTag(std::string_view name) {
  if (name.empty()) return nullptr;
  const int index = kTagSlots[TagSlot(name.size(), name.front(), name.back())];
  if (index < 0) return nullptr;
  const KnownTag& tag = kKnownTags[index];
  if (tag.name.size() != name.size()) return nullptr;
  for (std::size_t i = 0; i < name.size(); ++i) {
    // Known names hold capital letters only: a letter matches as it is or
    // as its small letter.
    if (name[i] != tag.name[i] && name[i] != (tag.name[i] | 0x20)) return nullptr;
  }
  return &tag;
}

// A move of the plain shape: an optional piece letter, an optional origin
// file and rank, and the destination ("e4", "Nf3", "exd5", "R1a3", "Qh4e1").
struct PlainShape {
  std::uint8_t piece = kPawn;
  std::string_view hint;
  int to = kNoSquare;
};

// The piece a move's first letter names (0 for any other character).
constexpr std::array<std::uint8_t, 256> kPieceLetters = [] {
  std::array<std::uint8_t, 256> pieces{};
  pieces['N'] = kKnight;
  pieces['B'] = kBishop;
  pieces['R'] = kRook;
  pieces['Q'] = kQueen;
  pieces['K'] = kKing;
  return pieces;
}();

bool IsFileLetter(char c) { return static_cast<unsigned char>(c - 'a') < 8; }
bool IsRankDigit(char c) { return static_cast<unsigned char>(c - '1') < 8; }

// Reads a move token as a plain move: the characters as the character steps
// keep them, or as they stand in the text with a capture mark before the
// destination and check marks after it ("Nxf3+"). Other shapes ("Nxbd2",
// promotions, castling) are false: they go the general way.
bool ReadPlainShape(const char* text, std::size_t length, PlainShape& shape) {
  while (length > 1 && (text[length - 1] == '+' || text[length - 1] == '#')) --length;
  if (length < 2) return false;
  const char file = text[length - 2], rank = text[length - 1];
  if (!IsRankDigit(rank) || !IsFileLetter(file)) return false;
  shape.to = SquareAt(file - 'a', '8' - rank);
  const std::uint8_t piece = kPieceLetters[static_cast<unsigned char>(text[0])];
  // A pawn reaching the last rank is a promotion.
  if (piece == 0 && (rank == '1' || rank == '8')) return false;
  shape.piece = piece != 0 ? piece : kPawn;
  const std::size_t begin = piece != 0;
  // A capture mark before the destination; the token's first character is
  // never one, as the character steps keep that one whatever it is.
  std::size_t end = length - 2;
  if (end >= 2 && text[end - 1] == 'x') --end;
  // What stands between the piece and the destination: a file, a rank, or both.
  std::size_t h = begin;
  if (h < end && IsFileLetter(text[h])) ++h;
  if (h < end && IsRankDigit(text[h])) ++h;
  if (h != end) return false;
  shape.hint = std::string_view(text + begin, end - begin);
  return true;
}

// 2 when `text` starts "O-O", 3 when it starts "O-O-O", else 0.
int CastlingLength(const char* text, std::size_t size) {
  if (size < 3 || text[0] != 'O' || text[1] != '-' || text[2] != 'O') return 0;
  return size >= 5 && text[3] == '-' && text[4] == 'O' ? 3 : 2;
}

// Where a castling token at `move` ends ("O-O" or "O-O-O", perhaps with check
// marks), when a blank follows it; 0 for any other text. `castling` is 2 for
// king side, 3 for queen side.
std::size_t CastlingTokenEnd(const char* text, std::size_t move, std::size_t size, int& castling) {
  castling = CastlingLength(text + move, size - move);
  if (castling == 0) return 0;
  std::size_t end = move + 2 * static_cast<std::size_t>(castling) - 1;
  while (end < size && (text[end] == '+' || text[end] == '#')) ++end;
  return end < size && IsBlank(text[end]) ? end : 0;
}

constexpr std::size_t kNoMoveNumber = ~std::size_t{0};

// Past the move number at `i`, digits and the dots after them ("12.",
// "12..."): where the dots end, perhaps at the end of the text;
// kNoMoveNumber when no digit or no dot is there.
std::size_t PastMoveNumber(const char* text, std::size_t i, std::size_t size) {
  std::size_t end = i;
  while (end < size && IsDigit(text[end])) ++end;
  if (end == i || end >= size || text[end] != '.') return kNoMoveNumber;
  while (end < size && text[end] == '.') ++end;
  return end;
}

#if defined(__SSE2__)
// The length of the run of characters a move token may hold ("a" to "h", "1"
// to "8", the piece letters, "x", "+" and "#") that starts `text`, up to 16;
// sixteen characters must be there to read. No branch per character: the
// characters of movetext follow no pattern a branch predictor could learn.
std::size_t MoveCharRun(const char* text) {
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  auto within = [&](char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(chars, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(chars, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  auto is = [&](char c) { return _mm_cmpeq_epi8(chars, _mm_set1_epi8(c)); };
  const __m128i moveChars =
      _mm_or_si128(_mm_or_si128(_mm_or_si128(within('a', 'h'), within('1', '8')), _mm_or_si128(is('N'), is('B'))),
                   _mm_or_si128(_mm_or_si128(_mm_or_si128(is('R'), is('Q')), _mm_or_si128(is('K'), is('x'))),
                                _mm_or_si128(is('+'), is('#'))));
  const unsigned run = ~static_cast<unsigned>(_mm_movemask_epi8(moveChars));
  return static_cast<std::size_t>(std::countr_zero(run));
}

// The length of the run of characters above the space and below 0x80 that
// starts `text`, up to 16: where a token ended by a blank ends. Sixteen
// characters must be there to read.
std::size_t WordLength(const char* text) {
  const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
  // A signed comparison: bytes from 0x80 on are below the space too.
  const __m128i stops = _mm_cmplt_epi8(chars, _mm_set1_epi8(0x21));
  return static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(_mm_movemask_epi8(stops)) | 0x10000u));
}
#endif

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
      if (line.starts_with("%BM[")) {
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
  i = FirstOf<'"', '\0', '%'>(text, i, size);
  if (i >= size || text[i] != '"') return false;
  const std::size_t nameEnd = i++;
  while (i < size && IsBlank(text[i])) ++i;
  const std::size_t valueStart = i;
  const void* quote = std::memchr(text + i, '"', size - i);
  if (!quote) return false;
  const std::size_t valueEnd = static_cast<std::size_t>(static_cast<const char*>(quote) - text);
  if (std::memchr(text + valueStart, '\0', valueEnd - valueStart)) return false;
  i = FirstOf<']', '\0', '%'>(text, valueEnd + 1, size);
  if (i >= size || text[i] != ']') return false;

  pos_ = valueEnd;  // where the reports of a FEN tag place it
  StoreTag(std::string_view(text + nameStart, std::min<std::size_t>(nameEnd - nameStart, 16)),
           std::string_view(text + valueStart, valueEnd - valueStart), true);
  pos_ = i + 1;
  previous_ = ']';
  state_ = State::Between;
  return true;
}

// A token of the common shape at the cursor, ended by a blank: letters,
// digits, "x", "+" and "#" ("Nf3", "exd5", "Qxf7#"), perhaps after a move
// number and dots ("12.Nf3", "12...Nf6"). It is taken and processed in one
// go as the character steps would take it: a "." empties the token, the
// first character is kept as it is, after it "x" is left out and "+" and "#"
// are remembered as the check mark. Anything else (another character, a long
// token, the end of the text) is left to the character steps: false.
bool PgnReader::TakeMoveToken() {
  static constexpr std::size_t kLongest = 8;
  static constexpr auto kMoveChars = [] {
    std::array<bool, 256> chars{};
    for (unsigned char c = 'a'; c <= 'h'; ++c) chars[c] = true;
    for (unsigned char c = '1'; c <= '8'; ++c) chars[c] = true;
    for (unsigned char c : {'N', 'B', 'R', 'Q', 'K', 'x', '+', '#'}) chars[c] = true;
    return chars;
  }();
  auto isMoveChar = [](char c) { return kMoveChars[static_cast<unsigned char>(c)]; };
  const char* const text = text_.data();
  const std::size_t start = pos_;
  const std::size_t size = text_.size();
  std::size_t move = start;  // where the kept text begins
  if (IsDigit(text[start])) {
    move = PastMoveNumber(text, start, size);
    if (move >= size) return false;  // no number, or nothing after it
  } else if (text[start] != 'O' && (!IsLetter(text[start]) || !isMoveChar(text[start]))) {
    return false;
  }
  std::size_t end = move;
  int castling = 0;  // 2 for "O-O", 3 for "O-O-O"
  if (text[move] == 'O') {
    end = CastlingTokenEnd(text, move, size, castling);
    if (end == 0) return false;
  } else {
#if defined(__SSE2__)
    if (size - move >= 16) {
      end = move + MoveCharRun(text + move);
    } else
#endif
    {
      while (end < size && end - move <= kLongest && isMoveChar(text[end])) ++end;
    }
    if (end == move || end >= size || end - move > kLongest || !IsBlank(text[end])) return false;
  }

  if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(start - gameStart_);
  if (accepting_) {
    failureStart_ = start;
    failureRecorded_ = true;
  }
  pos_ = end;  // where the reports of the move place it
  // A plain move goes straight from the text to the tree; any other token is
  // collected as the character steps would collect it.
  PlainShape shape;
  const bool plainTried = accepting_ && HasTree() && ctx_.plainMoves && !variationStart_;
  const bool entered =
      plainTried && (castling ? PlainCastling(castling == 2)
                              : ReadPlainShape(text + move, end - move, shape) && PlainMoveOf(shape, {}));
  if (entered) {
    movetextSeen_ = true;
  } else {
    checkMarker_ = 0;
    equalsSeen_ = false;
    std::size_t i = move;
    if (move == start)
      token_.Assign(text[i++]);
    else
      token_.Clear();
    for (; i < end; ++i) {
      const char c = text[i];
      if (c == '+')
        checkMarker_ = 1;
      else if (c == '#')
        checkMarker_ = 2;
      else if (c != 'x' && c != '-')
        token_.Add(c);
    }
    ProcessToken(plainTried);
    token_.Clear();
  }
  checkMarker_ = 0;
  state_ = State::Between;
  previous_ = text[end];
  pos_ = end + 1;
  return true;
}

// The common run of movetext, "12. Nf3 Nf6 13. exd5 ", taken move by move in
// one loop: blanks, move numbers, and moves of the plain shape and castling
// that the quick lane enters, each ended by a blank. It stops in front of
// anything else (a comment, a bracket, a result, a move with a mark, a move
// the quick lane declines, the last sixteen characters of the text), where
// the cursor is left after the blank that ended the last move entered, as
// taking the moves one by one would leave it; what follows is read as usual.
[[gnu::flatten]] void PgnReader::TakePlainMoves() {
#if defined(__SSE2__)
  const char* const text = text_.data();
  const std::size_t size = text_.size();
  std::size_t i = pos_;
  std::size_t committed = pos_;  // the cursor after the last move entered
  while (accepting_ && !variationStart_) {
    // Blanks, dots and move numbers that stand alone ("12. ", "12... ").
    std::size_t start;  // where the token begins, with a move number joined to it
    std::size_t move;   // where its move begins
    while (true) {
      if (i >= size) return;
      const char c = text[i];
      if (IsBlank(c) || c == '.') {
        ++i;
        continue;
      }
      start = move = i;
      if (!IsDigit(c)) break;
      move = PastMoveNumber(text, i, size);
      if (move >= size) return;         // no number, or nothing after it
      if (!IsBlank(text[move])) break;  // "12.e4": the number and the move are one token
      if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(i - gameStart_);
      failureStart_ = i;
      failureRecorded_ = true;
      i = move;
    }
    // Sixteen characters to look at, and the one after them.
    if (size - move <= 16) return;
    const char first = text[move];
    std::size_t end;
    if (first == 'O') {
      int castling = 0;
      end = CastlingTokenEnd(text, move, size, castling);
      if (end == 0) return;
      pos_ = end;  // where the reports of the move place it
      if (!PlainCastling(castling == 2)) {
        pos_ = committed;
        return;
      }
    } else {
      if (kPieceLetters[static_cast<unsigned char>(first)] == 0 && !IsFileLetter(first)) return;
      // The shape of the move decides about every character up to the blank.
      end = move + WordLength(text + move);
      if (end - move > 8 || !IsBlank(text[end])) return;
      PlainShape shape;
      if (!ReadPlainShape(text + move, end - move, shape)) return;
      pos_ = end;
      if (!PlainMoveOf(shape, {})) {
        pos_ = committed;
        return;
      }
    }
    if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(start - gameStart_);
    failureStart_ = start;
    failureRecorded_ = true;
    movetextSeen_ = true;
    previous_ = text[end];
    i = pos_ = committed = end + 1;
  }
#endif
}

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
    if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(i - gameStart_);
    if (accepting_) {
      failureStart_ = i;
      failureRecorded_ = true;
    }
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
    if (game_.headerLength == 0) game_.headerLength = static_cast<std::uint32_t>(pos_ - gameStart_);
    if (accepting_) {
      failureStart_ = pos_;
      failureRecorded_ = true;
    }
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

void PgnReader::ProcessToken(bool plainTried) {
  if (token_.Empty()) return;
  movetextSeen_ = true;
  if (!accepting_) return;
  if (!plainTried && HasTree() && ctx_.plainMoves && !variationStart_ && PlainMove()) return;
  const std::string_view copy = token_.View();

  MoveToken parsed = ClassifyToken(token_.View(), checkMarker_, equalsSeen_);
  switch (parsed.kind) {
    case MoveToken::Result:
      if (HasTree() && parsed.result) tree_->Store().SetResult(tree_->current, parsed.result);
      if (!primarySet_) {
        if (HasTree()) tree_->primary = tree_->current;
        primarySet_ = true;
      }
      return;
    case MoveToken::Ignored:
      return;
    case MoveToken::Pass:
      if (Scanning()) {
        accepting_ = false;
        return;
      }
      EnterMove(kA8, kA8, 0, false);
      return;
    default:
      break;
  }
  if (Scanning()) {
    accepting_ = false;
    return;
  }
  mark_ = parsed.symbol;
  if (parsed.kind == MoveToken::NoLetter) {
    mark_.clear();
    return;
  }
  GameTree& tree = *tree_;
  const std::uint8_t side = tree.sideToMove;
  ResolvedToken move = ResolveToken(parsed, tree, side);
  if (!move.found) {
    std::string message = Format(
        "Error in game number %d of the PGN collection, on line number %d.\r\nThe following move caused the "
        "error.\r\n\r\n\t%s\r\n\r\nThe error occurred within the following extract.\r\n\r\n%s\n\nMove number = %d",
        gameNumber_, ctx_.lines.LineAt(text_, pos_), std::string(copy).c_str(),
        ExtractAround(text_, gameStart_, pos_).c_str(), MovesFromRoot(tree, tree.current));
    if (!ctx_.fileName.empty()) message += "\r\n\r\nThe variation was truncated at this point.\r\n";
    Report(message + PlayerLines());
    accepting_ = false;
    mark_.clear();
    return;
  }
  EnterMove(move.from, move.to, move.promotion, true);
}

// The common move ("e4", "Nf3", "exd5", "Rad1!", "Kf2"), resolved and entered
// in one go when the answer is plain; anything else (results, castling,
// promotions, several candidates, a move that starts a variation or meets an
// existing continuation) takes the general path.
// Returns whether the token was dealt with.
bool PgnReader::PlainMove() {
  const std::string_view token = token_.View();
  std::size_t end = token.size();
  while (end > 0 && (token[end - 1] == '!' || token[end - 1] == '?')) --end;
  PlainShape shape;
  return ReadPlainShape(token.data(), end, shape) && PlainMoveOf(shape, token.substr(end));
}

// Enters a move of the plain shape when its origin is plain, with `marks`
// ("!", "?!") as its symbol. Returns whether it was entered. It runs for
// nearly every move of a file, so what it calls is compiled into it (flatten).
[[gnu::flatten]] bool PgnReader::PlainMoveOf(const PlainShape& shape, std::string_view marks) {
  const GameTree& tree = *tree_;
  bool inCheck = false;
  if (!QuickLaneOpen(inCheck)) return false;
  const NodeHistory history(tree.Store(), tree.current);
  const int from =
      PlainOrigin(tree.board, sets_, tree.kings, tree.sideToMove, shape.piece, shape.hint, shape.to, history, inCheck);
  if (from == kNoSquare) return false;
  AppendPlain(from, shape.to, marks);
  // An ordinary move: it changes its two squares.
  castling_.touched |= (std::uint64_t{1} << from) | (std::uint64_t{1} << shape.to);
  return true;
}

// Castling by the quick lane, when the position allows it; the general path
// reports one it does not allow.
[[gnu::noinline]] bool PgnReader::PlainCastling(bool kingSide) {
  const GameTree& tree = *tree_;
  bool inCheck = false;
  if (!QuickLaneOpen(inCheck) || inCheck) return false;
  if (!castlingKnown_) {
    castling_ = CastlingHistoryAt(tree.Store(), tree.current);
    castlingKnown_ = true;
  }
  const std::uint8_t side = tree.sideToMove;
  const int from = side == kWhite ? kE1 : kE8;
  const int to = from + (kingSide ? 2 : -2);
  if (tree.board[static_cast<std::size_t>(from)] == (kKing | side)) {
    // The king on its square: the rules asked of the square sets and the
    // castling history.
    if (!SetsCastlingAllowed(tree.board, sets_, side, kingSide, NodeHistory(tree.Store(), tree.current, castling_)))
      return false;
  } else if (!ResolveCastling(tree.board, side, kingSide, NodeHistory(tree.Store(), tree.current, castling_)).found) {
    return false;
  }
  AppendPlain(from, to, {});
  if (tree.current == appendable_) castling_.Follow(tree.Node(tree.current));
  return true;
}

// Whether a move may go by the quick lane from the current node, and then
// whether the side to move is in check. The board's square sets are those
// of the current position then.
bool PgnReader::QuickLaneOpen(bool& inCheck) {
  const GameTree& tree = *tree_;
  if (tree.current == appendable_) {
    inCheck = appendableGivesCheck_;
    return true;
  }
  if (ExtendsReadLine(tree)) {
    inCheck = tree.Node(tree.current).Has2(kFlag2Check);
    castlingKnown_ = false;  // looked for when a castling asks
  } else if (StartsReadGame(tree)) {
    inCheck = false;
    castling_ = CastlingHistoryAt(tree.Store(), tree.current);
    castlingKnown_ = true;
  } else {
    return false;
  }
  sets_ = BoardSets::Of(tree.board);
  return true;
}

// Enters a legal move found by the quick lane.
void PgnReader::AppendPlain(int from, int to, std::string_view marks) {
  GameTree& tree = *tree_;
  const NodeRef before = tree.current;
  bool givesCheck = false;
  if (AppendReadMove(tree, from, to, ctx_.prompt, sets_, givesCheck) == EntryOutcome::Refused) {
    accepting_ = false;  // no node slot could be had: the line ends here
    appendable_ = kNoNode;
    mark_.clear();
    return;
  }
  appendable_ = tree.current;
  appendableGivesCheck_ = givesCheck;
  if (before == mainLineNode_) mainLineNode_ = tree.current;  // appended straight after it
  if (!pendingBefore_.empty()) {
    SetComment(tree, tree.current, NodeStore::kBefore, pendingBefore_, false);
    pendingBefore_.clear();
  }
  if (!marks.empty()) ApplyMark(marks, false, tree.current);
  mark_.clear();
}

void PgnReader::EnterMove(int from, int to, std::uint8_t promotion, bool withSymbol) {
  GameTree& tree = *tree_;
  appendable_ = kNoNode;
  const bool startsLine = variationStart_;
  variationStart_ = false;
  const NodeRef before = tree.current;
  if (PlayReadMove(tree, from, to, promotion, ctx_.prompt, startsLine, true) == EntryOutcome::Refused) {
    accepting_ = false;  // no node slot could be had: the line ends here
    mark_.clear();
    return;
  }
  FollowMainLine(before);
  if (!pendingBefore_.empty()) {
    SetComment(tree, tree.current, NodeStore::kBefore, pendingBefore_, false);
    pendingBefore_.clear();
  }
  if (withSymbol && !mark_.empty()) ApplyMark(mark_, false, tree.current);
  mark_.clear();
}

void PgnReader::ShowNode(NodeRef node) {
  GameTree& tree = *tree_;
  appendable_ = kNoNode;
  tree.current = node;
  ShowCurrentPosition(tree);
}

void PgnReader::OpenVariation() {
  ++openCount_;
  appendable_ = kNoNode;
  if (!accepting_ || !HasTree()) {
    variations_.push_back({nullptr, kNoNode});
    return;
  }
  GameTree& tree = *tree_;
  variations_.push_back({tree.activeLine, tree.current});
  const NodeRef parent = tree.Node(tree.current).parent;
  if (parent != kNoNode) ShowNode(parent);
  variationStart_ = true;
}

void PgnReader::CloseVariation() {
  ++closeCount_;
  appendable_ = kNoNode;
  if (variations_.empty()) return;
  Saved saved = variations_.back();
  variations_.pop_back();
  if (saved.node == kNoNode) {
    accepting_ = false;
    return;
  }
  GameTree& tree = *tree_;
  tree.activeLine = saved.line;
  if (!accepting_ && ctx_.badContinuation && !Scanning()) BadContinuation(pos_);
  accepting_ = true;
  variationStart_ = false;
  pendingBefore_.clear();
  ShowNode(saved.node);
  if (tree.Node(saved.node).next == kNoNode) tree.lineEnd = saved.node;
}

void PgnReader::BadContinuation(std::size_t end) {
  if (!failureRecorded_ || !HasTree() || end <= failureStart_) return;
  GameTree& tree = *tree_;
  const std::string skipped = NormaliseSkippedText(text_.substr(failureStart_, end - failureStart_));
  std::string comment;
  if (const std::string* existing = tree.Store().Comment(tree.current, NodeStore::kAfter))
    comment = *existing + "\r\n--\r\n";
  comment += std::string("Varnock") + ": " + "bad PGN -" + "\r\n\r\n[ " + skipped + " ]";
  SetComment(tree, tree.current, NodeStore::kAfter, comment, true);
}

void PgnReader::Report(std::string message) {
  ctx_.errorFlag = true;
  if (!ctx_.errors) return;
  if (ctx_.errors->Empty() && !ctx_.fileName.empty()) ctx_.errors->Add("\r\n" + ctx_.fileName, 0);
  ctx_.errors->Add(std::move(message), gameNumber_);
}

std::string PgnReader::PlayerLines() const {
  std::string lines;
  auto line = [&](HeaderField field, const char* format) {
    const std::size_t i = static_cast<std::size_t>(field);
    if (tagRead_[i] && header_[i] != "?") lines += Format(format, std::string(header_[i]).c_str());
  };
  line(HeaderField::Event, "\r\nEvent    \t= %s");
  line(HeaderField::White, "\r\nPlayer W \t= %s");
  line(HeaderField::Black, "\r\nPlayer B \t= %s");
  return lines;
}

void PgnReader::EndOfGame() {
  if (openCount_ != closeCount_) {
    ctx_.errorFlag = true;
    if (ctx_.prompt)
      ctx_.prompt->Inform("Do_FilePGN()",
                          Format("'%s'\r\n\r\nWarning.\r\nBad PGN formatting detected.\r\nThere are an irregular "
                                 "number of variation brackets in game number %d of the collection.\r\nNumbers of "
                                 "'(', ')' are %d %d",
                                 ctx_.fileName.c_str(), gameNumber_, openCount_, closeCount_));
  }
  NodeRef returnTo = kNoNode;
  while (!variations_.empty()) {
    Saved saved = variations_.back();
    variations_.pop_back();
    if (saved.node != kNoNode) {
      returnTo = saved.node;
      if (HasTree()) tree_->activeLine = saved.line;
    }
  }
  if (HasTree()) {
    GameTree& tree = *tree_;
    if (!accepting_ && failureRecorded_ && ctx_.badContinuation) BadContinuation(pos_);
    if (returnTo != kNoNode) ShowNode(returnTo);
    tree.activeLine = tree.rootLine;
    tree.lineEnd = ChainEnd(tree, mainLineNode_);
    tree.rootLine->last = tree.lineEnd;
    if (!primarySet_) tree.primary = tree.current;
    tree.statusText = ToMoveText(tree.sideToMove);
  }
  if (mode_ != ReadMode::Reread) game_.header.SetAll(header_);
  ctx_.cursor = pos_;
  if (mode_ != ReadMode::Reread) ctx_.gameCounter = gameNumber_;
}

}  // namespace

int Do_FilePGN(SGridFrame& game, ReadMode mode, PgnReadContext& ctx) {
  PgnReader reader(game, mode, ctx);
  return reader.Read();
}

}  // namespace varnock
