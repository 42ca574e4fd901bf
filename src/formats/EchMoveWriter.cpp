#include "formats/EchMoveWriter.h"

#include <unordered_map>
#include <vector>

#include "core/Fen.h"
#include "formats/EchMarks.h"
#include "formats/EchValues.h"
#include "tree/Bookmarks.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

constexpr int kMovesPerLine = 12;

char PromotionLetter(std::uint8_t pieceType) {
  if (pieceType & kQueen) return 'Q';
  if (pieceType & kRook) return 'R';
  if (pieceType & kBishop) return 'B';
  if (pieceType & kKnight) return 'N';
  if (pieceType & kKing) return 'K';
  return 0;
}

class MoveWriter {
 public:
  MoveWriter(const GameTree& game, std::string& out) : game_(game), store_(game.Store()), out_(out) {
    for (const SBookmarkDetails& mark : game.bookmarks) bookmarks_.emplace(mark.node, mark.number);
  }

  void Run();

 private:
  // A branch node whose sub-trees are being written: the continuation first,
  // then its alternatives in creation order.
  struct OpenBranch {
    NodeRef node;
    std::size_t nextAlternative;
  };

  bool LineEmpty() const { return out_.empty() || out_.back() == '\n'; }
  void NewLine() {
    out_ += "\r\n";
    moves_ = 0;
    breakPending_ = false;
  }
  void StartSubTree() {
    out_ += "(\r\n";
    moves_ = 0;
    breakPending_ = false;
  }
  const std::vector<SBranchDetails*>* AlternativesOf(NodeRef node) const {
    if (!store_.Node(node).Has(kFlagBranch)) return nullptr;
    const auto* alternatives = store_.Alternatives(node);
    return alternatives && !alternatives->empty() ? alternatives : nullptr;
  }
  // The first node of the next alternative still to write, or kNoNode.
  NodeRef NextAlternative(OpenBranch& branch) const {
    const auto* alternatives = AlternativesOf(branch.node);
    while (alternatives && branch.nextAlternative < alternatives->size()) {
      const NodeRef first = (*alternatives)[branch.nextAlternative++]->first;
      if (first != kNoNode) return first;
    }
    return kNoNode;
  }

  void AppendSquare(int square) {
    out_ += static_cast<char>('a' + FileOf(square));
    out_ += static_cast<char>('0' + RankOf(square));
  }
  void WriteNode(NodeRef node);
  void WriteMove(NodeRef node);
  bool WriteProperties(NodeRef node);
  void Property(std::string_view name, std::string_view value = {});
  void TextProperty(std::string_view name, const std::string& text);

  const GameTree& game_;
  NodeStore& store_;
  std::string& out_;
  std::unordered_map<NodeRef, int> bookmarks_;
  int moves_ = 0;              // moves on the current output line
  bool breakPending_ = false;  // the next move starts a new line
};

void MoveWriter::Property(std::string_view name, std::string_view value) {
  out_ += "\r\n";
  out_ += name;
  out_ += '[';
  out_ += value;
  out_ += ']';
}

void MoveWriter::TextProperty(std::string_view name, const std::string& text) {
  out_ += "\r\n";
  out_ += name;
  out_ += '[';
  AppendEscaped(out_, text);
  out_ += ']';
}

bool MoveWriter::WriteProperties(NodeRef ref) {
  const MoveNode& node = store_.Node(ref);
  const std::size_t before = out_.size();
  // The flags tell which attribute maps hold an entry for the node.
  if (node.Has2(kFlag2Irregular)) Property("IR");
  if (node.Has2(kFlag2Rating)) Property("XG", RatingSymbol(store_.RatingOf(ref)));
  if (node.Has2(kFlag2Assessment)) Property("XG", AssessmentSymbol(store_.AssessmentOf(ref)));
  if (node.Has2(kFlag2Result)) Property("RS", ResultSymbol(store_.ResultOf(ref)));
  if (game_.primary == ref) Property("XP");
  if (!bookmarks_.empty())
    if (auto it = bookmarks_.find(ref); it != bookmarks_.end()) Property("BM", std::to_string(it->second));
  if (node.Has2(kFlag2Stored))
    if (auto slot = StoreNumberOf(game_, ref)) Property("XN", std::to_string(*slot));
  if (game_.current == ref) Property("XV");
  if (node.Has(kFlagDiagram)) Property("FG");
  if (node.Has(kFlagCommentBefore))
    if (const std::string* text = store_.Comment(ref, NodeStore::kBefore)) TextProperty("C0", *text);
  if (node.Has(kFlagCommentAfter))
    if (const std::string* text = store_.Comment(ref, NodeStore::kAfter)) TextProperty("C", *text);
  return out_.size() != before;
}

void MoveWriter::WriteMove(NodeRef ref) {
  const MoveNode& node = store_.Node(ref);
  if (breakPending_ || moves_ == kMovesPerLine) NewLine();
  if (moves_ > 0) out_ += ' ';
  out_ += node.Has(kFlagBlackToMove) ? "W[" : "B[";
  if (node.From() != node.To()) {
    AppendSquare(node.From());
    AppendSquare(node.To());
    if (node.Kind() == kPromotion) {
      const std::uint8_t promoted = BoardAt(store_, ref)[static_cast<std::size_t>(node.To())] & kTypeMask;
      if (char letter = PromotionLetter(promoted)) {
        out_ += '=';
        out_ += letter;
      }
    }
  }
  out_ += ']';
  ++moves_;
}

void MoveWriter::WriteNode(NodeRef ref) {
  const MoveNode& node = store_.Node(ref);
  const FENExtras* composed = node.Has(kFlagComposed) ? store_.Composed(ref) : nullptr;
  if (composed) {
    // A set-up position stands on a line of its own.
    if (!LineEmpty()) out_ += "\r\n";
    out_ += "FN[";
    AppendEscaped(out_, FormatFEN(composed->board, *composed));  // read back unescaped
    out_ += ']';
    moves_ = 0;
    WriteProperties(ref);
    breakPending_ = true;
    return;
  }
  WriteMove(ref);
  if (WriteProperties(ref)) breakPending_ = true;
}

void MoveWriter::Run() {
  std::vector<OpenBranch> open;
  NodeRef at = game_.root;
  for (;;) {
    // One line of play, up to its end or its first branch node.
    bool branched = false;
    for (; at != kNoNode; at = store_.Node(at).next) {
      if (at != game_.root) WriteNode(at);
      if (AlternativesOf(at)) {
        if (!LineEmpty()) out_ += "\r\n";
        StartSubTree();
        open.push_back({at, 0});
        at = store_.Node(at).next;
        branched = true;
        break;
      }
    }
    if (branched) continue;

    // The line ended: close sub-trees until one has an alternative left.
    bool endedInSubTrees = false;
    NodeRef next = kNoNode;
    while (!open.empty()) {
      if (!endedInSubTrees) out_ += "\r\n";
      out_ += ')';
      next = NextAlternative(open.back());
      if (next != kNoNode) break;
      open.pop_back();
      endedInSubTrees = true;
    }
    if (next != kNoNode) {
      out_ += "\r\n";
      StartSubTree();
      at = next;
      continue;
    }
    if (!endedInSubTrees && !LineEmpty()) out_ += "\r\n";
    out_ += ")";
    return;
  }
}

}  // namespace

void WriteEchMoves(const GameTree& game, std::string& out) { MoveWriter(game, out).Run(); }

}  // namespace varnock
