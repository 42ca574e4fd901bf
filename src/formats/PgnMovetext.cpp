#include "formats/PgnMovetext.h"

#include <charconv>
#include <unordered_map>
#include <vector>

#include "core/Notation.h"
#include "formats/PgnDiagram.h"
#include "tree/Bookmarks.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr const char* kRatingNags[] = {"", " $1", " $3", " $2", " $4", " $5", " $6"};
constexpr const char* kRatingSymbols[] = {"", " ! ", " !!", " ? ", " ??", " !?", " ?!"};
constexpr const char* kAssessmentNags[] = {"", " $17", " $15", " $11", " $14", " $16"};
constexpr const char* kAssessmentSymbols[] = {"", " -/+ ", " =/+ ", " = ", " +/= ", " +/- "};
constexpr const char* kResultTokens[] = {"", " 1-0 ", " 0-1 ", " 1/2-1/2 "};
constexpr const char* kColumnedResults[] = {"", "\r\n            1-0\r\n", "\r\n            0-1\r\n",
                                            "\r\n        1/2-1/2\r\n"};

// The width of a columned move field and of what follows it.
constexpr std::size_t kFieldWidth = 6;

void AppendNumber(std::string& out, long long value, std::size_t width = 0) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const std::size_t length = static_cast<std::size_t>(end - digits);
  if (length < width) out.append(width - length, ' ');
  out.append(digits, length);
}

void PadTo(std::string& out, std::size_t fieldStart, std::size_t width) {
  const std::size_t written = out.size() - fieldStart;
  if (written < width) out.append(width - written, ' ');
}

// One line being written: where it stands and what it still owes.
struct Line {
  NodeRef first = kNoNode;
  NodeRef node = kNoNode;  // the node being written, or kNoNode once the line is done
  int parentPly = 0;       // the ply of node's parent
  int nodePly = 0;         // the ply of node, once written
  bool mainLine = false;
  bool needsNumber = true;
  std::uint8_t gameResult = 0;  // main line: the result mark of its last move, written at its end
  // After the node: the alternatives of its parent still to write.
  bool inVariations = false;
  const std::vector<SBranchDetails*>* alternatives = nullptr;
  std::size_t nextAlternative = 0;
};

class MovetextWriter {
 public:
  MovetextWriter(SGridFrame& game, std::string& out, const PgnExportOptions& options, std::string_view initials)
      : tree_(game.Tree()),
        store_(tree_.Store()),
        out_(out),
        options_(options),
        initials_(initials),
        flipped_(game.flipped),
        columned_(options.Columned()),
        longAlgebraic_(options.LongAlgebraic()),
        lineLimit_(options.Format() == kPgnLong ? 9 : 12) {
    if (options_.extensions)
      for (const SBookmarkDetails& mark : tree_.bookmarks) bookmarks_.emplace(mark.node, mark.number);
  }

  void Write(NodeRef first, int& movesOnLine);

 private:
  bool ColumnedMain(const Line& line) const { return columned_ && line.mainLine; }
  int PlyOf(NodeRef node, int parentPly) const;
  bool IsWhiteMove(const MoveNode& node) const;

  void WriteRoot(Line& line);
  void WriteMove(Line& line);
  void WriteMoveNumber(Line& line, const MoveNode& node);
  void WriteMoveText(const Line& line, NodeRef node);
  void WriteMarks(Line& line, NodeRef node);
  void WriteComment(const Line& line, NodeRef node, NodeStore::CommentKind kind);
  void WriteResult(Line& line, NodeRef node);
  void WriteGameEnd(const Line& line);
  bool EndsWrittenLine(NodeRef node) const;
  void BreakLongLine();
  // Moves past the written node, or ends the line after a set-up position
  // or an irregular move.
  void Advance(Line& line);

  GameTree& tree_;
  NodeStore& store_;
  std::string& out_;
  const PgnExportOptions& options_;
  std::string_view initials_;
  bool flipped_;
  bool columned_;
  bool longAlgebraic_;
  int lineLimit_;
  int movesOnLine_ = 0;
  std::unordered_map<NodeRef, int> bookmarks_;
};

