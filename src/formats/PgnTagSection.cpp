#include "formats/PgnTagSection.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr std::string_view kStartFEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// Tag names are matched on their first 16 characters, as the reader keeps them.
constexpr std::size_t kMatchedNameLength = 16;

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Strip(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool NameIs(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != upper[i]) return false;
  return true;
}

// One tag of a game's text: the name between "[" and the first double quote,
// and the value from the first character after the opening quote that is not
// white space up to the next double quote.
struct ScannedTag {
  std::string_view rawName;
  std::string_view value;

  std::string_view Name() const { return Strip(rawName); }
  std::string_view MatchedName() const { return Strip(rawName.substr(0, kMatchedNameLength)); }
};

// Reads the tag at `pos` after skipping white space; false once anything but
// a tag (the movetext) or the end of the text comes. `pos` ends after the
// tag's closing "]".
bool NextTag(std::string_view text, std::size_t& pos, ScannedTag& tag) {
  while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
  if (pos >= text.size() || text[pos] != '[') return false;
  const std::size_t nameStart = pos + 1;
  const std::size_t openQuote = text.find('"', nameStart);
  if (openQuote == std::string_view::npos) return false;
  tag.rawName = text.substr(nameStart, openQuote - nameStart);
  std::size_t valueStart = openQuote + 1;
  while (valueStart < text.size() && IsWhiteSpace(text[valueStart])) ++valueStart;
  std::size_t closeQuote = text.find('"', valueStart);
  if (closeQuote == std::string_view::npos) closeQuote = text.size();
  tag.value = text.substr(valueStart, closeQuote - valueStart);
  const std::size_t bracket = text.find(']', closeQuote);
  pos = bracket == std::string_view::npos ? text.size() : bracket + 1;
  return true;
}

// Where the tags of a game's text begin: a byte-order mark is passed over.
std::size_t TagsStart(std::string_view text) { return text.starts_with("\xEF\xBB\xBF") ? 3 : 0; }

bool Modelled(std::string_view matchedName) {
  static constexpr std::array<std::string_view, 17> kModelled = {
      "BLACK", "WHITE",    "SITE",     "RESULT", "DATE",        "EVENT", "EVENTDATE", "ROUND",    "OPENING",
      "ECO",   "BLACKELO", "WHITEELO", "BOARD",  "TIMECONTROL", "FEN",   "SETUP",     "ANNOTATOR"};
  for (std::string_view name : kModelled)
    if (NameIs(matchedName, name)) return true;
  return false;
}

void AppendValue(std::string& out, std::string_view value) {
  // A double quote would end the value early for every reader.
  for (char c : value) out += c == '[' ? '(' : c == ']' ? ')' : c == '"' ? '\'' : c;
}

// The game comment, which PGN has no tag for, as the comment before the
// first move: the reader gives it to the game's start position.
void AppendGameComment(std::string& out, std::string_view comment) {
  while (!comment.empty() && IsWhiteSpace(comment.back())) comment.remove_suffix(1);
  while (!comment.empty() && IsWhiteSpace(comment.front())) comment.remove_prefix(1);
  if (comment.empty()) return;
  out += '{';
  char previous = '{';
  for (char c : comment) {
    // A "%" that begins a line would be taken for an escape line.
    if (c == '%' && (previous == '\r' || previous == '\n')) out += ' ';
    out += c == '{' ? '[' : c == '}' ? ']' : c;
    previous = c;
  }
  out += "}\r\n";
}

void AppendTag(std::string& out, std::string_view name, std::string_view value) {
  out += '[';
  out += name;
  out += " \"";
  AppendValue(out, value);
  out += "\"]\r\n";
}

// The tags written always, in their order, and those written when set.
constexpr std::array<HeaderField, 8> kRosterTags = {HeaderField::Event, HeaderField::EventDate, HeaderField::Site,
                                                    HeaderField::Date,  HeaderField::Round,     HeaderField::White,
                                                    HeaderField::Black, HeaderField::Result};
constexpr std::array<HeaderField, 6> kOptionalTags = {HeaderField::Board,    HeaderField::TimeControl,
                                                      HeaderField::WhiteELO, HeaderField::BlackELO,
                                                      HeaderField::Opening,  HeaderField::ECO};

void AppendSetUp(std::string& out, std::string_view fen) {
  out += "[SetUp \"1\"]\r\n[FEN \"";
  out += fen;
  out += "\"]\r\n";
}

