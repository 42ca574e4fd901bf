// The opening table of a run: expanded from the built-in resource and indexed
// on first use, then kept until the program ends. A load that failed has been
// reported and is not tried again.
#pragma once

#include <memory>

#include "core/UserPrompt.h"
#include "openings/EcoResource.h"
#include "openings/EcoTable.h"

namespace varnock {

class EcoDatabase {
 public:
  EcoDatabase() = default;
  // A database that is loaded already, from a table given (tests, tools).
  explicit EcoDatabase(std::unique_ptr<EcoTable> table) : table_(std::move(table)), tried_(true) {}

  // Loads the built-in table unless tried before; true when it is available.
  bool Start(UserPrompt& prompt) { return Start(BuiltInEcoResource(), prompt); }
  // The same from resource bytes: a null resource is one that cannot be
  // found, a resource without data one that cannot be loaded.
  bool Start(const ResourceBytes* resource, UserPrompt& prompt);
  bool Start(const ResourceBytes& resource, UserPrompt& prompt) { return Start(&resource, prompt); }

  bool Available() const { return table_ != nullptr; }
  // The table, once available; nullptr otherwise.
  const EcoTable* Table() const { return table_.get(); }

 private:
  std::unique_ptr<EcoTable> table_;
  bool tried_ = false;
};

// Loads the database on first use; every classification command calls it.
inline bool StartECODatabase(EcoDatabase& database, UserPrompt& prompt) { return database.Start(prompt); }

}  // namespace varnock