int MovetextWriter::PlyOf(NodeRef node, int parentPly) const {
  const MoveNode& n = store_.Node(node);
  // The walk of PlyOf stops at once at a set-up position or the root.
  if (n.Has(kFlagComposed) || n.parent == kNoNode) return varnock::PlyOf(store_, node);
  return parentPly + 1;
}

bool MovetextWriter::IsWhiteMove(const MoveNode& node) const {
  if (!node.Has(kFlagComposed)) return node.Has(kFlagBlackToMove);
  return node.parent != kNoNode && !store_.Node(node.parent).Has(kFlagBlackToMove);
}

void MovetextWriter::BreakLongLine() {
  if (columned_ || options_.oneLine) return;
  if (movesOnLine_ >= lineLimit_) {
    out_ += "\r\n";
    movesOnLine_ = 0;
  }
}

void MovetextWriter::WriteComment(const Line& line, NodeRef node, NodeStore::CommentKind kind) {
  const MoveNode& n = store_.Node(node);
  if (!n.Has(kind == NodeStore::kBefore ? kFlagCommentBefore : kFlagCommentAfter)) return;
  const std::string* text = store_.Comment(node, kind);
  if (!text) return;
  if (ColumnedMain(line)) {
    out_ += "\r\n";
    const bool parentCommented = n.parent != kNoNode && store_.Node(n.parent).Has(kFlagCommentAfter);
    if (!(kind == NodeStore::kBefore && parentCommented)) out_ += "\r\n";
  }
  out_ += " {";
  char previous = '{';
  for (char c : *text) {
    // The reader takes a "%" that begins a line, in a comment too, for an
    // escape line and skips the line: a blank keeps it part of the comment.
    if (c == '%' && (previous == '\r' || previous == '\n')) out_ += ' ';
    out_ += c == '{' ? '[' : c == '}' ? ']' : c;
    previous = c;
  }
  out_ += options_.oneLine ? "}" : "}\r\n";
}

// Whether the line's text ends with this node: it has no continuation, or
// Advance cuts the line after it.
bool MovetextWriter::EndsWrittenLine(NodeRef node) const {
  const MoveNode& n = store_.Node(node);
  if (n.next == kNoNode) return true;
  const bool setUp = n.Has(kFlagComposed) && n.parent != kNoNode;
  return setUp || (n.Has2(kFlag2Irregular) && n.From() != n.To());
}

// A result mark on the last move of the main line is the game's result: it is
// written as the last token of the game, after the variations of that move.
// Anywhere else (a move with a continuation, any move of a variation) a result
// token would end the game for every other reader of the file, and all that
// follows would be lost to them: with the escape lines on, the mark goes on a
// line "%XR[n]" of its own, which other readers pass over and the reader here
// gives back to the node; with them off it is not written, as bookmarks and
// store slots are not.
void MovetextWriter::WriteResult(Line& line, NodeRef node) {
  if (!store_.Node(node).Has2(kFlag2Result)) return;
  const std::uint8_t result = store_.ResultOf(node);
  if (result < 1 || result > 3) return;
  if (line.mainLine && EndsWrittenLine(node)) {
    line.gameResult = result;
    return;
  }
  if (!options_.extensions) return;
  if (!out_.empty() && out_.back() != '\n') out_ += "\r\n";
  out_ += "%XR[";
  AppendNumber(out_, result);
  out_ += "]\r\n";
  movesOnLine_ = 0;
  line.needsNumber = true;
}

// The end of the main line: its result, or "*" when it has none.
void MovetextWriter::WriteGameEnd(const Line& line) {
  if (line.gameResult == 0) {
    out_ += "  *";
    return;
  }
  out_ += ColumnedMain(line) ? kColumnedResults[line.gameResult] : kResultTokens[line.gameResult];
}

