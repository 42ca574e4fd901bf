#include "render/ScoreLayout.h"

#include <algorithm>
#include <new>
#include <unordered_set>

#include "core/Format.h"
#include "core/Notation.h"
#include "tree/Bookmarks.h"
#include "tree/NodeFacts.h"
#include "tree/Positions.h"

namespace varnock {

namespace {

const char* kRtfResults[] = {"", "1-0  ", "0-1  ", "1/2-1/2"};
const char* kVariationResults[] = {"", " 1-0", " 0-1", " draw"};

bool IsBlackPly(int ply) { return ply % 2 == 0; }

// Walks a game and collects paragraphs. One instance per layout.
class LayoutWalk {
 public:
  LayoutWalk(GameTree& game, int mode, const ScoreLayoutOptions& options, std::vector<ScoreParagraph>& out,
             UserPrompt* prompt)
      : game_(game),
        store_(game.Store()),
        mode_(mode),
        options_(options),
        rtf_(options.rtf),
        out_(out),
        prompt_(prompt) {
    for (const SBookmarkDetails& mark : game.bookmarks) bookmarked_.insert(mark.node);
  }

  void Start(NodeRef first) {
    if (HasMark(first)) Add(ParagraphKind::DiagramPlace, "", first);
    const std::string* comment = store_.Comment(first, NodeStore::kAfter);
    if (!comment) return;
    if (mode_ == kRtfLayout) {
      AddCommentLines(*comment, first);
    } else {
      std::string text = WindowComment(*comment);
      if (!text.empty()) Add(ParagraphKind::Comment, text, first);
    }
  }

  // RTF: the main line with results, diagrams, comments and variations.
  void RtfMainLine(NodeRef root, bool allLines) {
    int ply = PlyOf(store_, root);
    for (NodeRef ref = store_.Node(root).next; ref != kNoNode; ref = store_.Node(ref).next) {
      const MoveNode& node = store_.Node(ref);
      ply = node.Has(kFlagComposed) ? PlyOf(store_, ref) : ply + 1;
      if (const std::string* before = store_.Comment(ref, NodeStore::kBefore)) {
        FlushMain();
        AddCommentLines(*before, ref);
      }
      if (!mainOpen_) {
        mainOpen_ = true;
        mainNode_ = ref;
        if (IsBlackPly(ply)) mainText_ += BlackNumber(ply);
      }
      NotationOptions notation{options_.initials, !rtf_.indentMainLine, false};
      mainText_ += rtf_.indentMainLine ? "\\tab " : "\t";
      mainText_ += MoveText(FactsOf(store_, ref), ply, kRtf, rtf_.shortMainLine, notation);
      if (node.Has(kFlagComposed)) FlushMain();
      if (std::uint8_t result = store_.ResultOf(ref); result >= 1 && result <= 3) {
        FlushMain();
        Add(ParagraphKind::Result, std::string("\\tab\\tab ") + kRtfResults[result], ref);
      }
      if (WantsDiagram(ref, true)) {
        FlushMain();
        Add(ParagraphKind::DiagramPlace, "", ref);
      }
      if (const std::string* after = store_.Comment(ref, NodeStore::kAfter)) {
        FlushMain();
        AddCommentLines(*after, ref);
      }
      if (allLines) {
        for (SBranchDetails* line : AlternativesTo(ref)) {
          FlushMain();
          Variation(line->first, ply - 1, 0);
          FlushVariation();
        }
      }
      if (rtf_.indentMainLine && IsBlackPly(ply)) FlushMain();
    }
    FlushMain();
  }

  // Game-text window and preview: one move pair per row.
  void ColumnLines(const std::vector<NodeRef>& nodes) {
    if (nodes.empty()) return;
    int ply = PlyOf(store_, nodes.front());
    for (std::size_t i = 1; i < nodes.size(); ++i) {
      const NodeRef ref = nodes[i];
      const MoveNode& node = store_.Node(ref);
      ply = node.Has(kFlagComposed) ? PlyOf(store_, ref) : ply + 1;
      if (!mainOpen_) {
        mainOpen_ = true;
        mainNode_ = ref;
        if (IsBlackPly(ply)) mainText_ += '\t';
      }
      mainText_ += '\t';
      const std::size_t start = mainText_.size();
      mainText_ += MoveText(FactsOf(store_, ref), ply, kColumns, options_.shortNotation, {options_.initials});
      mainSpans_.push_back(SpanOf(start, mainText_.size(), ref));
      if (IsBlackPly(ply)) FlushMain();
      if (std::uint8_t result = store_.ResultOf(ref); result >= 1 && result <= 3) {
        FlushMain();
        Add(ParagraphKind::Result,
            std::string("\t      ") + (result == 3   ? "1/2-1/2"
                                       : result == 1 ? "  1-0  "
                                                     : "  0-1  "),
            ref);
      }
      if (HasMark(ref)) {
        FlushMain();
        Add(ParagraphKind::DiagramPlace, "", ref);
      }
      const std::string* before = store_.Comment(ref, NodeStore::kBefore);
      const std::string* after = store_.Comment(ref, NodeStore::kAfter);
      if (before || after) {
        FlushMain();
        std::string joined = before ? *before : "";
        if (before && after) joined += "\\";
        if (after) joined += *after;
        Add(ParagraphKind::Comment, WindowComment(joined), ref);
      }
      for (SBranchDetails* line : AlternativesTo(ref)) {
        FlushMain();
        std::size_t moveStart = 0;
        std::string row = VariationRow(line, ply - 1, moveStart);
        const std::size_t end = row.size();
        Add(ParagraphKind::Variation, std::move(row), line->first, {SpanOf(moveStart, end, line->first)});
      }
    }
    FlushMain();
  }

