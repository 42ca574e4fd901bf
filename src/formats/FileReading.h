// Reading a regular file's bytes into memory at their own offsets.
#pragma once

#include <cstddef>

namespace varnock {

// From this size on, a file is read in two halves at once, the second on a
// helper thread. Reading a large file is bound by the kernel clearing each
// fresh page of the buffer before it copies into it; two cores do that in
// about half the time.
inline constexpr std::size_t kReadInTwoFrom = std::size_t{32} << 20;

// Reads bytes [0, size) of the file into text[0, size), whatever the file
// offset; returns how many bytes from the start were read without a gap
// (fewer than `size` when the file is shorter or a read fails).
std::size_t ReadFileInto(int fd, char* text, std::size_t size);

}  // namespace varnock