void MovetextWriter::WriteRoot(Line& line) {
  const NodeRef root = line.node;
  if (options_.extensions) {
    if (store_.Node(root).Has(kFlagDiagram)) {
      out_ += "%FG[]\r\n";
      AppendPgnDiagram(out_, BoardAt(store_, root), flipped_, initials_);
    }
    if (auto mark = bookmarks_.find(root); mark != bookmarks_.end()) {
      out_ += "%BM[";
      AppendNumber(out_, mark->second);
      out_ += "]\r\n";
    }
    if (auto slot = StoreNumberOf(tree_, root)) {
      out_ += "%XN[";
      AppendNumber(out_, *slot);
      out_ += "]\r\n";
    }
  }
  WriteComment(line, root, NodeStore::kAfter);
  movesOnLine_ = 0;
  line.needsNumber = true;
  // A result on a game without moves (a forfeit) is kept as well.
  WriteResult(line, root);
  line.nodePly = PlyOf(root, 0);
}

void MovetextWriter::WriteMoveNumber(Line& line, const MoveNode& node) {
  const bool columnedMain = ColumnedMain(line);
  if (IsWhiteMove(node)) {
    BreakLongLine();
    out_ += columnedMain ? "\r\n " : " ";
    AppendNumber(out_, (line.nodePly + 1) / 2, columnedMain ? 5 : 0);
    out_ += columnedMain ? ".  " : ". ";
  } else if (line.needsNumber) {
    BreakLongLine();
    out_ += columnedMain ? "\r\n " : " ";
    AppendNumber(out_, (line.nodePly + 1) / 2, columnedMain ? 5 : 0);
    out_ += columnedMain ? "...              " : "... ";
  } else {
    out_ += columnedMain ? "  " : " ";
  }
  line.needsNumber = false;
}

void MovetextWriter::WriteMoveText(const Line& line, NodeRef node) {
  const std::string text = PGNMoveText(FactsOf(store_, node), longAlgebraic_);
  const std::uint8_t rating = store_.Node(node).Has2(kFlag2Rating) ? store_.RatingOf(node) : 0;
  const std::uint8_t assessment = store_.Node(node).Has2(kFlag2Assessment) ? store_.AssessmentOf(node) : 0;
  const char* ratingText = rating <= 6 ? (options_.symbols ? kRatingSymbols : kRatingNags)[rating] : "";
  const char* assessmentText =
      assessment <= 5 ? (options_.symbols ? kAssessmentSymbols : kAssessmentNags)[assessment] : "";
  if (!ColumnedMain(line)) {
    out_ += text;
    out_ += ratingText;
    out_ += assessmentText;
    return;
  }
  // Columns: the move right-aligned in its field, then the promotion suffix,
  // check sign, rating and assessment in a second field, blanks standing in
  // for a missing suffix or sign.
  std::string_view body = text;
  const bool check = body.ends_with('+');
  if (check) body.remove_suffix(1);
  std::string_view promotion;
  if (body.size() >= 2 && body[body.size() - 2] == '=') {
    promotion = body.substr(body.size() - 2);
    body.remove_suffix(2);
  }
  if (body.size() < kFieldWidth) out_.append(kFieldWidth - body.size(), ' ');
  out_ += body;
  const std::size_t tail = out_.size();
  out_ += promotion.empty() ? std::string_view("  ") : promotion;
  out_ += check ? '+' : ' ';
  out_ += ratingText;
  out_ += assessmentText;
  PadTo(out_, tail, kFieldWidth);
}

void MovetextWriter::WriteMarks(Line& line, NodeRef node) {
  if (!options_.extensions) return;
  auto ownLine = [&] {
    if (movesOnLine_ != 0) out_ += "\r\n";
    movesOnLine_ = 0;
    line.needsNumber = true;
  };
  if (store_.Node(node).Has(kFlagDiagram)) {
    ownLine();
    out_ += "%FG[]\r\n";
    AppendPgnDiagram(out_, BoardAt(store_, node), flipped_, initials_);
  }
  if (auto mark = bookmarks_.find(node); mark != bookmarks_.end()) {
    ownLine();
    out_ += "%BM[";
    AppendNumber(out_, mark->second);
    out_ += "]\r\n";
  }
  if (store_.Node(node).Has2(kFlag2Stored))
    if (auto slot = StoreNumberOf(tree_, node)) {
      ownLine();
      out_ += "%XN[";
      AppendNumber(out_, *slot);
      out_ += "]\r\n";
    }
  if (tree_.primary == node) {
    ownLine();
    out_ += "%XP[]\r\n";
  }
}

