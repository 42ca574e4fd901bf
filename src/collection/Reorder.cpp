#include "collection/Reorder.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/Format.h"

namespace varnock {

namespace {

constexpr const char* kCaption = "FrameWin::ReorderGames()";
constexpr std::array<const char*, 6> kKeyWords = {"ECO", "opening", "white player", "black player", "date", "event"};

HeaderField FieldOf(ReorderKey key) {
  switch (key) {
    case ReorderKey::ECO:
      return HeaderField::ECO;
    case ReorderKey::Opening:
      return HeaderField::Opening;
    case ReorderKey::White:
      return HeaderField::White;
    case ReorderKey::Black:
      return HeaderField::Black;
    case ReorderKey::Date:
      return HeaderField::Date;
    case ReorderKey::Event:
      return HeaderField::Event;
  }
  return HeaderField::ECO;
}

}  // namespace

std::string_view ReorderKeyText(const GameHeader& header, ReorderKey key) {
  std::string_view text = header.Get(FieldOf(key));
  if (key == ReorderKey::Date && text.empty()) text = header.Get(HeaderField::EventDate);
  return text;
}

const std::locale& UserCollationLocale() {
  static const std::locale locale = [] {
    try {
      return std::locale("");
    } catch (const std::exception&) {
      return std::locale::classic();
    }
  }();
  return locale;
}

bool ReorderGames(Collection& collection, ReorderKey key, bool descending) {
  return ReorderGames(collection, key, descending, UserCollationLocale());
}

bool ReorderGames(Collection& collection, ReorderKey key, bool descending, const std::locale& locale) {
  const std::size_t n = collection.Count();
  const int keyIndex = static_cast<int>(key);
  if (keyIndex < 0 || keyIndex >= static_cast<int>(kKeyWords.size())) return false;
  bool anyKey = false;
  for (std::size_t i = 0; i < n && !anyKey; ++i) anyKey = !collection.Game(i).header.Get(FieldOf(key)).empty();
  if (!anyKey) {
    collection.Prompt().Inform(kCaption, std::string("Unable to sort.  The chosen parameter ( ") +
                                             kKeyWords[static_cast<std::size_t>(keyIndex)] +
                                             " ) is empty for all games of the collection.");
    return false;
  }

  // The collation's sort keys, made once per game: comparing them byte by
  // byte orders as the collation compares the texts.
  const auto& collate = std::use_facet<std::collate<char>>(locale);
  std::vector<std::string> keys(n);
  std::vector<bool> empty(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view text = ReorderKeyText(collection.Game(i).header, key);
    empty[i] = text.empty();
    if (!text.empty()) keys[i] = collate.transform(text.data(), text.data() + text.size());
  }
  // Ascending: empty keys first. Descending is the exact negation, so they
  // come last. A stable sort keeps games of equal keys in collection order,
  // as an insertion sort that moves a game only past greater ones would.
  auto ascending = [&](std::size_t a, std::size_t b) {
    if (empty[a] || empty[b]) return empty[a] && !empty[b];
    return keys[a] < keys[b];
  };
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ascending(b, a); });
  else
    std::stable_sort(order.begin(), order.end(), ascending);
  collection.PermuteGames(order);
  collection.modified = true;
  if (collection.views) collection.views->Refresh();

  static constexpr std::array<const char*, 6> kBy = {", by ECO",          ", by opening", ", by white player",
                                                     ", by black player", ", by date",    ", by event"};
  std::string report = Format("Completed.  Reordered %d games", static_cast<int>(n));
  report += kBy[static_cast<std::size_t>(keyIndex)];
  if (descending) report += " ( in descending order )";
  collection.Prompt().Inform(kCaption, report);
  return true;
}

}  // namespace varnock
