// The facts of a stored move that the notation needs.
#pragma once

#include "core/MoveFacts.h"
#include "tree/NodeStore.h"

namespace varnock {

// Fills MoveFacts from a node, rebuilding the boards before and after it.
MoveFacts FactsOf(const NodeStore& store, NodeRef node);

}  // namespace varnock
