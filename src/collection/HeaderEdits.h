// Changing header fields across a collection: the event of every game, the
// details of one event, a player's name, and one game's information.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "collection/CollectionList.h"

namespace varnock {

// Event, Site and EventDate, as the event dialogs edit them.
struct EventDetails {
  std::string event;
  std::string site;
  std::string eventDate;
};

inline constexpr const char* kSetEventTitle = " Set Event Information";

// Sets Event, Site and EventDate of every game (loaded or not) and reports.
void CmSetEvent(Collection& collection, const EventDetails& details);

// The event dialog: shown with the present details, it gives the new ones,
// or nothing when cancelled.
using EventDialog = std::function<std::optional<EventDetails>(const EventDetails&)>;
// The name dialog: shown with the player's name, it gives the new one.
using NameDialog = std::function<std::optional<std::string>(const std::string&)>;

// What a bulk edit did: the number of edits and the report shown.
struct EditOutcome {
  int edits = 0;
  std::string report;  // empty when nothing was asked or reported
};

// From the events list: gives every game of the first selected event the
// details the dialog returns. When a game changed, the list is rebuilt and
// the other open lists recompute their rows.
EditOutcome EditEventDetails(CollectionList& events, const EventDialog& dialog,
                             const std::vector<CollectionList*>& otherLists = {});
// From the players list: renames the first selected player in every game,
// one edit per side (a game he played against himself counts two); the
// lists are rebuilt as above.
EditOutcome EditPlayerNames(CollectionList& players, const NameDialog& dialog,
                            const std::vector<CollectionList*>& otherLists = {});
// The same for a name given directly.
EditOutcome RenamePlayer(Collection& collection, const std::string& oldName, const std::string& newName);

// The game information dialog: the sixteen header fields in their fixed
// order, and the game's tags the header does not model (read-only).
struct GameInformation {
  std::array<std::string, kHeaderFieldCount> fields;
  std::string extraTags;
};
inline constexpr const char* kGameInformationTitle = " Game Information";
inline constexpr const char* kExtraTagsLabel = "Extra PGN Tags";
// The dialog's label of a field ("Place" for Site); the ratings share
// "Ratings" and ECO has none.
std::string GameInformationLabel(HeaderField field);

GameInformation ReadGameInformation(const Collection& collection, const SGridFrame& game);
// Accepting the dialog: when any field differs, all sixteen are stored, the
// game's header and the collection are marked changed, and the window is
// refreshed when the game is the one shown. Returns whether anything changed.
bool AcceptGameInformation(Collection& collection, SGridFrame& game,
                           const std::array<std::string, kHeaderFieldCount>& fields);

}  // namespace varnock
