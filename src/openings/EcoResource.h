// The opening table as the program carries it: the compressed bytes that the
// build's table packer generates from data/eco/eco.txt.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varnock {

struct ResourceBytes {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// The built-in table's code stream.
ResourceBytes BuiltInEcoResource();

}  // namespace varnock