// SetUp and FEN for a game whose root is not the initial position. A game
// whose moves were never read takes its FEN from its own text, so that a
// regenerated header keeps the position its movetext starts from.
void AppendStartPosition(SGridFrame& game, std::string& out, std::string_view gameText) {
  if (!game.loaded) {
    std::string_view fen;
    ScannedTag tag;
    for (std::size_t pos = TagsStart(gameText); NextTag(gameText, pos, tag);)
      if (NameIs(tag.MatchedName(), "FEN") && !tag.value.empty()) fen = tag.value;
    if (!fen.empty()) AppendSetUp(out, fen);
    return;
  }
  const GameTree& tree = game.Tree();
  const NodeStore& store = tree.Store();
  const BoardSquares board = BoardAt(store, tree.root);
  if (board != StartBoard) {
    AppendSetUp(out, NodeFEN(store, tree.root, board));
    return;
  }
  // A set-up root on the initial board still differs when its side to move,
  // castling rights or counters do.
  if (tree.Node(tree.root).Has(kFlagComposed)) {
    const std::string fen = NodeFEN(store, tree.root, board);
    if (fen != kStartFEN) AppendSetUp(out, fen);
  }
}

}  // namespace

std::string_view GameTextOf(const SGridFrame& game, std::optional<std::string_view> fileText) {
  if (!fileText || !(game.stateFlags & kFromFileText) || game.textLength == 0) return {};
  const std::string_view text = *fileText;
  if (game.textOffset >= text.size()) return {};
  const std::size_t offset = static_cast<std::size_t>(game.textOffset);
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(game.textLength, text.size() - offset));
  return text.substr(offset, length);
}

bool CopyTagsNotModelled(std::string& out, std::string_view gameText) {
  bool wrote = false;
  ScannedTag tag;
  for (std::size_t pos = TagsStart(gameText); NextTag(gameText, pos, tag);) {
    if (tag.value.empty() || Modelled(tag.MatchedName())) continue;
    // A name broken over lines is not copied: the reader takes a "%" that
    // begins its next line for an escape line and skips that line, quote and
    // all, so the tag would swallow the movetext after it.
    if (tag.Name().find_first_of("\r\n") != std::string_view::npos) continue;
    // Nor is a name the reader cut to blanks ("[", many tabs, "Result"):
    // written stripped, it would be read as the tag it names.
    if (Modelled(Strip(tag.Name().substr(0, kMatchedNameLength)))) continue;
    if (wrote) out += "\r\n";
    out += '[';
    out += tag.Name();
    out += " \"";
    out += tag.value;
    out += "\"]";
    wrote = true;
  }
  return wrote;
}

std::size_t ReplacedHeaderLength(std::string_view gameText, std::size_t headerLength) {
  headerLength = std::min(headerLength, gameText.size());
  std::size_t pos = TagsStart(gameText), end = pos;
  ScannedTag tag;
  while (NextTag(gameText, pos, tag) && pos <= headerLength) end = pos;
  while (end < headerLength && IsWhiteSpace(gameText[end])) ++end;
  // Only comments (and the escape lines among them) are kept: a "[" there
  // could be a tag the scan above did not take, read again after the new
  // tags.
  const std::string_view kept = gameText.substr(end, headerLength - end);
  if (kept.empty() || kept.front() != '{' || kept.find('[') != std::string_view::npos) return headerLength;
  return end;
}

void WritePgnTagSection(SGridFrame& game, std::string& out, bool applicationLine,
                        std::optional<std::string_view> fileText) {
  for (HeaderField field : kRosterTags) {
    std::string_view value = game.header.Get(field);
    if (value.empty()) value = field == HeaderField::Result ? "*" : "?";
    AppendTag(out, PgnTagName(field), value);
  }
  for (HeaderField field : kOptionalTags) {
    const std::string_view value = game.header.Get(field);
    if (!value.empty()) AppendTag(out, PgnTagName(field), value);
  }
  if (const std::string_view annotator = game.header.Get(HeaderField::Annotator); !annotator.empty())
    AppendTag(out, "Annotator", annotator);
  const std::string_view gameText = GameTextOf(game, fileText);
  AppendStartPosition(game, out, gameText);
  if (!gameText.empty() && CopyTagsNotModelled(out, gameText)) out += "\r\n";
  out += "\r\n";
  if (applicationLine) out += "%AP[Varnock:17 Portable]\r\n";
  AppendGameComment(out, game.header.Get(HeaderField::GameComment));
}

}  // namespace varnock
