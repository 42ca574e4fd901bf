#include "openings/ExplorerStats.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <new>

#include "core/Format.h"
#include "openings/CompressedContainer.h"

namespace varnock {

namespace {

constexpr int kMostDepth = 32;  // deeper than any tree of the format over 4 GB

std::uint32_t U32(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8 | std::uint32_t{data[at + 2]} << 16 |
         std::uint32_t{data[at + 3]} << 24;
}

std::uint16_t U16(std::span<const std::uint8_t> data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}

// A page's entries, each found through the offset table.
class Page {
 public:
  Page(std::span<const std::uint8_t> data, std::size_t at) : data_(data), at_(at) {
    if (at > data.size() || data.size() - at < 3) return;
    const std::uint16_t word = U16(data, at + 1);
    count_ = (word >> 4) & 0x7FF;
    leaf_ = (word & 0x8000) != 0;
    valid_ = (data.size() - at - 3) / 2 >= static_cast<std::size_t>(count_);
  }
  bool Valid() const { return valid_; }
  bool Leaf() const { return leaf_; }
  int Count() const { return count_; }
  // Where entry i starts, when its key (and `more` bytes after it) lie in the data.
  std::optional<std::size_t> Entry(int i, std::size_t more) const {
    const std::size_t slot = at_ + 3 + 2 * static_cast<std::size_t>(i);
    const std::size_t start = at_ + 3 + (std::size_t{data_[slot]} << 8 | data_[slot + 1]);
    if (start > data_.size() || data_.size() - start < 4 + more) return std::nullopt;
    return start;
  }
  std::optional<std::uint32_t> Key(int i) const {
    const std::optional<std::size_t> start = Entry(i, 0);
    return start ? std::optional<std::uint32_t>(U32(data_, *start)) : std::nullopt;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
  int count_ = 0;
  bool leaf_ = false;
  bool valid_ = false;
};

// The binary search of a page: the index of the entry with the key, or of
// the last entry below it; -1 when every entry is above it; nothing when an
// entry cannot be read.
std::optional<int> Search(const Page& page, std::uint32_t key) {
  int low = -1, high = page.Count() - 1;
  while (low < high) {
    const int middle = low + (high - low + 1) / 2;
    const std::optional<std::uint32_t> entryKey = page.Key(middle);
    if (!entryKey) return std::nullopt;
    if (*entryKey == key) return middle;
    if (*entryKey > key) {
      high = middle - 1;
      if (high == low) return high;
    } else {
      low = middle;
      if (high == low) return low;
    }
  }
  return high;
}

}  // namespace

std::optional<std::uint32_t> ReadBase128(std::span<const std::uint8_t> data, std::size_t& at) {
  std::uint64_t value = 0;
  for (int i = 0; i < 5 && at < data.size(); ++i) {
    const std::uint8_t byte = data[at++];
    value = value << 7 | (byte & 0x7F);
    if (!(byte & 0x80)) {
      if (value > UINT32_MAX) return std::nullopt;
      return static_cast<std::uint32_t>(value);
    }
  }
  return std::nullopt;
}

bool DecodeStatsRecord(std::span<const std::uint8_t> record, StatsRecord& out) {
  out = {};
  if (record.size() < 7) return false;
  out.whiteWins = U16(record, 0);
  out.blackWins = U16(record, 2);
  out.draws = U16(record, 4);
  const std::size_t count = std::min<std::size_t>(record[6] & 0x7F, (record.size() - 7) / 2);
  out.moves.reserve(count);
  for (std::size_t i = 0; i < count; ++i) out.moves.push_back(U16(record, 7 + 2 * i));
  return true;
}

std::optional<std::span<const std::uint8_t>> ExplorerStats::Lookup(std::uint32_t key) const {
  const std::span<const std::uint8_t> data = data_;
  std::size_t at = 0;
  for (int depth = 0; depth < kMostDepth; ++depth) {
    const Page page(data, at);
    if (!page.Valid() || page.Count() == 0) return std::nullopt;
    const std::optional<int> found = Search(page, key);
    if (!found || *found < 0) return std::nullopt;
    if (!page.Leaf()) {
      const std::optional<std::size_t> entry = page.Entry(*found, 4);
      if (!entry) return std::nullopt;
      at = U32(data, *entry + 4);
      continue;
    }
    if (page.Key(*found) != key) return std::nullopt;
    std::size_t start = *page.Entry(*found, 0) + 4;
    const std::optional<std::uint32_t> length = ReadBase128(data, start);
    if (!length || *length > data.size() - start) return std::nullopt;
    return data.subspan(start, *length);
  }
  return std::nullopt;
}

std::optional<StatsRecord> ExplorerStats::Record(std::uint32_t key) const {
  const auto bytes = Lookup(key);
  StatsRecord record;
  if (!bytes || !DecodeStatsRecord(*bytes, record)) return std::nullopt;
  return record;
}

std::optional<ExplorerStats> LoadExplorerStats(const std::string& path, UserPrompt& prompt) {
  constexpr const char* kCaption = "::LoadFile";
  const auto unreadable = [&] {
    prompt.Inform(kCaption, Format("'%s'\n\nUnable to get 'statbuf' information for this file", path.c_str()));
    return std::nullopt;
  };
  const auto noMemory = [&](std::uint64_t bytes) {
    prompt.Inform(kCaption, Format("'%s'\n\nUnable to allocate %d bytes of memory for this file", path.c_str(),
                                   static_cast<int>(std::min<std::uint64_t>(bytes, INT_MAX))));
    return std::nullopt;
  };

  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return unreadable();
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return ::close(fd), unreadable();
  std::vector<std::uint8_t> file;
  try {
    file.resize(static_cast<std::size_t>(status.st_size));
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return noMemory(static_cast<std::uint64_t>(status.st_size));
  }
  std::size_t done = 0;
  while (done < file.size()) {
    const ssize_t got = ::read(fd, file.data() + done, file.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  if (done != file.size()) return unreadable();

  std::vector<std::uint8_t> data;
  std::uint64_t wanted = 0;
  switch (InflateContainer(file, data, wanted)) {
    case InflateResult::kOk:
      return ExplorerStats(std::move(data));
    case InflateResult::kOutOfMemory:
      return noMemory(wanted);
    case InflateResult::kDamaged:
      break;
  }
  return unreadable();
}

}  // namespace varnock
