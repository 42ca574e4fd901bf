// The contents of one list window over a collection: the games list, or one
// of the statistics lists (openings, events, players), with its rows, their
// cells and the rows the user selected. Works from the game headers alone.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "collection/FileCommands.h"
#include "collection/Statistics.h"

namespace varnock {

enum class ListKind { Games = 0, Openings = 1, Events = 2, Players = 3 };

// What a games list opened from a statistics list shows: the games of the
// rows selected there. A filter from the games kind shows every game.
struct GamesFilter {
  ListKind from = ListKind::Games;
  std::vector<SOpening> openings;
  std::vector<SEvent> events;
  std::vector<SPlayer> players;  // only players with counted games
  bool byTransposition = false;  // the openings list's mode, passed on

  bool Matches(const GameHeader& header) const;
  // The window title: " Collection Information" without a filter.
  std::string Title() const;
};

class CollectionList {
 public:
  CollectionList(Collection& collection, ListKind kind, GamesFilter filter = {});

  ListKind Kind() const { return kind_; }
  Collection& Games() { return collection_; }
  std::string Title() const;

  // Recomputes the rows from the collection and clears the selection; a
  // games list selects the current game's row when it is listed.
  void Rebuild();
  std::size_t RowCount() const;
  // The headings and the cells of a row; the first, untitled column holds
  // the 1-based row number. `firstUse`: no column widths stored yet.
  std::vector<std::string> Headings(bool firstUse = false) const;
  std::vector<std::string> Cells(std::size_t row) const;

  // The rows; only those of the list's kind are filled.
  const std::vector<std::size_t>& GamePlaces() const { return gamePlaces_; }  // 0-based places
  const std::vector<SOpening>& Openings() const { return openings_; }
  const std::vector<SEvent>& Events() const { return events_; }
  const std::vector<SPlayer>& Players() const { return players_; }

  // One flag per row.
  std::vector<bool> selected;
  std::size_t SelectedCount() const;
  void SelectOnly(std::size_t row);

  // The filter of a games list showing the selected rows' games.
  GamesFilter FilterOfSelection() const;
  // Clears every game's `selected` mark and marks the games of the selected
  // rows; returns how many were marked.
  int MarkSelectedRowsGames();

  // The openings list shows one of the two classifications in its title.
  bool byTransposition = false;

 private:
  Collection& collection_;
  ListKind kind_;
  GamesFilter filter_;
  std::vector<std::size_t> gamePlaces_;
  std::vector<SOpening> openings_;
  std::vector<SEvent> events_;
  std::vector<SPlayer> players_;
};

// Exports the games of the selected rows (the main window's Export of the
// marked games) when there are any.
void ExportSelectedRows(CollectionList& list, FileCommands& files);

// Reverses the order of the collection's games; the current game stays
// current and the games list keeps its selection on the same games. The
// modified flag is left as it was.
void ReverseCollectionsList(CollectionList& gamesList);

// Whether a game belongs to a statistics row (exact, case-sensitive).
bool GameOfOpening(const GameHeader& header, const SOpening& row);
bool GameOfEvent(const GameHeader& header, const SEvent& row);
bool GameOfPlayer(const GameHeader& header, const std::string& name);

}  // namespace varnock
