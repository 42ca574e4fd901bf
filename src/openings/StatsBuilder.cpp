#include "openings/StatsBuilder.h"

#include <algorithm>

#include "openings/ExplorerStats.h"
#include "openings/GamePositions.h"

namespace varnock {

namespace {

constexpr std::size_t kMostPageEntries = 2047;
constexpr std::uint32_t kMostCount = 0xFFFF;

std::size_t SlotOf(std::uint32_t key, std::size_t mask) {
  return static_cast<std::size_t>((std::uint64_t{key} * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The page header and the offset table of a page of `count` entries whose
// entries start at the given offsets from the end of the header.
void PutPageHead(std::uint8_t* page, std::size_t count, bool leaf, std::span<const std::uint16_t> offsets) {
  page[0] = 0;
  const auto word = static_cast<std::uint16_t>(count << 4 | (leaf ? 0x8000 : 0));
  page[1] = static_cast<std::uint8_t>(word);
  page[2] = static_cast<std::uint8_t>(word >> 8);
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    page[3 + 2 * i] = static_cast<std::uint8_t>(offsets[i] >> 8);
    page[4 + 2 * i] = static_cast<std::uint8_t>(offsets[i]);
  }
}

}  // namespace

std::optional<GameOutcome> OutcomeOfResult(std::string_view result) {
  if (result == "1-0") return GameOutcome::kWhiteWins;
  if (result == "0-1") return GameOutcome::kBlackWins;
  if (result == "1/2-1/2") return GameOutcome::kDraw;
  return std::nullopt;
}

void AppendBase128(std::vector<std::uint8_t>& out, std::uint32_t value) {
  int groups = 1;
  while (groups < 5 && (value >> (7 * groups)) != 0) ++groups;
  for (int group = groups - 1; group >= 0; --group)
    out.push_back(static_cast<std::uint8_t>(((value >> (7 * group)) & 0x7F) | (group > 0 ? 0x80 : 0)));
}

StatsBuilder::StatsBuilder() : slots_(1 << 16, 0) {}

void StatsBuilder::Grow() {
  std::vector<std::uint64_t> slots(slots_.size() * 2, 0);
  const std::size_t mask = slots.size() - 1;
  for (const std::uint64_t entry : slots_) {
    if (entry == 0) continue;
    std::size_t slot = SlotOf(static_cast<std::uint32_t>(entry >> 32), mask);
    while (slots[slot] != 0) slot = (slot + 1) & mask;
    slots[slot] = entry;
  }
  slots_.swap(slots);
}

StatsBuilder::Position& StatsBuilder::Find(std::uint32_t key) {
  if ((positions_.size() + 1) * 2 > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = SlotOf(key, mask);
  // A slot holds the key beside the position's index + 1, so that a probe
  // reads only the slot array.
  for (std::uint64_t entry; (entry = slots_[slot]) != 0; slot = (slot + 1) & mask)
    if (static_cast<std::uint32_t>(entry >> 32) == key) return positions_[static_cast<std::uint32_t>(entry) - 1];
  positions_.push_back({key, {0, 0, 0}, 0});
  slots_[slot] = std::uint64_t{key} << 32 | positions_.size();
  return positions_.back();
}

void StatsBuilder::AddGame(std::span<const std::uint64_t> facts, GameOutcome outcome) {
  ++games_;
  // The slots of the game's positions are fetched before they are needed.
  const std::size_t mask = slots_.size() - 1;
  for (const std::uint64_t fact : facts)
    if (static_cast<std::uint32_t>(fact) == kReachedMark)
      __builtin_prefetch(&slots_[SlotOf(static_cast<std::uint32_t>(fact >> 32), mask)]);
  Position* position = nullptr;
  for (const std::uint64_t fact : facts) {
    const auto key = static_cast<std::uint32_t>(fact >> 32), low = static_cast<std::uint32_t>(fact);
    // A position's facts mostly come one after another.
    if (position == nullptr || position->key != key) position = &Find(key);
    if (low == kReachedMark) {
      ++position->counts[static_cast<int>(outcome)];
      continue;
    }
    // The position's moves: a list linked by index (moves_ may grow), the
    // move found last moved to its front, so that the moves played most
    // are found first.
    std::uint32_t at = position->firstMove, last = 0;
    while (at != 0 && moves_[at - 1].move != low) last = at, at = moves_[at - 1].next;
    if (at == 0) {
      moves_.push_back({0, position->firstMove, static_cast<std::uint16_t>(low)});
      at = static_cast<std::uint32_t>(moves_.size());
      position->firstMove = at;
    } else if (last != 0) {
      moves_[last - 1].next = moves_[at - 1].next;
      moves_[at - 1].next = position->firstMove;
      position->firstMove = at;
    }
    ++moves_[at - 1].count;
  }
}

std::vector<std::uint8_t> StatsBuilder::TreeBytes(std::size_t leafBytes, std::size_t fanout) const {
  std::vector<std::uint32_t> order(positions_.size());
  for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [this](std::uint32_t a, std::uint32_t b) { return positions_[a].key < positions_[b].key; });

  std::vector<StatsLeafEntry> entries;
  entries.reserve(order.size());
  std::vector<std::uint8_t> bytes, record;
  std::vector<const Move*> moves;
  for (const std::uint32_t index : order) {
    const Position& position = positions_[index];
    std::uint32_t white = position.counts[0], black = position.counts[1], draws = position.counts[2];
    if (const std::uint32_t most = std::max({white, black, draws}); most > kMostCount) {
      const auto scale = [most](std::uint32_t count) {
        return static_cast<std::uint32_t>((std::uint64_t{count} * kMostCount + most / 2) / most);
      };
      white = scale(white), black = scale(black), draws = scale(draws);
    }
    moves.clear();
    for (std::uint32_t link = position.firstMove; link != 0; link = moves_[link - 1].next)
      moves.push_back(&moves_[link - 1]);
    std::sort(moves.begin(), moves.end(), [](const Move* a, const Move* b) {
      return a->count != b->count ? a->count > b->count : a->move < b->move;
    });
    if (moves.size() > kMostRecordMoves) moves.resize(kMostRecordMoves);

    record.clear();
    PutU16(record, white);
    PutU16(record, black);
    PutU16(record, draws);
    record.push_back(static_cast<std::uint8_t>(moves.size()));
    for (const Move* move : moves) PutU16(record, move->move);

    const std::size_t start = bytes.size();
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(position.key >> (8 * i)));
    AppendBase128(bytes, static_cast<std::uint32_t>(record.size()));
    bytes.insert(bytes.end(), record.begin(), record.end());
    entries.push_back(
        {position.key, static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(bytes.size() - start)});
  }
  return PackStatsTree(entries, bytes, leafBytes, fanout);
}

std::vector<std::uint8_t> PackStatsTree(std::span<const StatsLeafEntry> entries, std::span<const std::uint8_t> bytes,
                                        std::size_t leafBytes, std::size_t fanout) {
  fanout = std::clamp<std::size_t>(fanout, 2, kMostPageEntries);
  // A page no longer than a 16-bit offset reaches: every entry starts within reach.
  leafBytes = std::clamp<std::size_t>(leafBytes, 300, 0xFFFF);
  // A level: its pages as ranges of the level below (of entries for leaves)
  // and their sizes in bytes.
  struct Level {
    std::vector<std::size_t> starts;  // first child (entry) of each page, then the end
    std::vector<std::size_t> sizes;
  };
  std::vector<Level> levels(1);
  {
    Level& leaves = levels[0];
    leaves.starts.push_back(0);
    std::size_t size = 3;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::size_t count = i - leaves.starts.back();
      const std::size_t more = 2 + entries[i].size;
      if (count > 0 && (count == kMostPageEntries || size + more > leafBytes)) {
        leaves.sizes.push_back(size);
        leaves.starts.push_back(i);
        size = 3;
      }
      size += more;
    }
    leaves.sizes.push_back(size);
    leaves.starts.push_back(entries.size());
  }
  while (levels.back().sizes.size() > 1) {
    const std::size_t below = levels.back().sizes.size();
    Level level;
    for (std::size_t first = 0; first < below; first += fanout) {
      level.starts.push_back(first);
      level.sizes.push_back(3 + 10 * std::min(fanout, below - first));
    }
    level.starts.push_back(below);
    levels.push_back(std::move(level));
  }

