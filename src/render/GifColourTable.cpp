#include "render/GifColourTable.h"

#include <algorithm>
#include <new>

namespace varnock {

namespace {

// The table grows by this many entries of 15 bytes at a time.
constexpr std::size_t kGrowth = 256;
constexpr std::size_t kEntryBytes = 15;

int SquaredDistance(const GifColourEntry& a, const GifColourEntry& b) {
  const int dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

int GifColourTable::GetNumberOfColours(const GifRaster& raster) {
  entries_.clear();
  indexOf_.clear();
  failedAmount = 0;
  std::size_t capacity = kGrowth;
  try {
    entries_.reserve(capacity);
    std::unordered_map<std::uint32_t, std::size_t> position;
    for (int y = 0; y < raster.height; ++y) {
      const std::uint8_t* pixel = raster.pixels + raster.stride * static_cast<std::size_t>(y);
      for (int x = 0; x < raster.width; ++x, pixel += 3) {
        const std::uint32_t key = Key(pixel[0], pixel[1], pixel[2]);
        auto [it, added] = position.try_emplace(key, entries_.size());
        if (!added) {
          ++entries_[it->second].count;
          continue;
        }
        if (entries_.size() == capacity) {
          capacity += kGrowth;
          failedAmount = capacity * kEntryBytes;
          entries_.reserve(capacity);
          failedAmount = 0;
        }
        entries_.push_back({key, 1, 0, pixel[0], pixel[1], pixel[2]});
      }
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const GifColourEntry& a, const GifColourEntry& b) { return a.count > b.count; });
    const std::size_t usable = std::min<std::size_t>(entries_.size(), kGifUsableColours);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      std::size_t best = i;
      if (i >= usable) {
        best = 0;
        int bestDistance = SquaredDistance(entries_[i], entries_[0]);
        for (std::size_t j = 1; j < usable; ++j) {
          const int distance = SquaredDistance(entries_[i], entries_[j]);
          if (distance < bestDistance) best = j, bestDistance = distance;
        }
      }
      entries_[i].substitute = static_cast<std::uint32_t>(best);
      indexOf_[entries_[i].colour] = static_cast<std::uint8_t>(best);
    }
  } catch (const std::bad_alloc&) {
    if (failedAmount == 0) failedAmount = capacity * kEntryBytes;
    entries_.clear();
    indexOf_.clear();
    return -1;
  }
  return static_cast<int>(entries_.size());
}

int GifColourTable::TableBits() const {
  int bits = 2;
  while (bits < 8 && (std::size_t{1} << bits) < entries_.size()) ++bits;
  return bits;
}

std::uint8_t GifColourTable::IndexOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const {
  auto it = indexOf_.find(Key(blue, green, red));
  return it == indexOf_.end() ? 0 : it->second;
}

void GifColourTable::AppendGlobalTable(std::string& out) const {
  const std::size_t size = std::size_t{1} << TableBits();
  for (std::size_t i = 0; i < size; ++i) {
    if (i < entries_.size()) {
      out += static_cast<char>(entries_[i].red);
      out += static_cast<char>(entries_[i].green);
      out += static_cast<char>(entries_[i].blue);
    } else {
      out.append(3, '\xFF');
    }
  }
}

}  // namespace varnock
