#include "openings/EcoCommands.h"

#include <string>

#include "core/Format.h"

namespace varnock {

namespace {

const char* Games(int count) { return count == 1 ? "game" : "games"; }

}  // namespace

int CmFetchAllECO(EcoCollection& collection, EcoDatabase& database, EcoMethod method, UserPrompt& prompt,
                  std::string* reportOut) {
  constexpr const char* kCaption = "FrameWin::CmFetchAllECO()";
  const int total = collection.GameCount();

  int unloaded = 0;
  for (int i = 0; i < total; ++i)
    if (!collection.Game(i).loaded) ++unloaded;
  if (unloaded > 0) {
    std::string question = Format(
        "%d games in the collection have not yet been loaded from the rollback segment.  All will need to be loaded "
        "so that ECO classifications can be obtained.\r\n\r\nLoad all %d games?",
        unloaded, unloaded);
    if (unloaded > 10000) question += "\r\n\r\n( This may take some time. )";
    if (!prompt.AskOkCancel(kCaption, question)) return 0;

    int done = 0;
    for (int i = 0; i < total; ++i) {
      SGridFrame& game = collection.Game(i);
      if (game.loaded) continue;
      collection.EnsureLoaded(game);
      collection.Progress(++done, unloaded);
    }
    collection.ShowLoadErrors();
  }

  collection.RefreshBoard();
  StartECODatabase(database, prompt);

  int changed = 0;
  for (int i = 0; i < total; ++i)
    if (FetchECO(collection.Game(i), total <= 1, i + 1, method, database, prompt)) ++changed;

  const int unchanged = total - changed;
  std::string report;
  if (changed > 0) {
    collection.MarkModified();
    if (changed == 1)
      report =
          Format("ECO classification for one game was fetched\r\n\r\nUnchanged: %d %s", unchanged, Games(unchanged));
    else
      report = Format("ECO classifications for %d games were fetched\r\n\r\nUnchanged: %d %s", changed, unchanged,
                      Games(unchanged));
  } else {
    report = Format("Unchanged ECO classifications.  %d %s", unchanged, Games(unchanged));
  }
  prompt.Inform(kCaption, report);
  if (reportOut) *reportOut = report;
  return changed;
}

int CmFoldersECO(EcoCollection& collection, std::span<const SelectedGame> selection, EcoDatabase& database,
                 EcoMethod method, UserPrompt& prompt) {
  if (selection.empty()) return 0;
  const bool single = selection.size() == 1;

  int changed = 0, loads = 0;
  for (const SelectedGame& selected : selection) {
    if (!StartECODatabase(database, prompt) || selected.game == nullptr) continue;
    SGridFrame& game = *selected.game;
    if (!game.loaded) {
      collection.EnsureLoaded(game);
      ++loads;
    }
    if (FetchECO(game, single, selected.item + 1, method, database, prompt)) ++changed;
  }
  collection.ShowLoadErrors();

  const int unchanged = static_cast<int>(selection.size()) - changed;
  std::string report;
  if (changed > 0) {
    collection.RepaintList();
    collection.MarkModified();
    if (!single)
      report = Format("ECO classifications for %d %s fetched\r\n\r\nUnchanged: %d %s", changed,
                      changed == 1 ? "game was" : "games were", unchanged, Games(unchanged));
  } else if (!single) {
    report = Format("Unchanged ECO classifications.  %d %s", unchanged, Games(unchanged));
  }
  if (!report.empty()) {
    if (loads > 0) report += Format("\r\n\r\n%d games were loaded from the rollback segment.", loads);
    prompt.Inform("SListCtrl::CmFoldersECO()", report);
  }
  return changed;
}

}  // namespace varnock