 private:
  // A paragraph that cannot be had is left out, and the layout goes on; the
  // first such failure of a layout is reported, not every one.
  void Add(ParagraphKind kind, std::string text, NodeRef node, std::vector<MoveSpan> moves = {}) {
    try {
      out_.push_back({kind, std::move(text), node, static_cast<int>(out_.size()), std::move(moves)});
    } catch (const std::bad_alloc&) {
      if (prompt_ && !allocationReported_) prompt_->Inform("list_insert()", "malloc: No memory available.");
      allocationReported_ = true;
    }
  }

  // The text of a move (with its number) from `start` to `end`.
  static MoveSpan SpanOf(std::size_t start, std::size_t end, NodeRef node) {
    return {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start), node};
  }

  void AddCommentLines(const std::string& text, NodeRef node) {
    std::vector<std::string> lines = CommentLines(text);
    if (lines.size() > static_cast<std::size_t>(kMaxCommentLines)) lines.resize(kMaxCommentLines);
    for (std::string& line : lines) Add(ParagraphKind::Comment, std::move(line), node);
  }

  // The window shows a comment on one row: line breaks as "\", at most 250
  // characters.
  static std::string WindowComment(const std::string& text) {
    std::string row;
    for (std::size_t i = 0; i < text.size() && row.size() < kMaxWindowComment; ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      row += (text[i] == '\r' || text[i] == '\n') ? '\\' : text[i];
    }
    return row;
  }

  std::string BlackNumber(int ply) const {
    const int number = (ply + 1) / 2;
    if (!rtf_.indentMainLine) return Format("%3d...", number);
    return Format(rtf_.courierMainLine ? "\\tab %d.\\tab  ..." : "\\tab %d.\\tab ...", number);
  }

  void FlushMain() {
    if (!mainOpen_) return;
    Add(ParagraphKind::MainLine, std::move(mainText_), mainNode_, std::move(mainSpans_));
    mainText_.clear();
    mainSpans_.clear();
    mainOpen_ = false;
  }

  void FlushVariation() {
    if (!variationOpen_) return;
    std::string text = TidyVariation(variationText_);
    variationText_.clear();
    variationOpen_ = false;
    if (!text.empty()) Add(ParagraphKind::Variation, std::move(text), variationNode_);
  }

  void VariationAppend(const std::string& text, NodeRef node) {
    if (!variationOpen_) {
      variationOpen_ = true;
      variationNode_ = node;
    }
    variationText_ += text;
  }

  // The alternative lines that start beside the node: those of its parent,
  // when the node is the parent's own continuation.
  std::vector<SBranchDetails*> AlternativesTo(NodeRef ref) {
    const NodeRef parent = store_.Node(ref).parent;
    if (parent == kNoNode || store_.Node(parent).next != ref || !store_.Node(parent).Has(kFlagBranch)) return {};
    const auto* lines = store_.Alternatives(parent);
    return lines ? *lines : std::vector<SBranchDetails*>{};
  }

  // A variation written into the open variation paragraph; comments and
  // diagrams interrupt it and it resumes after them.
  void Variation(NodeRef first, int parentPly, int depth) {
    VariationAppend(" [", first);
    bool interrupted = true;
    int ply = parentPly;
    for (NodeRef ref = first; ref != kNoNode; ref = store_.Node(ref).next) {
      const MoveNode& node = store_.Node(ref);
      ply = node.Has(kFlagComposed) ? PlyOf(store_, ref) : ply + 1;
      if (const std::string* before = store_.Comment(ref, NodeStore::kBefore)) {
        FlushVariation();
        AddCommentLines(*before, ref);
        interrupted = true;
      }
      if (IsBlackPly(ply) && interrupted) VariationAppend(Format(" %d...", (ply + 1) / 2), ref);
      NotationOptions notation{options_.initials, true, false};
      VariationAppend(" " + MoveText(FactsOf(store_, ref), ply, kRtf, rtf_.shortVariations, notation), ref);
      interrupted = false;
      if (std::uint8_t result = store_.ResultOf(ref); result >= 1 && result <= 3)
        VariationAppend(kVariationResults[result], ref);
      if (WantsDiagram(ref, false)) {
        FlushVariation();
        Add(ParagraphKind::DiagramPlace, "", ref);
        interrupted = true;
      }
      if (const std::string* after = store_.Comment(ref, NodeStore::kAfter)) {
        FlushVariation();
        AddCommentLines(*after, ref);
        interrupted = true;
      }
      // Nesting is bounded by the tree; the depth guard keeps a damaged one
      // from exhausting the stack.
      if (depth < kMaxNesting) {
        for (SBranchDetails* line : AlternativesTo(ref)) {
          Variation(line->first, ply - 1, depth + 1);
          interrupted = true;
        }
      }
    }
    VariationAppend(" ]", first);
  }

