#include "formats/GameHeader.h"

#include <cstring>

namespace varnock {

namespace {

constexpr std::size_t kTableBytes = kHeaderFieldCount * sizeof(std::uint32_t);

std::uint32_t EndOf(const char* data, int index) {
  std::uint32_t end;
  std::memcpy(&end, data + index * sizeof(std::uint32_t), sizeof end);
  return end;
}

std::size_t TotalBytes(const char* data) { return kTableBytes + EndOf(data, kHeaderFieldCount - 1); }

}  // namespace

GameHeader::GameHeader(const GameHeader& other) { *this = other; }

GameHeader& GameHeader::operator=(const GameHeader& other) {
  if (this == &other) return *this;
  if (!other.data_) {
    data_.reset();
    return *this;
  }
  const std::size_t size = TotalBytes(other.data_.get());
  data_ = std::make_unique_for_overwrite<char[]>(size);
  std::memcpy(data_.get(), other.data_.get(), size);
  return *this;
}

std::string_view GameHeader::Get(HeaderField field) const {
  if (!data_) return {};
  const int index = static_cast<int>(field);
  const std::uint32_t begin = index == 0 ? 0 : EndOf(data_.get(), index - 1);
  const std::uint32_t end = EndOf(data_.get(), index);
  return std::string_view(data_.get() + kTableBytes + begin, end - begin);
}

void GameHeader::SetAll(const std::array<std::string, kHeaderFieldCount>& values) {
  std::array<std::string_view, kHeaderFieldCount> views;
  for (std::size_t i = 0; i < values.size(); ++i) views[i] = values[i];
  SetAll(views);
}

void GameHeader::SetAll(const std::array<std::string_view, kHeaderFieldCount>& values) {
  std::size_t chars = 0;
  for (std::string_view value : values) chars += value.size();
  if (chars == 0) {
    data_.reset();
    return;
  }
  auto data = std::make_unique_for_overwrite<char[]>(kTableBytes + chars);
  std::uint32_t end = 0;
  for (int i = 0; i < kHeaderFieldCount; ++i) {
    const std::string_view value = values[static_cast<std::size_t>(i)];
    if (!value.empty()) std::memcpy(data.get() + kTableBytes + end, value.data(), value.size());
    end += static_cast<std::uint32_t>(value.size());
    std::memcpy(data.get() + i * sizeof(std::uint32_t), &end, sizeof end);
  }
  data_ = std::move(data);
}

void GameHeader::Set(HeaderField field, std::string_view value) {
  std::array<std::string, kHeaderFieldCount> values;
  for (int i = 0; i < kHeaderFieldCount; ++i) values[static_cast<std::size_t>(i)] = Get(static_cast<HeaderField>(i));
  values[static_cast<std::size_t>(field)] = value;
  SetAll(values);
}

bool GameHeader::operator==(const GameHeader& other) const {
  for (int i = 0; i < kHeaderFieldCount; ++i)
    if (Get(static_cast<HeaderField>(i)) != other.Get(static_cast<HeaderField>(i))) return false;
  return true;
}

std::string_view PgnTagName(HeaderField field) {
  static constexpr std::string_view kNames[kHeaderFieldCount] = {
      "Black",     "White",    "Site",     "",        "Result", "Date",  "Event", "",
      "EventDate", "BlackELO", "WhiteELO", "Opening", "ECO",    "Round", "Board", "TimeControl"};
  return kNames[static_cast<int>(field)];
}

}  // namespace varnock
