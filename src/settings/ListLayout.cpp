#include "settings/ListLayout.h"

namespace varnock {

namespace {

void Put(DialogLayout& record, std::size_t index, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) record.bytes[4 * index + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t Get(const DialogLayout& record, std::size_t index) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= std::uint32_t{record.bytes[4 * index + i]} << (8 * i);
  return static_cast<std::int32_t>(bits);
}

}  // namespace

DialogLayout ToDialogLayout(const ListLayout& layout) {
  DialogLayout record;
  Put(record, 0, layout.rect.left);
  Put(record, 1, layout.rect.top);
  Put(record, 2, layout.rect.right);
  Put(record, 3, layout.rect.bottom);
  for (std::size_t i = 0; i < layout.widths.size() && i < ListLayout::kMostColumns && layout.widths[i] > 0; ++i)
    Put(record, 4 + i, layout.widths[i]);
  return record;
}

ListLayout ListLayoutOf(const DialogLayout& record) {
  ListLayout layout;
  layout.rect = {Get(record, 0), Get(record, 1), Get(record, 2), Get(record, 3)};
  for (std::size_t i = 0; i < ListLayout::kMostColumns; ++i) {
    const std::int32_t width = Get(record, 4 + i);
    if (width <= 0) break;
    layout.widths.push_back(width);
  }
  return layout;
}

}  // namespace varnock
