// The ECH property names of the sixteen header fields.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "formats/GameHeader.h"

namespace varnock {

struct EchHeaderProperty {
  std::string_view name;
  HeaderField field;
};

// In the order the writer emits them.
extern const std::array<EchHeaderProperty, kHeaderFieldCount> kEchHeaderProperties;

// The header field a property name stands for (compared exactly).
std::optional<HeaderField> EchHeaderFieldOf(std::string_view name);

}  // namespace varnock
