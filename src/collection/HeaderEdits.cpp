#include "collection/HeaderEdits.h"

#include "core/Format.h"
#include "formats/PgnTagSection.h"

namespace varnock {

namespace {

void SetField(SGridFrame& game, HeaderField field, std::string_view value) {
  game.header.Set(field, value);
  game.stateFlags |= kHeaderChanged;
}

void SetEvent(SGridFrame& game, const EventDetails& details) {
  SetField(game, HeaderField::Event, details.event);
  SetField(game, HeaderField::Site, details.site);
  SetField(game, HeaderField::EventDate, details.eventDate);
}

void RebuildLists(CollectionList& list, const std::vector<CollectionList*>& otherLists) {
  list.Rebuild();
  for (CollectionList* other : otherLists)
    if (other && other != &list) other->Rebuild();
}

}  // namespace

void CmSetEvent(Collection& collection, const EventDetails& details) {
  for (std::size_t i = 0; i < collection.Count(); ++i) SetEvent(collection.Game(i), details);
  collection.modified = true;
  if (collection.views) collection.views->Refresh();
  const int n = static_cast<int>(collection.Count());
  collection.Prompt().Inform("FrameWin::CmSetEvent()", n == 1
                                                           ? std::string("Event information for one game was changed")
                                                           : Format("Event information for %d games were changed", n));
}

EditOutcome EditEventDetails(CollectionList& events, const EventDialog& dialog,
                             const std::vector<CollectionList*>& otherLists) {
  EditOutcome outcome;
  if (events.Kind() != ListKind::Events) return outcome;
  std::size_t row = 0;
  while (row < events.RowCount() && !(row < events.selected.size() && events.selected[row])) ++row;
  if (row >= events.RowCount()) return outcome;
  const SEvent record = events.Events()[row];
  const std::optional<EventDetails> details = dialog(EventDetails{record.event, record.site, record.eventDate});
  if (!details) return outcome;
  Collection& collection = events.Games();
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    SGridFrame& game = collection.Game(i);
    if (!GameOfEvent(game.header, record)) continue;
    SetEvent(game, *details);
    ++outcome.edits;
  }
  if (outcome.edits > 0) {
    collection.modified = true;
    RebuildLists(events, otherLists);
    if (collection.views) collection.views->Refresh();
    outcome.report = Format("%d event %s made", outcome.edits, outcome.edits == 1 ? "edit was" : "edits were");
  } else {
    outcome.report = "No event edits were made";
  }
  collection.Prompt().Inform("SListCtrl::EditEventDetails()", outcome.report);
  return outcome;
}

EditOutcome RenamePlayer(Collection& collection, const std::string& oldName, const std::string& newName) {
  EditOutcome outcome;
  if (oldName.empty() || newName.empty()) return outcome;
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    SGridFrame& game = collection.Game(i);
    for (HeaderField side : {HeaderField::White, HeaderField::Black}) {
      if (game.header.Get(side) != oldName) continue;
      SetField(game, side, newName);
      ++outcome.edits;
    }
  }
  if (outcome.edits > 0) {
    collection.modified = true;
    if (collection.views) collection.views->Refresh();
    outcome.report = Format("%d player name %s made.\r\n\r\nFrom\t'%s'\r\nto\t'%s'", outcome.edits,
                            outcome.edits == 1 ? "edit was" : "edits were", oldName.c_str(), newName.c_str());
  } else {
    outcome.report = "No player name edits were made";
  }
  collection.Prompt().Inform("SListCtrl::EditPlayerNames()", outcome.report);
  return outcome;
}

EditOutcome EditPlayerNames(CollectionList& players, const NameDialog& dialog,
                            const std::vector<CollectionList*>& otherLists) {
  if (players.Kind() != ListKind::Players) return {};
  std::size_t row = 0;
  while (row < players.RowCount() && !(row < players.selected.size() && players.selected[row])) ++row;
  if (row >= players.RowCount()) return {};
  const std::string oldName = players.Players()[row].name;
  if (oldName.empty()) return {};
  const std::optional<std::string> newName = dialog(oldName);
  if (!newName || newName->empty()) return {};
  EditOutcome outcome = RenamePlayer(players.Games(), oldName, *newName);
  if (outcome.edits > 0) RebuildLists(players, otherLists);
  return outcome;
}

std::string GameInformationLabel(HeaderField field) {
  switch (field) {
    case HeaderField::White:
      return "White";
    case HeaderField::Black:
      return "Black";
    case HeaderField::Result:
      return "Result";
    case HeaderField::Opening:
      return "Opening";
    case HeaderField::Event:
      return "Event";
    case HeaderField::EventDate:
      return "Event Date";
    case HeaderField::Board:
      return "Board";
    case HeaderField::Round:
      return "Round";
    case HeaderField::TimeControl:
      return "Time Control";
    case HeaderField::Date:
      return "Date";
    case HeaderField::GameComment:
      return "Game Description";
    case HeaderField::Site:
      return "Place";
    case HeaderField::Annotator:
      return "Annotated by";
    case HeaderField::WhiteELO:
    case HeaderField::BlackELO:
      return "Ratings";
    case HeaderField::ECO:
      return "";
  }
  return "";
}

GameInformation ReadGameInformation(const Collection& collection, const SGridFrame& game) {
  GameInformation info;
  for (int f = 0; f < kHeaderFieldCount; ++f)
    info.fields[static_cast<std::size_t>(f)] = game.header.Get(static_cast<HeaderField>(f));
  if ((game.stateFlags & kFromFileText) && game.textLength != 0 && collection.rollback.present &&
      collection.fileType == kFilePgn) {
    const std::string_view text = GameTextOf(game, collection.rollback.text.view());
    if (!text.empty()) CopyTagsNotModelled(info.extraTags, text);
  }
  return info;
}

bool AcceptGameInformation(Collection& collection, SGridFrame& game,
                           const std::array<std::string, kHeaderFieldCount>& fields) {
  bool differs = false;
  for (int f = 0; f < kHeaderFieldCount && !differs; ++f)
    differs = game.header.Get(static_cast<HeaderField>(f)) != fields[static_cast<std::size_t>(f)];
  if (!differs) return false;
  for (int f = 0; f < kHeaderFieldCount; ++f)
    game.header.Set(static_cast<HeaderField>(f), fields[static_cast<std::size_t>(f)]);
  game.stateFlags |= kHeaderChanged;
  collection.modified = true;
  if (&collection.CurrentGame() == &game && collection.views) collection.views->Refresh();
  return true;
}

}  // namespace varnock
