// The piece letters of move text and diagrams, in the order king, queen,
// rook, bishop, knight, pawn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnock {

inline constexpr std::string_view kDefaultPieceInitials = "KQRBNP";

// The six letters to use for a stored setting: a shorter text keeps its
// letters for the first pieces and takes the rest from "KQRBNP" (so "SD"
// gives "SDRBNP"); a longer one is cut to six letters.
std::string CompletePieceInitials(std::string_view stored);

// The position of a piece type in the initials: king 0 ... pawn 5; 5 for
// anything that is not one of the six type bits.
int PieceInitialIndex(std::uint8_t pieceType);

// The letter of a piece type in `initials`, falling back to the default
// letter when `initials` is too short.
char PieceInitial(std::string_view initials, std::uint8_t pieceType);

}  // namespace varnock
