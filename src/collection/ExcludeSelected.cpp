#include "collection/ExcludeSelected.h"

#include <algorithm>
#include <new>
#include <optional>

#include "core/Format.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "ExcludeSelected()";

std::string Question(ListKind kind, bool keep, int collected) {
  const bool one = collected < 2;
  switch (kind) {
    case ListKind::Games:
      if (keep)
        return Format(
            "Warning.\nAbout to remove the 'other' games ( %d in total ) from the collection.\n\nDo you wish to "
            "continue?",
            collected);
      if (one) return "Warning.\nAbout to remove the selected game from the collection.\n\nDo you wish to continue?";
      return Format(
          "Warning.\nAbout to remove the selected games ( %d in total ) from the collection.\n\nDo you wish to "
          "continue?",
          collected);
    case ListKind::Openings:
      if (keep)
        return Format("Warning.\nAbout to remove the games of the 'other' openings ( %d ).\n\nDo you wish to continue?",
                      collected);
      if (one) return "Warning.\nAbout to remove the games of the selected opening.\n\nDo you wish to continue?";
      return Format(
          "Warning.\nAbout to remove the games of the selected openings ( %d openings ).\n\nDo you wish to continue?",
          collected);
    case ListKind::Events:
      if (keep) return "Warning.\nAbout to remove the 'other' event games.\n\nDo you wish to continue?";
      if (one) return "Warning.\nAbout to remove the event games.\n\nDo you wish to continue?";
      return Format("Warning.\nAbout to remove the event games ( %d events ).\n\nDo you wish to continue?", collected);
    case ListKind::Players:
      if (keep) return "Warning.\nAbout to remove the 'other' players games.\n\nDo you wish to continue?";
      if (one) return "Warning.\nAbout to remove the player games.\n\nDo you wish to continue?";
      return Format("Warning.\nAbout to remove the players' games ( %d players ).\n\nDo you wish to continue?",
                    collected);
  }
  return {};
}

bool AnyOf(const std::vector<std::size_t>& rows, auto test) {
  for (std::size_t row : rows)
    if (test(row)) return true;
  return false;
}

// Marks the games to remove; returns how many.
int MarkGames(CollectionList& list, bool keep, const std::vector<std::size_t>& collected,
              const std::vector<std::size_t>& chosen) {
  Collection& collection = list.Games();
  int marked = 0;
  auto mark = [&](SGridFrame& game) {
    if (!game.selected) ++marked;
    game.selected = true;
  };
  if (list.Kind() == ListKind::Games) {
    for (std::size_t row : collected)
      if (list.GamePlaces()[row] < collection.Count()) mark(collection.Game(list.GamePlaces()[row]));
    return marked;
  }
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    SGridFrame& game = collection.Game(i);
    const GameHeader& h = game.header;
    bool remove = false;
    switch (list.Kind()) {
      case ListKind::Games:
        break;
      case ListKind::Openings: {
        auto ofRow = [&](std::size_t row) { return GameOfOpening(h, list.Openings()[row]); };
        remove = AnyOf(collected, ofRow);
        // Keeping also drops the games without an opening name, but never
        // those of a row the user chose to keep.
        if (keep && h.Get(HeaderField::Opening).empty() && !AnyOf(chosen, ofRow)) remove = true;
        break;
      }
      case ListKind::Events: {
        auto ofRow = [&](std::size_t row) { return GameOfEvent(h, list.Events()[row]); };
        remove = AnyOf(collected, ofRow);
        const bool incomplete = h.Get(HeaderField::Event).empty() || h.Get(HeaderField::Site).empty() ||
                                h.Get(HeaderField::EventDate).empty();
        if (keep && incomplete && !AnyOf(chosen, ofRow)) remove = true;
        break;
      }
      case ListKind::Players: {
        const bool ofCollected =
            AnyOf(collected, [&](std::size_t row) { return GameOfPlayer(h, list.Players()[row].name); });
        remove = keep ? !ofCollected : ofCollected;
        break;
      }
    }
    if (remove) mark(game);
  }
  return marked;
}

}  // namespace

