#include "tree/NodeStore.h"

#include <algorithm>

namespace varnock {

namespace {

bool IsSnapshotRef(NodeRef ref) { return (ref & NodeStore::kSnapshotBit) != 0; }

}  // namespace

void NodeStore::Free(NodeRef ref) {
  if (!Valid(ref)) return;
  if (IsSnapshotRef(ref))
    snapshots_.Free(IndexOf(ref));
  else
    plain_.Free(IndexOf(ref));
}

namespace {

template <class Map>
void Empty(Map& map) {
  if (!map.empty()) map.clear();  // clearing an empty map still wipes its buckets
}

}  // namespace

void NodeStore::Clear() {
  plain_.FreeAll();
  snapshots_.FreeAll();
  Empty(commentBefore_);
  Empty(commentAfter_);
  Empty(alternatives_);
  Empty(lines_);
  Empty(composed_);
  Empty(rating_);
  Empty(assessment_);
  Empty(result_);
}

void NodeStore::ReleaseEmptySegments() {
  plain_.ReleaseEmptySegments();
  snapshots_.ReleaseEmptySegments();
}

bool NodeStore::Valid(NodeRef ref) const {
  if (ref == kNoNode || (ref & ~kSnapshotBit) == 0) return false;
  return IsSnapshotRef(ref) ? snapshots_.Valid(IndexOf(ref)) : plain_.Valid(IndexOf(ref));
}

BoardSquares* NodeStore::Snapshot(NodeRef ref) {
  return IsSnapshotRef(ref) ? &snapshots_.At(IndexOf(ref)).board : nullptr;
}

const BoardSquares* NodeStore::Snapshot(NodeRef ref) const {
  return IsSnapshotRef(ref) ? &snapshots_.At(IndexOf(ref)).board : nullptr;
}

void NodeStore::SetAttribute(std::unordered_map<NodeRef, std::uint8_t>& map, NodeRef ref, std::uint8_t value,
                             std::uint8_t flag2) {
  if (value == 0)
    map.erase(ref);
  else
    map[ref] = value;
  Node(ref).Set2(flag2, value != 0);
}

void NodeStore::SetRating(NodeRef ref, std::uint8_t value) {
  SetAttribute(rating_, ref, value <= 6 ? value : 0, kFlag2Rating);
}
void NodeStore::SetAssessment(NodeRef ref, std::uint8_t value) {
  SetAttribute(assessment_, ref, value <= 5 ? value : 0, kFlag2Assessment);
}
void NodeStore::SetResult(NodeRef ref, std::uint8_t value) {
  SetAttribute(result_, ref, value <= 3 ? value : 0, kFlag2Result);
}

const std::string* NodeStore::Comment(NodeRef ref, CommentKind kind) const {
  const auto& map = kind == kBefore ? commentBefore_ : commentAfter_;
  auto it = map.find(ref);
  return it == map.end() ? nullptr : &it->second;
}

void NodeStore::StoreComment(NodeRef ref, CommentKind kind, std::string text) {
  if (text.empty()) return EraseComment(ref, kind);
  (kind == kBefore ? commentBefore_ : commentAfter_)[ref] = std::move(text);
  Node(ref).Set(kind == kBefore ? kFlagCommentBefore : kFlagCommentAfter, true);
}

void NodeStore::AppendComment(NodeRef ref, CommentKind kind, std::string_view separator, std::string_view text) {
  if (text.empty()) return;
  auto& map = kind == kBefore ? commentBefore_ : commentAfter_;
  const auto [it, added] = map.try_emplace(ref);
  if (!added) it->second += separator;
  it->second += text;
  Node(ref).Set(kind == kBefore ? kFlagCommentBefore : kFlagCommentAfter, true);
}

void NodeStore::EraseComment(NodeRef ref, CommentKind kind) {
  (kind == kBefore ? commentBefore_ : commentAfter_).erase(ref);
  Node(ref).Set(kind == kBefore ? kFlagCommentBefore : kFlagCommentAfter, false);
}

void NodeStore::ClearAllComments() {
  commentBefore_.clear();
  commentAfter_.clear();
}

FENExtras* NodeStore::Composed(NodeRef ref) {
  auto it = composed_.find(ref);
  return it == composed_.end() ? nullptr : &it->second;
}

const FENExtras* NodeStore::Composed(NodeRef ref) const {
  auto it = composed_.find(ref);
  return it == composed_.end() ? nullptr : &it->second;
}

void NodeStore::SetComposed(NodeRef ref, const FENExtras& extras) {
  composed_[ref] = extras;
  Node(ref).Set(kFlagComposed, true);
}

void NodeStore::EraseComposed(NodeRef ref) {
  composed_.erase(ref);
  Node(ref).Set(kFlagComposed, false);
}

std::vector<SBranchDetails*>* NodeStore::Alternatives(NodeRef branch) {
  auto it = alternatives_.find(branch);
  return it == alternatives_.end() ? nullptr : &it->second;
}

void NodeStore::AddAlternative(NodeRef branch, SBranchDetails* line) {
  alternatives_[branch].push_back(line);
  Node(branch).Set(kFlagBranch, true);
}

void NodeStore::RemoveAlternative(NodeRef branch, SBranchDetails* line) {
  auto it = alternatives_.find(branch);
  if (it == alternatives_.end()) return;
  auto& list = it->second;
  list.erase(std::remove(list.begin(), list.end(), line), list.end());
  if (list.empty()) {
    alternatives_.erase(it);
    Node(branch).Set(kFlagBranch, false);
  }
}

SBranchDetails* NodeStore::NewLine(int gameId, NodeRef first, NodeRef last) {
  auto line = std::make_unique<SBranchDetails>(SBranchDetails{first, last});
  SBranchDetails* raw = line.get();
  lines_[gameId].emplace(raw, std::move(line));
  return raw;
}

void NodeStore::DeleteLine(int gameId, SBranchDetails* line) {
  auto it = lines_.find(gameId);
  if (it == lines_.end()) return;
  it->second.erase(line);
}

}  // namespace varnock
