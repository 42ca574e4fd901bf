#include "collection/Statistics.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "core/Format.h"

namespace varnock {

namespace {

std::string_view Field(const SGridFrame& game, HeaderField field) { return game.header.Get(field); }

std::string ScoreText(int halfPoints, int finishedGames) {
  if (finishedGames <= 0) return {};
  return Format("%0.2f", halfPoints * 0.5 / finishedGames);
}

template <typename Test>
bool AnyGame(const Collection& collection, Test test) {
  for (std::size_t i = 0; i < collection.Count(); ++i)
    if (test(collection.Game(i))) return true;
  return false;
}

}  // namespace

GameResult ResultOf(std::string_view result) {
  if (result == "1-0") return GameResult::WhiteWon;
  if (result == "1/2-1/2") return GameResult::Drawn;
  if (result == "0-1") return GameResult::BlackWon;
  return GameResult::Unfinished;
}

std::vector<SOpening> BuildOpenings(const Collection& collection) {
  // The header texts stay in place while the rows are counted; the rows take
  // copies at the end.
  std::map<std::pair<std::string_view, std::string_view>, SOpening> rows;
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    const SGridFrame& game = collection.Game(i);
    SOpening& row = rows[{Field(game, HeaderField::ECO), Field(game, HeaderField::Opening)}];
    ++row.games;
    switch (ResultOf(Field(game, HeaderField::Result))) {
      case GameResult::WhiteWon:
        row.whitePoints += 2;
        break;
      case GameResult::Drawn:
        row.whitePoints += 1;
        break;
      case GameResult::BlackWon:
        break;
      case GameResult::Unfinished:
        ++row.unfinished;
        break;
    }
  }
  std::vector<SOpening> list;
  list.reserve(rows.size());
  for (auto& [key, row] : rows) {
    row.eco = key.first;
    row.opening = key.second;
    list.push_back(std::move(row));
  }
  return list;
}

std::vector<SEvent> BuildEvents(const Collection& collection) {
  std::map<std::tuple<std::string_view, std::string_view, std::string_view>, int> rows;
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    const SGridFrame& game = collection.Game(i);
    ++rows[{Field(game, HeaderField::Event), Field(game, HeaderField::Site), Field(game, HeaderField::EventDate)}];
  }
  std::vector<SEvent> list;
  list.reserve(rows.size());
  for (const auto& [key, games] : rows)
    list.push_back(
        SEvent{games, std::string(std::get<0>(key)), std::string(std::get<1>(key)), std::string(std::get<2>(key))});
  return list;
}

std::vector<SPlayer> BuildPlayers(const Collection& collection) {
  std::unordered_map<std::string_view, std::size_t> index;
  std::vector<SPlayer> rows;
  auto rowOf = [&](std::string_view name) -> SPlayer& {
    auto [it, added] = index.try_emplace(name, rows.size());
    if (added) rows.push_back(SPlayer{.name = std::string(name)});
    return rows[it->second];
  };
  for (std::size_t i = 0; i < collection.Count(); ++i) {
    const SGridFrame& game = collection.Game(i);
    const std::string_view white = Field(game, HeaderField::White), black = Field(game, HeaderField::Black);
    if (white.empty() && black.empty()) continue;
    rowOf(white);
    rowOf(black);
    if (white == black) continue;  // both rows exist; nothing is counted
    SPlayer& w = rows[index[white]];
    SPlayer& b = rows[index[black]];
    ++w.gamesAsWhite;
    ++b.gamesAsBlack;
    switch (ResultOf(Field(game, HeaderField::Result))) {
      case GameResult::WhiteWon:
        w.whitePoints += 2;
        break;
      case GameResult::Drawn:
        w.whitePoints += 1;
        b.blackPoints += 1;
        break;
      case GameResult::BlackWon:
        b.blackPoints += 2;
        break;
      case GameResult::Unfinished:
        ++w.unfinishedAsWhite;
        ++b.unfinishedAsBlack;
        break;
    }
  }
  // Unsigned byte order of the names, a prefix first: std::string's order.
  std::sort(rows.begin(), rows.end(), [](const SPlayer& a, const SPlayer& b) { return a.name < b.name; });
  return rows;
}

std::string WhiteScoreText(const SOpening& row) { return ScoreText(row.whitePoints, row.games - row.unfinished); }

std::string WhiteScoreText(const SPlayer& row) {
  return ScoreText(row.whitePoints, row.gamesAsWhite - row.unfinishedAsWhite);
}

std::string BlackScoreText(const SPlayer& row) {
  return ScoreText(row.blackPoints, row.gamesAsBlack - row.unfinishedAsBlack);
}

bool CmEvents(const Collection& collection, UserPrompt& prompt) {
  if (AnyGame(collection, [](const SGridFrame& game) {
        return !Field(game, HeaderField::Event).empty() || !Field(game, HeaderField::Site).empty() ||
               !Field(game, HeaderField::EventDate).empty();
      }))
    return true;
  prompt.Inform("FrameWin::CmEvents()", "No event information could be found for any of the games in the collection.");
  return false;
}

bool CmOpenings(const Collection& collection, UserPrompt& prompt) {
  if (AnyGame(collection, [](const SGridFrame& game) { return !Field(game, HeaderField::Opening).empty(); }))
    return true;
  prompt.Inform("FrameWin::CmOpenings()", "No openings could be found for any of the games in the collection.");
  return false;
}

bool CmPlayers(const Collection& collection, UserPrompt& prompt) {
  if (AnyGame(collection, [](const SGridFrame& game) {
        return !Field(game, HeaderField::White).empty() || !Field(game, HeaderField::Black).empty();
      }))
    return true;
  prompt.Inform("FrameWin::CmPlayers()", "No players could be found");
  return false;
}

}  // namespace varnock
