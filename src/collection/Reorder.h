// Sorting the games of a collection by one header field.
#pragma once

#include <array>
#include <locale>
#include <string>

#include "collection/Collection.h"

namespace varnock {

// The sort keys, in the order of the reorder dialog.
enum class ReorderKey : int { ECO = 0, Opening = 1, White = 2, Black = 3, Date = 4, Event = 5 };

// The reorder dialog's texts.
inline constexpr const char* kReorderTitle = " Reorder Games In Collection";
inline constexpr std::array<const char*, 6> kReorderKeyNames = {"ECO",          "Opening", "White Player",
                                                                "Black Player", "Date",    "Event"};
inline constexpr const char* kReorderDescending = "In descending order";

// A game's key text: the field, with Date falling back to EventDate.
std::string_view ReorderKeyText(const GameHeader& header, ReorderKey key);

// Sorts the games by the key, stable: games with equal keys keep their
// order. Ascending puts empty keys first, descending last; non-empty keys
// compare by the collation of `locale` (case-sensitive). The current game
// stays current. Refuses, with a report, when the key (for Date the Date
// field itself) is empty in every game. Returns whether it sorted.
bool ReorderGames(Collection& collection, ReorderKey key, bool descending, const std::locale& locale);
// The same with the user's locale (the environment's; "C" when it names
// none that the system has).
bool ReorderGames(Collection& collection, ReorderKey key, bool descending);

// The user's locale for collation.
const std::locale& UserCollationLocale();

}  // namespace varnock
