// Counting the legal move sequences from a position, through the legality
// routines of move entry. Used to prove those routines against published counts.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/Fen.h"
#include "core/MoveGen.h"

namespace varnock {

std::uint64_t Perft(const FENExtras& position, int depth);

// The count below each first move, in generation order.
std::vector<std::pair<Move, std::uint64_t>> PerftDivide(const FENExtras& position, int depth);

// A move in coordinate notation, such as "e2e4" or "e7e8q".
std::string CoordinateText(const Move& move);

}  // namespace varnock
