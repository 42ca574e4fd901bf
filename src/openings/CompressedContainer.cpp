#include "openings/CompressedContainer.h"

#include <zlib.h>

#include <limits>
#include <new>

namespace varnock {

namespace {

// A zlib stream inflates to at most about 1032 bytes per byte of input; a
// stated length far beyond that is a damaged or hostile header, refused
// before anything is allocated for it.
constexpr std::uint64_t kMostInflationPerByte = 1040;

}  // namespace

std::uint64_t CompressBound(std::uint64_t length) {
  return length + (length >> 12) + (length >> 14) + (length >> 25) + 13;
}

InflateResult InflateContainer(std::span<const std::uint8_t> container, std::vector<std::uint8_t>& data,
                               std::uint64_t& wanted) {
  data.clear();
  wanted = 0;
  if (container.size() < 4) return InflateResult::kDamaged;
  const std::uint64_t length = std::uint64_t{container[0]} | std::uint64_t{container[1]} << 8 |
                               std::uint64_t{container[2]} << 16 | std::uint64_t{container[3]} << 24;
  const std::span<const std::uint8_t> stream = container.subspan(4);
  wanted = CompressBound(length) + 2;
  if (length > stream.size() * kMostInflationPerByte + 64) return InflateResult::kDamaged;
  try {
    data.resize(static_cast<std::size_t>(wanted));
  } catch (const std::bad_alloc&) {
    data = {};
    return InflateResult::kOutOfMemory;
  }

  z_stream z{};
  if (inflateInit(&z) != Z_OK) return data.clear(), InflateResult::kOutOfMemory;
  std::uint64_t in = 0, out = 0;
  int status = Z_OK;
  // zlib counts in 32-bit units; large inputs go in slices.
  constexpr std::uint64_t kSlice = std::numeric_limits<uInt>::max() / 2;
  while (status == Z_OK) {
    if (z.avail_in == 0 && in < stream.size()) {
      const std::uint64_t take = std::min<std::uint64_t>(kSlice, stream.size() - in);
      z.next_in = const_cast<Bytef*>(stream.data() + in);
      z.avail_in = static_cast<uInt>(take);
      in += take;
    }
    if (z.avail_out == 0 && out < data.size()) {
      const std::uint64_t take = std::min<std::uint64_t>(kSlice, data.size() - out);
      z.next_out = data.data() + out;
      z.avail_out = static_cast<uInt>(take);
      out += take;
    }
    status = inflate(&z, Z_NO_FLUSH);
    if (status == Z_BUF_ERROR && (z.avail_in != 0 || in < stream.size()) && (z.avail_out != 0 || out < data.size()))
      status = Z_OK;
  }
  const std::uint64_t produced = z.total_out;
  inflateEnd(&z);
  if (status != Z_STREAM_END) return data.clear(), InflateResult::kDamaged;
  data.resize(static_cast<std::size_t>(produced));
  data.shrink_to_fit();
  return InflateResult::kOk;
}

std::vector<std::uint8_t> DeflateContainer(std::span<const std::uint8_t> data, int level) {
  if (data.size() > std::numeric_limits<std::uint32_t>::max()) return {};
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(4 + size);
  if (compress2(out.data() + 4, &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK) return {};
  out.resize(4 + size);
  const auto length = static_cast<std::uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
  return out;
}

}  // namespace varnock
