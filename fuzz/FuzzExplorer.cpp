// libFuzzer target: the explorer's statistics reader and position index on
// hostile data. The first byte chooses the input's form: odd, a compressed
// container to inflate first; even, the inflated data itself. Every key that
// stands in the data is looked up, and the explorer's rows are made for the
// start position from the data as statistics; nothing may read outside it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Board.h"
#include "openings/CompressedContainer.h"
#include "openings/ExplorerRows.h"
#include "openings/ExplorerStats.h"
#include "openings/PositionIndexNodes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varnock;
  if (size == 0) return 0;
  std::vector<std::uint8_t> bytes(data + 1, data + size);
  if (data[0] & 1) {
    std::vector<std::uint8_t> inflated;
    std::uint64_t wanted = 0;
    if (InflateContainer(bytes, inflated, wanted) != InflateResult::kOk) return 0;
    bytes.swap(inflated);
  }
  const ExplorerStats stats(bytes);
  for (std::size_t at = 0; at + 4 <= bytes.size() && at < 4096; at += 1 + at / 64) {
    const std::uint32_t key = bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t{bytes[at + 3]} << 24;
    if (const auto record = stats.Lookup(key)) {
      if (record->data() < stats.Data().data() ||
          record->data() + record->size() > stats.Data().data() + stats.Data().size())
        __builtin_trap();
    }
    (void)LookupPositionIndex(bytes, key);
  }
  ExplorerSources sources;
  sources.stats = &stats;
  (void)ExplorerViewOf(StartBoard, kWhite, sources);
  return 0;
}
