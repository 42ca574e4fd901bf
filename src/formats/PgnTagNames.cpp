#include "formats/PgnTagNames.h"

#include <array>
#include <cstdint>

namespace varnock::pgn {

namespace {

// By upper-cased name.
constexpr KnownTag kKnownTags[] = {
    {"BLACK", HeaderField::Black},
    {"WHITE", HeaderField::White},
    {"SITE", HeaderField::Site},
    {"EVENTDATE", HeaderField::EventDate},
    {"RESULT", HeaderField::Result},
    {"DATE", HeaderField::Date},
    {"EVENT", HeaderField::Event},
    {"ROUND", HeaderField::Round},
    {"OPENING", HeaderField::Opening},
    {"ECO", HeaderField::ECO},
    {"BLACKELO", HeaderField::BlackELO},
    {"WHITEELO", HeaderField::WhiteELO},
    {"BOARD", HeaderField::Board},
    {"TIMECONTROL", HeaderField::TimeControl},
    {"FEN", {}, true},
};
constexpr std::size_t kKnownTagCount = std::size(kKnownTags);

// Where a name is looked for among the known tags: its length and its outer
// letters, whatever their case, tell the known names apart.
constexpr std::size_t TagSlot(std::size_t length, char first, char last) {
  return (length + static_cast<std::size_t>(first & 0x1F) * 2 + static_cast<std::size_t>(last & 0x1F)) & 63;
}
constexpr std::array<std::int8_t, 64> kTagSlots = [] {
  std::array<std::int8_t, 64> slots{};
  for (auto& slot : slots) slot = -1;
  for (std::size_t i = 0; i < kKnownTagCount; ++i) {
    const std::string_view name = kKnownTags[i].name;
    const std::size_t slot = TagSlot(name.size(), name.front(), name.back());
    if (slots[slot] != -1) throw "two known tags share a slot";  // not a constant expression: fails the build
    slots[slot] = static_cast<std::int8_t>(i);
  }
  return slots;
}();

}  // namespace

const KnownTag* FindKnownTag(std::string_view name) {
  if (name.empty()) return nullptr;
  const int index = kTagSlots[TagSlot(name.size(), name.front(), name.back())];
  if (index < 0) return nullptr;
  const KnownTag& tag = kKnownTags[index];
  if (tag.name.size() != name.size()) return nullptr;
  for (std::size_t i = 0; i < name.size(); ++i) {
    // Known names hold capital letters only: a letter matches as it is or
    // as its small letter.
    if (name[i] != tag.name[i] && name[i] != (tag.name[i] | 0x20)) return nullptr;
  }
  return &tag;
}

}  // namespace varnock::pgn
