#include "collection/CollectionList.h"

#include <algorithm>
#include <numeric>

#include "core/Format.h"

namespace varnock {

namespace {

std::string Count(int n) { return Format("%d", n); }

std::string RowNumber(std::size_t row) { return Format("%d", static_cast<int>(row + 1)); }

template <typename Row, typename Describe>
std::string FilterTitle(const std::vector<Row>& rows, Describe describe) {
  if (rows.empty()) return {};
  if (rows.size() == 1) return describe(rows.front());
  return describe(rows.front()) + Format(", ... ( %d )", static_cast<int>(rows.size()));
}

}  // namespace

bool GameOfOpening(const GameHeader& header, const SOpening& row) {
  return header.Get(HeaderField::ECO) == row.eco && header.Get(HeaderField::Opening) == row.opening;
}

bool GameOfEvent(const GameHeader& header, const SEvent& row) {
  return header.Get(HeaderField::Event) == row.event && header.Get(HeaderField::Site) == row.site &&
         header.Get(HeaderField::EventDate) == row.eventDate;
}

bool GameOfPlayer(const GameHeader& header, const std::string& name) {
  return header.Get(HeaderField::White) == name || header.Get(HeaderField::Black) == name;
}

bool GamesFilter::Matches(const GameHeader& header) const {
  switch (from) {
    case ListKind::Games:
      return true;
    case ListKind::Openings:
      return std::any_of(openings.begin(), openings.end(),
                         [&](const SOpening& row) { return GameOfOpening(header, row); });
    case ListKind::Events:
      return std::any_of(events.begin(), events.end(), [&](const SEvent& row) { return GameOfEvent(header, row); });
    case ListKind::Players:
      return std::any_of(players.begin(), players.end(),
                         [&](const SPlayer& row) { return GameOfPlayer(header, row.name); });
  }
  return false;
}

std::string GamesFilter::Title() const {
  switch (from) {
    case ListKind::Games:
      break;
    case ListKind::Openings:
      return FilterTitle(openings, [](const SOpening& row) { return row.eco + " " + row.opening; });
    case ListKind::Events:
      return FilterTitle(events, [](const SEvent& row) { return row.event + " - " + row.site; });
    case ListKind::Players:
      return FilterTitle(players, [](const SPlayer& row) { return row.name; });
  }
  return " Collection Information";
}

CollectionList::CollectionList(Collection& collection, ListKind kind, GamesFilter filter)
    : byTransposition(filter.byTransposition), collection_(collection), kind_(kind), filter_(std::move(filter)) {
  Rebuild();
}

std::string CollectionList::Title() const {
  switch (kind_) {
    case ListKind::Games:
      return filter_.Title();
    case ListKind::Openings:
      return byTransposition ? " Openings Statistics ( by Transposition )" : " Openings Statistics ( by Move Order )";
    case ListKind::Events:
      return " Event Statistics";
    case ListKind::Players:
      return " Players Statistics";
  }
  return {};
}

void CollectionList::Rebuild() {
  gamePlaces_.clear();
  openings_.clear();
  events_.clear();
  players_.clear();
  switch (kind_) {
    case ListKind::Games:
      for (std::size_t i = 0; i < collection_.Count(); ++i)
        if (filter_.Matches(collection_.Game(i).header)) gamePlaces_.push_back(i);
      break;
    case ListKind::Openings:
      openings_ = BuildOpenings(collection_);
      break;
    case ListKind::Events:
      events_ = BuildEvents(collection_);
      break;
    case ListKind::Players:
      players_ = BuildPlayers(collection_);
      break;
  }
  selected.assign(RowCount(), false);
  if (kind_ == ListKind::Games) {
    auto it = std::find(gamePlaces_.begin(), gamePlaces_.end(), collection_.CurrentPosition());
    if (it != gamePlaces_.end()) selected[static_cast<std::size_t>(it - gamePlaces_.begin())] = true;
  }
}

std::size_t CollectionList::RowCount() const {
  switch (kind_) {
    case ListKind::Games:
      return gamePlaces_.size();
    case ListKind::Openings:
      return openings_.size();
    case ListKind::Events:
      return events_.size();
    case ListKind::Players:
      return players_.size();
  }
  return 0;
}

std::vector<std::string> CollectionList::Headings(bool firstUse) const {
  switch (kind_) {
    case ListKind::Games:
      return {"",       "White", "Black",  "WR",    "BR",   "ECO",    "Opening",
              "Result", "Event", "Number", "Place", "Date", "Comment"};
    case ListKind::Openings:
      return {"", "ECO", "Opening", "Number", firstUse ? "Score" : "White Score", "Unfinished"};
    case ListKind::Events:
      return {"", "Event", "Place", "Date", "Number"};
    case ListKind::Players:
      return {"", "Player", "White", "Black", "White Score", "Black Score", "Unfinished"};
  }
  return {};
}

std::vector<std::string> CollectionList::Cells(std::size_t row) const {
  if (row >= RowCount()) return {};
  switch (kind_) {
    case ListKind::Games: {
      const GameHeader& h = collection_.Game(gamePlaces_[row]).header;
      auto get = [&](HeaderField field) { return std::string(h.Get(field)); };
      const std::string date = h.Get(HeaderField::Date).empty() ? get(HeaderField::EventDate) : get(HeaderField::Date);
      return {RowNumber(row),
              get(HeaderField::White),
              get(HeaderField::Black),
              get(HeaderField::WhiteELO),
              get(HeaderField::BlackELO),
              get(HeaderField::ECO),
              get(HeaderField::Opening),
              get(HeaderField::Result),
              get(HeaderField::Event),
              get(HeaderField::Board),
              get(HeaderField::Site),
              date,
              get(HeaderField::GameComment)};
    }
    case ListKind::Openings: {
      const SOpening& r = openings_[row];
      return {RowNumber(row), r.eco, r.opening, Count(r.games), WhiteScoreText(r), Count(r.unfinished)};
    }
    case ListKind::Events: {
      const SEvent& r = events_[row];
      return {RowNumber(row), r.event, r.site, r.eventDate, Count(r.games)};
    }
    case ListKind::Players: {
      const SPlayer& r = players_[row];
      return {RowNumber(row),
              r.name,
              Count(r.gamesAsWhite),
              Count(r.gamesAsBlack),
              WhiteScoreText(r),
              BlackScoreText(r),
              Count(r.unfinishedAsWhite + r.unfinishedAsBlack)};
    }
  }
  return {};
}

std::size_t CollectionList::SelectedCount() const {
  const std::size_t rows = std::min(selected.size(), RowCount());
  return static_cast<std::size_t>(
      std::count(selected.begin(), selected.begin() + static_cast<std::ptrdiff_t>(rows), true));
}

void CollectionList::SelectOnly(std::size_t row) {
  selected.assign(RowCount(), false);
  if (row < selected.size()) selected[row] = true;
}

GamesFilter CollectionList::FilterOfSelection() const {
  GamesFilter filter;
  filter.from = kind_;
  filter.byTransposition = byTransposition;
  for (std::size_t row = 0; row < RowCount() && row < selected.size(); ++row) {
    if (!selected[row]) continue;
    if (kind_ == ListKind::Openings) filter.openings.push_back(openings_[row]);
    if (kind_ == ListKind::Events) filter.events.push_back(events_[row]);
    if (kind_ == ListKind::Players && players_[row].HasGames()) filter.players.push_back(players_[row]);
  }
  return filter;
}

int CollectionList::MarkSelectedRowsGames() {
  for (std::size_t i = 0; i < collection_.Count(); ++i) collection_.Game(i).selected = false;
  if (kind_ == ListKind::Games) {
    int marked = 0;
    for (std::size_t row = 0; row < gamePlaces_.size() && row < selected.size(); ++row) {
      if (!selected[row] || gamePlaces_[row] >= collection_.Count()) continue;
      collection_.Game(gamePlaces_[row]).selected = true;
      ++marked;
    }
    return marked;
  }
  GamesFilter filter = FilterOfSelection();
  if (kind_ == ListKind::Players) {
    // Export takes every selected player, counted games or not.
    filter.players.clear();
    for (std::size_t row = 0; row < players_.size() && row < selected.size(); ++row)
      if (selected[row]) filter.players.push_back(players_[row]);
  }
  int marked = 0;
  for (std::size_t i = 0; i < collection_.Count(); ++i) {
    SGridFrame& game = collection_.Game(i);
    if (filter.Matches(game.header)) {
      game.selected = true;
      ++marked;
    }
  }
  return marked;
}

void ExportSelectedRows(CollectionList& list, FileCommands& files) {
  if (list.MarkSelectedRowsGames() > 0) files.Export();
}

void ReverseCollectionsList(CollectionList& gamesList) {
  Collection& collection = gamesList.Games();
  std::vector<bool> selectedGames(collection.Count(), false);
  const std::vector<std::size_t>& places = gamesList.GamePlaces();
  for (std::size_t row = 0; row < places.size() && row < gamesList.selected.size(); ++row)
    if (gamesList.selected[row] && places[row] < selectedGames.size()) selectedGames[places[row]] = true;
  const std::size_t n = collection.Count();
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = n - 1 - i;
  collection.PermuteGames(order);
  gamesList.Rebuild();
  const std::vector<std::size_t>& newPlaces = gamesList.GamePlaces();
  for (std::size_t row = 0; row < newPlaces.size(); ++row)
    gamesList.selected[row] = selectedGames[n - 1 - newPlaces[row]];
}

}  // namespace varnock
