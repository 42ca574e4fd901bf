// Bob Jenkins' lookup3 hash (hashlittle), as published in the public domain:
// the bytes are read as little-endian 32-bit words whatever the machine, so a
// key is the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varnock {

std::uint32_t HashLittle(const void* key, std::size_t length, std::uint32_t initval);

}  // namespace varnock