int RemoveSelectedGames(Collection& collection) {
  std::vector<std::size_t> places;
  for (std::size_t i = 0; i < collection.Count(); ++i)
    if (collection.Game(i).selected) places.push_back(i);
  if (places.empty()) return 0;
  const std::size_t current = collection.CurrentPosition();
  const bool currentGoes = collection.Game(current).selected;
  // The game that becomes current, counted among the games that stay.
  std::size_t newCurrent = 0, staying = 0;
  bool found = false;
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    if (collection.Game(i).selected) continue;
    if ((currentGoes && i > current) || (!currentGoes && i == current)) {
      if (!found) newCurrent = staying;
      found = true;
    }
    ++staying;
  }
  if (!found) newCurrent = staying == 0 ? 0 : staying - 1;
  if (!currentGoes && collection.views) collection.CurrentGame().treeViewTop = collection.views->GameTextTop();
  const int removed = static_cast<int>(places.size());
  collection.RemoveGames(places);  // keeps one game; releases empty pool segments
  collection.modified = true;
  collection.SelectGame(newCurrent, false);
  return removed;
}

int ExcludeSelected(CollectionList& list, bool keep, const std::vector<CollectionList*>& otherLists,
                    bool* closeWindow) {
  if (closeWindow) *closeWindow = false;
  UserPrompt& prompt = list.Games().Prompt();
  Collection& collection = list.Games();
  const std::size_t rows = list.RowCount(), s = list.SelectedCount();
  if (s == 0) {
    prompt.Inform(kCaption, "No records have been selected");
    return 0;
  }
  if (keep && s == rows) {
    prompt.Inform(kCaption, "All records have been selected");
    return 0;
  }
  std::vector<std::size_t> collected, chosen;
  try {
    for (std::size_t row = 0; row < rows; ++row) {
      const bool isSelected = row < list.selected.size() && list.selected[row];
      if (isSelected) chosen.push_back(row);
      const bool collect = (keep && list.Kind() != ListKind::Players) ? !isSelected : isSelected;
      if (collect) collected.push_back(row);
    }
  } catch (const std::bad_alloc&) {
    prompt.Inform(kCaption, "Unable to allocate memory for exclude operation");
    return -1;
  }
  // The games list keeps its place: the last unselected game before the
  // first collected row. Only later games go, so its place stays.
  std::optional<std::size_t> remembered;
  if (list.Kind() == ListKind::Games && !collected.empty())
    for (std::size_t row = 0; row < collected.front(); ++row)
      if (row >= list.selected.size() || !list.selected[row]) remembered = list.GamePlaces()[row];

  const bool yes = prompt.AskYesNo(kCaption, Question(list.Kind(), keep, static_cast<int>(collected.size())));
  for (std::size_t i = 0; i < collection.Count(); ++i) collection.Game(i).selected = false;
  if (!yes) return 0;

  const int marked = MarkGames(list, keep, collected, chosen);
  const std::size_t before = collection.Count();
  RemoveSelectedGames(collection);
  const std::size_t after = collection.Count();
  list.Rebuild();
  if (list.Kind() == ListKind::Games && list.RowCount() > 0) {
    // The row after the remembered game; the first row when none was.
    std::size_t row = 0;
    if (remembered)
      for (std::size_t r = 0; r < list.GamePlaces().size(); ++r)
        if (list.GamePlaces()[r] <= *remembered) row = r + 1;
    list.SelectOnly(std::min(row, list.RowCount() - 1));
  }
  if (before - after > 1 && after > 1)
    prompt.Inform(kCaption, Format("Number of games removed = %d", static_cast<int>(before - after)));
  for (CollectionList* other : otherLists)
    if (other && other != &list) other->Rebuild();
  if (list.RowCount() == 0) {
    prompt.Inform(kCaption, "Final item in the list has been deleted.");
    if (closeWindow) *closeWindow = true;
  }
  return marked;
}

}  // namespace varnock
