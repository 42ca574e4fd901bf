// Applying the properties of an ECH game as they are read.
#include <climits>

#include "core/Fen.h"
#include "formats/EchGameReader.h"
#include "formats/EchHeaderNames.h"
#include "formats/EchMarks.h"
#include "formats/EchReports.h"
#include "formats/EchValues.h"
#include "tree/Bookmarks.h"
#include "tree/Comments.h"
#include "tree/MoveEntry.h"

namespace varnock {

namespace {

int SquareOf(char file, char rank) {
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return -1;
  return SquareAt(file - 'a', '8' - rank);
}

std::uint8_t PromotionOf(char letter) {
  switch (letter) {
    case 'Q':
    case 'q':
      return kQueen;
    case 'R':
    case 'r':
      return kRook;
    case 'N':
    case 'n':
      return kKnight;
    case 'B':
    case 'b':
      return kBishop;
    case 'K':
    case 'k':
      return kKing;
    default:
      return 0;
  }
}

// A move value: four characters of squares, then possibly "=" and a
// promotion letter (the last character of a value of five or six); empty for
// a pass.
struct MoveValue {
  int from = -1;
  int to = -1;
  std::uint8_t promotion = 0;
  bool Valid() const { return from >= 0 && to >= 0; }
};

MoveValue ParseMoveValue(std::string_view body) {
  std::string value;
  for (char c : Unescape(body))
    if (c != ' ') value += c;
  MoveValue move;
  if (value.empty()) {
    move.from = move.to = kA8;
  } else if (value.size() >= 4 && value.size() <= 6) {
    move.from = SquareOf(value[0], value[1]);
    move.to = SquareOf(value[2], value[3]);
    if (value.size() > 4) move.promotion = PromotionOf(value.back());
  }
  // A move from a square to itself changes nothing: it is a pass, and takes
  // the pass's squares, as the writer writes every such move as a pass.
  // Otherwise two lines that begin with such moves on different squares
  // would be two lines here and one once written and read again.
  if (move.Valid() && move.from == move.to) move = MoveValue{kA8, kA8, 0};
  return move;
}

// The decimal number at the start of a value (leading spaces skipped); 0 when
// there is none. Saturates instead of overflowing.
int DecimalValue(std::string_view body) {
  std::size_t i = 0;
  while (i < body.size() && body[i] == ' ') ++i;
  long long value = 0;
  for (; i < body.size() && body[i] >= '0' && body[i] <= '9'; ++i)
    value = std::min<long long>(value * 10 + (body[i] - '0'), INT_MAX);
  return static_cast<int>(value);
}

// Puts the node into store slot 0..9, taking it out of any other slot and
// the slot's earlier node out of it.
void PutInStoreSlot(GameTree& game, NodeRef node, int slot) {
  if (slot < 0 || slot > 9) return;
  NodeRef& target = game.storeSlots[static_cast<std::size_t>(slot)];
  if (target == node) return;
  if (auto other = StoreNumberOf(game, node)) game.storeSlots[static_cast<std::size_t>(*other)] = kNoNode;
  if (target != kNoNode) game.Node(target).Set2(kFlag2Stored, false);
  target = node;
  game.Node(node).Set2(kFlag2Stored, true);
}

}  // namespace

void EchGameReader::Apply(std::string_view name, std::string_view body, std::size_t at) {
  if (name.empty()) return;
  if (name == "W" || name == "B") return ApplyMove(name, body, at);
  if (name == "FN") return ApplyPosition(body, at);
  if (name == "XS") return ApplyMarkedGame();
  if (name == "XF") {
    flippedMet_ = true;
    return;
  }
  if (auto field = EchHeaderFieldOf(name)) {
    if (mode_ != ReadMode::Reread) header_[static_cast<std::size_t>(*field)] = DecodeTextValue(body);
    return;
  }
  if (accepting_) ApplyNodeProperty(name, body);
}

void EchGameReader::StopScanning(std::size_t at) {
  skipping_ = true;
  accepting_ = false;
  skippedFrom_ = at;
}

void EchGameReader::ApplyMarkedGame() {
  marked_ = true;
  game_.loaded = true;
  if (mode_ != ReadMode::Scan) return;
  if (skipping_)
    rereadInFull_ = true;  // moves were skipped already: start again
  else
    mode_ = ReadMode::Full;
}

void EchGameReader::ApplyMove(std::string_view name, std::string_view body, std::size_t at) {
  MarkHeaderEnd(at);
  moveMet_ = true;
  if (!accepting_) return;
  if (mode_ == ReadMode::Scan) return StopScanning(at);

  const MoveValue move = ParseMoveValue(body);
  GameTree& game = Tree();
  bool entered = move.Valid();
  const std::uint8_t mover = name == "W" ? kWhite : kBlack;
  // The first move of a variation always starts a line of its own.
  const bool startsLine = lineStart_;
  lineStart_ = false;
  bool passEntered = false;
  if (entered && mover != game.sideToMove) {  // the other side passed
    entered = passEntered = PlayReadMove(game, kA8, kA8, 0, nullptr, startsLine) != EntryOutcome::Refused;
    nodeRead_ = nodeRead_ || entered;
  }
  if (entered)
    entered = PlayReadMove(game, move.from, move.to, move.promotion, nullptr, startsLine && !passEntered) !=
              EntryOutcome::Refused;
  if (entered) {
    nodeRead_ = true;
    return;
  }
  accepting_ = false;
  ReportMove(name, body, at);
}

void EchGameReader::ApplyPosition(std::string_view body, std::size_t at) {
  if (body.empty()) return;
  // The first FN of a game before any move is the root's position; every
  // later one is a set-up position inside a line.
  const bool asNode = moveMet_ || positionMet_;
  positionMet_ = true;
  if (asNode) MarkHeaderEnd(at);
  if (!accepting_) return;
  if (asNode && mode_ == ReadMode::Scan) return StopScanning(at);

  FENExtras position;
  const FenCheck check = ParseFEN(Unescape(body), position);
  if (!check.ok) {
    const int line = source_.lines.LineAt(text_, at);
    const std::string extract = ExtractAround(text_, start_, at);
    if (check.rejected)
      Report(EchFenErrorText(source_.gameNumber, line, check.message, extract), at);
    else
      Report(EchFenWarningText(source_.gameNumber, line, check.message, extract), at);
  }
  if (check.rejected) {
    accepting_ = false;
    return;
  }
  GameTree& game = Tree();
  if (asNode) {
    if (AddComposedNode(game, position, EntryMode::Reading, nullptr) == kNoNode) {
      accepting_ = false;
      ReportMove("FN", body, at);
      return;
    }
    nodeRead_ = true;
    return;
  }
  const NodeRef node = game.current;
  game.Store().SetComposed(node, position);
  game.Node(node).Set(kFlagBlackToMove, position.sideToMove == kBlack);
  game.board = position.board;
  game.sideToMove = position.sideToMove;
  LocateKings(game.board, game.kings);
}

void EchGameReader::ApplyNodeProperty(std::string_view name, std::string_view body) {
  if (name == "XV") {
    viewedMet_ = true;
    viewed_ = CurrentNode();
    return;
  }
  if (name == "C" || name == "C0") {
    // A value of blanks only is no comment, as an empty one is: appended to
    // the node's comment it would leave only the separating empty line,
    // which the comment loses once written and read again.
    std::string text = DecodeTextValue(body);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return;
    GameTree& game = Tree();
    SetComment(game, game.current, name == "C" ? NodeStore::kAfter : NodeStore::kBefore, std::move(text), false);
    return;
  }
  if (name == "XG") {
    GameTree& game = Tree();
    const MarkSymbol mark = ParseMarkSymbol(Unescape(body));
    if (mark.rating) game.Store().SetRating(game.current, mark.rating);
    if (mark.assessment) game.Store().SetAssessment(game.current, mark.assessment);
    return;
  }
  if (name == "RS") {
    GameTree& game = Tree();
    if (const std::uint8_t result = ParseResultSymbol(Unescape(body))) game.Store().SetResult(game.current, result);
    return;
  }
  if (name == "BM") {
    GameTree& game = Tree();
    SetBookmark(game, game.current, DecimalValue(body));
    return;
  }
  if (name == "XN") {
    GameTree& game = Tree();
    PutInStoreSlot(game, game.current, DecimalValue(body));
    return;
  }
  if (name == "IR") {
    GameTree& game = Tree();
    game.Node(game.current).Set2(kFlag2Irregular, true);
    return;
  }
  if (name == "FG") {
    GameTree& game = Tree();
    game.Node(game.current).Set(kFlagDiagram, true);
    return;
  }
  if (name == "XP") {
    GameTree& game = Tree();
    game.primary = game.current;
  }
}

void EchGameReader::ReportMove(std::string_view name, std::string_view body, std::size_t at) {
  std::string move(name);
  move += '[';
  move += body;
  move += ']';
  Report(EchMoveErrorText(source_.gameNumber, source_.lines.LineAt(text_, at), move), at);
}

void EchGameReader::Report(std::string message, std::size_t at) {
  if (!source_.errors || at < quietBefore_) return;
  if (source_.errors->Empty())
    source_.errors->Add("\r\n" + std::string(mode_ == ReadMode::Reread ? std::string_view{} : source_.fileName), 0);
  source_.errors->Add(std::move(message), source_.gameNumber);
}

}  // namespace varnock
