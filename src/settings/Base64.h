// Standard Base64 (RFC 4648 alphabet, "=" padding), the text form of the
// binary records in the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnock {

std::string EncodeBase64(const std::uint8_t* bytes, std::size_t length);
inline std::string EncodeBase64(const std::vector<std::uint8_t>& bytes) {
  return EncodeBase64(bytes.data(), bytes.size());
}

// The bytes of a Base64 text, or nothing when the text is not Base64 (a
// character outside the alphabet, a length that is not a multiple of four,
// padding anywhere but at the end).
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace varnock