  // Offsets: the root level first, then each level below it.
  std::vector<std::vector<std::size_t>> offsets(levels.size());
  std::size_t total = 0;
  for (std::size_t l = levels.size(); l-- > 0;)
    for (const std::size_t size : levels[l].sizes) offsets[l].push_back(total), total += size;
  std::vector<std::uint8_t> out(total);

  // The first key below each page, for the entries of its parent.
  std::vector<std::uint32_t> firstKeys;
  std::vector<std::uint16_t> entryOffsets;
  for (std::size_t page = 0; page + 1 < levels[0].starts.size(); ++page) {
    const std::size_t first = levels[0].starts[page], end = levels[0].starts[page + 1];
    std::uint8_t* at = out.data() + offsets[0][page];
    entryOffsets.clear();
    std::size_t write = 2 * (end - first);
    for (std::size_t i = first; i < end; ++i) {
      entryOffsets.push_back(static_cast<std::uint16_t>(write));
      std::copy_n(bytes.data() + entries[i].offset, entries[i].size, at + 3 + write);
      write += entries[i].size;
    }
    PutPageHead(at, end - first, true, entryOffsets);
    firstKeys.push_back(first < end ? entries[first].key : 0);
  }
  for (std::size_t l = 1; l < levels.size(); ++l) {
    std::vector<std::uint32_t> keys;
    for (std::size_t page = 0; page + 1 < levels[l].starts.size(); ++page) {
      const std::size_t first = levels[l].starts[page], end = levels[l].starts[page + 1];
      std::uint8_t* at = out.data() + offsets[l][page];
      entryOffsets.clear();
      for (std::size_t i = first; i < end; ++i) {
        const std::size_t write = 2 * (end - first) + 8 * (i - first);
        entryOffsets.push_back(static_cast<std::uint16_t>(write));
        PutU32(at + 3 + write, firstKeys[i]);
        PutU32(at + 3 + write + 4, static_cast<std::uint32_t>(offsets[l - 1][i]));
      }
      PutPageHead(at, end - first, false, entryOffsets);
      keys.push_back(firstKeys[first]);
    }
    firstKeys.swap(keys);
  }
  return out;
}

}  // namespace varnock
