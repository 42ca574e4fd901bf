#include "openings/ExplorerEcoIndex.h"

#include <algorithm>

#include "openings/CompressedContainer.h"
#include "openings/PositionIndexNodes.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "StartExplorerECODatabase()";

}  // namespace

bool ExplorerEcoIndex::Start(const ResourceBytes* resource, UserPrompt& prompt) {
  if (tried_) return available_;
  tried_ = true;
  if (resource == nullptr) {
    prompt.Inform(kCaption, "FindResource() could not find Explorer database");
    return false;
  }
  std::uint64_t wanted = 0;
  if (resource->data == nullptr ||
      InflateContainer({resource->data, resource->size}, nodes_, wanted) != InflateResult::kOk) {
    nodes_.clear();
    prompt.Inform(kCaption, "LoadResource() could not load Explorer database");
    return false;
  }
  available_ = true;
  return true;
}

std::optional<std::uint32_t> ExplorerEcoIndex::Lookup(std::uint32_t key) const {
  if (!available_) return std::nullopt;
  return LookupPositionIndex(nodes_, key);
}

const EcoLine* EcoLineAtOffset(const EcoTable& table, std::uint32_t offset) {
  const std::vector<EcoLine>& lines = table.Lines();
  const auto it = std::lower_bound(lines.begin(), lines.end(), offset,
                                   [](const EcoLine& line, std::uint32_t at) { return line.offset < at; });
  return it != lines.end() && it->offset == offset ? &*it : nullptr;
}

}  // namespace varnock
