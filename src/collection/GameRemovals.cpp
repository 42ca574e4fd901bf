#include "collection/GameRemovals.h"

#include <algorithm>

namespace varnock {

void CmCollDelete(Collection& collection) {
  if (collection.Count() < 2) return;
  if (!collection.Prompt().AskYesNo(
          "CmCollDelete()",
          "Warning.\nAbout to remove the current game from the collection.\n\nDo you wish to continue?"))
    return;
  const std::size_t place = collection.CurrentPosition();
  collection.RemoveGames({place});  // destroys it and releases empty pool segments
  collection.modified = true;
  collection.SelectGame(std::min(place, collection.Count() - 1), false);
}

void CmCollEmpty(Collection& collection) {
  const char* question = collection.modified
                             ? "Unsaved changes will be lost.\r\nDo you wish to create an empty collection?"
                             : "Create an empty collection?";
  if (!collection.Prompt().AskYesNo("CmCollEmpty()", question)) return;
  collection.NewCollection();  // one new game, no file name, not modified
  collection.SelectGame(0, false);
}

}  // namespace varnock
