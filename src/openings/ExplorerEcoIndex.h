// The explorer's index from positions to lines of the opening table: the
// packed index compiled into the program (generated at build time from the
// table), inflated on first use and kept for the run.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/UserPrompt.h"
#include "openings/EcoResource.h"
#include "openings/EcoTable.h"

namespace varnock {

// The built-in packed index, in its compressed container.
ResourceBytes BuiltInExplorerIndexResource();

class ExplorerEcoIndex {
 public:
  // Inflates the resource unless tried before; true when the index is
  // available. A null resource is one that cannot be found, one without data
  // (or whose data do not inflate) one that cannot be loaded; both are
  // reported, and the explorer then shows no opening names.
  bool Start(const ResourceBytes* resource, UserPrompt& prompt);
  bool Start(UserPrompt& prompt) {
    const ResourceBytes resource = BuiltInExplorerIndexResource();
    return Start(&resource, prompt);
  }

  bool Available() const { return available_; }
  std::span<const std::uint8_t> Nodes() const { return nodes_; }

  // The offset in the table text of the first line with the key, or nothing.
  std::optional<std::uint32_t> Lookup(std::uint32_t key) const;

 private:
  std::vector<std::uint8_t> nodes_;
  bool tried_ = false;
  bool available_ = false;
};

inline bool StartExplorerECODatabase(ExplorerEcoIndex& index, UserPrompt& prompt) { return index.Start(prompt); }

// The line of the table that starts at `offset`, or nullptr.
const EcoLine* EcoLineAtOffset(const EcoTable& table, std::uint32_t offset);

}  // namespace varnock
