// Erasing the games of the rows selected in a list window, or keeping only
// them.
#pragma once

#include <vector>

#include "collection/CollectionList.h"

namespace varnock {

// Removes the games of the selected rows of `list` (keep = false) or of the
// rows not selected (keep = true), after asking. The list is rebuilt; the
// other open statistics lists recompute their rows. Returns the number of
// games marked for removal (0 when the user declined or nothing was
// selected), or -1 when the working memory could not be had. Sets
// `closeWindow` when the rebuilt list is empty.
int ExcludeSelected(CollectionList& list, bool keep, const std::vector<CollectionList*>& otherLists,
                    bool* closeWindow = nullptr);

// Removes every game marked `selected`, in list order. When the current game
// goes, the first following game that stays becomes current (the last one
// when none follows); an emptied collection gets one empty game. Returns the
// number of games removed.
int RemoveSelectedGames(Collection& collection);

}  // namespace varnock