void MovetextWriter::WriteMove(Line& line) {
  const NodeRef node = line.node;
  const MoveNode& n = store_.Node(node);
  line.nodePly = PlyOf(node, line.parentPly);
  if (n.Has(kFlagCommentBefore)) {
    WriteComment(line, node, NodeStore::kBefore);
    movesOnLine_ = 0;
    line.needsNumber = true;
  }
  WriteMoveNumber(line, n);
  WriteMoveText(line, node);
  ++movesOnLine_;
  WriteMarks(line, node);
  if (n.Has(kFlagCommentAfter)) {
    WriteComment(line, node, NodeStore::kAfter);
    movesOnLine_ = 0;
    line.needsNumber = true;
  }
  WriteResult(line, node);
  if (options_.includeVariations && node != line.first && store_.Node(n.parent).Has(kFlagBranch)) {
    line.inVariations = true;
    line.alternatives = store_.Alternatives(n.parent);
    line.nextAlternative = 0;
  }
}

void MovetextWriter::Advance(Line& line) {
  const MoveNode& n = store_.Node(line.node);
  const bool setUp = n.Has(kFlagComposed) && n.parent != kNoNode;
  const bool irregular = n.Has2(kFlag2Irregular) && n.From() != n.To();
  line.parentPly = line.nodePly;
  line.node = setUp || irregular ? kNoNode : n.next;
}

void MovetextWriter::Write(NodeRef first, int& movesOnLine) {
  movesOnLine_ = movesOnLine;
  // Nested variations are walked with an explicit stack: a file can nest
  // them far deeper than the call stack would allow.
  std::vector<Line> stack;
  Line start;
  start.first = start.node = first;
  start.mainLine = first == tree_.root;
  const NodeRef parent = store_.Node(first).parent;
  start.parentPly = parent == kNoNode ? 0 : varnock::PlyOf(store_, parent);
  stack.push_back(start);

  while (!stack.empty()) {
    Line& line = stack.back();
    if (line.inVariations) {
      if (line.alternatives && line.nextAlternative < line.alternatives->size()) {
        const SBranchDetails* alternative = (*line.alternatives)[line.nextAlternative++];
        if (alternative->first == kNoNode) continue;
        if (ColumnedMain(line)) out_ += "\r\n\r\n";
        out_ += " (";
        Line variation;
        variation.first = variation.node = alternative->first;
        variation.parentPly = line.parentPly;
        stack.push_back(variation);  // `line` is not used past this point
        continue;
      }
      line.inVariations = false;
      line.alternatives = nullptr;
      line.needsNumber = true;
      Advance(line);
      continue;
    }
    if (line.node == kNoNode) {
      if (line.mainLine) WriteGameEnd(line);
      stack.pop_back();
      if (!stack.empty()) {
        out_ += " )";
        if (ColumnedMain(stack.back())) out_ += "\r\n";
      }
      continue;
    }
    if (line.mainLine && line.node == tree_.root) {
      WriteRoot(line);
    } else {
      WriteMove(line);
    }
    if (!line.inVariations) Advance(line);
  }
  movesOnLine = movesOnLine_;
}

}  // namespace

void WritePgnMovetext(SGridFrame& game, std::string& out, NodeRef first, int& movesOnLine,
                      const PgnExportOptions& options, std::string_view pieceInitials) {
  if (first == kNoNode) return;
  MovetextWriter(game, out, options, pieceInitials).Write(first, movesOnLine);
}

}  // namespace varnock
