// What a list window keeps in its 72-byte layout record: its rectangle
// (left, top, right, bottom; right and bottom one past the window), then up
// to 14 column widths, every value a little-endian 32-bit integer. A width
// of 0 ends the widths.
#pragma once

#include <vector>

#include "settings/Records.h"

namespace varnock {

struct ListLayout {
  static constexpr std::size_t kMostColumns = 14;
  RecordRect rect;
  std::vector<int> widths;  // positive, at most kMostColumns
};

DialogLayout ToDialogLayout(const ListLayout& layout);
// The layout a record holds: widths up to the first that is not positive.
ListLayout ListLayoutOf(const DialogLayout& record);

}  // namespace varnock