  // "\t      " (and "  " in short notation) before a White move, "\t\t"
  // before a Black one; the first move; the number of moves of the line.
  std::string VariationRow(SBranchDetails* line, int parentPly, std::size_t& moveStart) {
    int moves = 0;
    for (NodeRef ref = line->first; ref != kNoNode && moves < 1'000'000; ref = store_.Node(ref).next) ++moves;
    const NodeRef first = line->first;
    const int ply = store_.Node(first).Has(kFlagComposed) ? PlyOf(store_, first) : parentPly + 1;
    std::string row = IsBlackPly(ply) ? "\t\t" : (options_.shortNotation ? "\t        " : "\t      ");
    moveStart = row.size();
    row += MoveText(FactsOf(store_, first), 0, kColumnsPlain, options_.shortNotation, {options_.initials});
    row += Format(" (%d)", moves);
    return row;
  }

  // A mark that puts a diagram beside a move in every layout.
  bool HasMark(NodeRef ref) const {
    const MoveNode& node = store_.Node(ref);
    return node.Has(kFlagDiagram) || ref == game_.primary || node.Has(kFlagComposed) || node.Has2(kFlag2Stored) ||
           bookmarked_.count(ref) != 0;
  }

  bool WantsDiagram(NodeRef ref, bool mainLine) const {
    const MoveNode& node = store_.Node(ref);
    if (node.Has(kFlagDiagram)) return true;
    if (rtf_.diagramEveryComment && (node.Has(kFlagCommentBefore) || node.Has(kFlagCommentAfter))) return true;
    if (node.next == kNoNode && (rtf_.endDiagramAllLines || (mainLine && rtf_.endDiagramMainLine))) return true;
    return rtf_.diagramEveryBookmark && bookmarked_.count(ref) != 0;
  }

  static constexpr int kMaxNesting = 200;

  GameTree& game_;
  NodeStore& store_;
  int mode_;
  const ScoreLayoutOptions& options_;
  const RtfOptions& rtf_;
  std::vector<ScoreParagraph>& out_;
  UserPrompt* prompt_;
  bool allocationReported_ = false;
  std::unordered_set<NodeRef> bookmarked_;
  std::string mainText_, variationText_;
  std::vector<MoveSpan> mainSpans_;
  bool mainOpen_ = false, variationOpen_ = false;
  NodeRef mainNode_ = kNoNode, variationNode_ = kNoNode;
};

}  // namespace

std::vector<std::string> CommentLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

std::string TidyVariation(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\t' ? ' ' : text[i];
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
    if ((c == '[' || c == ']') && i + 1 < text.size() && text[i + 1] != ' ' && text[i + 1] != '\t') out += ' ';
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

const std::vector<ScoreParagraph>& ScoreLayout::Layout(GameTree& game, bool allLines) {
  paragraphs_.clear();
  nodes_.clear();
  if (game.root == kNoNode) return paragraphs_;
  LayoutWalk walk(game, mode_, options_, paragraphs_, prompt_);
  walk.Start(game.root);
  NodeStore& store = game.Store();
  if (mode_ == kRtfLayout) {
    walk.RtfMainLine(game.root, allLines);
    return paragraphs_;
  }
  if (mode_ == kPreviewLayout && game.current != kNoNode && store.Valid(game.current)) {
    // The line of the current move: up to the root, then on past it.
    for (NodeRef ref = game.current; ref != kNoNode; ref = store.Node(ref).parent) nodes_.push_back(ref);
    std::reverse(nodes_.begin(), nodes_.end());
    for (NodeRef ref = store.Node(game.current).next; ref != kNoNode; ref = store.Node(ref).next) nodes_.push_back(ref);
  } else {
    for (NodeRef ref = game.root; ref != kNoNode; ref = store.Node(ref).next) nodes_.push_back(ref);
  }
  walk.ColumnLines(nodes_);
  return paragraphs_;
}

}  // namespace varnock
