#include "formats/FileText.h"

#include <algorithm>
#include <cstring>

#include "core/Format.h"

namespace varnock {

namespace {

// The cleaned length of a text, cleaned in place. Most files hold none of
// the three bytes: three memchr passes find that at memory speed, and only a
// file that has them is compacted, from the first.
std::size_t CleanInPlace(char* data, std::size_t size) {
  std::size_t first = size;
  for (int byte : {0x00, 0xFE, 0xFF}) {
    const void* found = first ? std::memchr(data, byte, first) : nullptr;
    if (found) first = static_cast<std::size_t>(static_cast<const char*>(found) - data);
  }
  if (first == size) return size;
  char* const end = std::remove_if(data + first, data + size, [](char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte == 0x00 || byte == 0xFE || byte == 0xFF;
  });
  return static_cast<std::size_t>(end - data);
}

}  // namespace

void CleanFileText(std::string& text) { text.resize(CleanInPlace(text.data(), text.size())); }

void CleanFileText(TextBuffer& text) { text.Shorten(CleanInPlace(text.data(), text.size())); }

FileType DetectFileType(std::string_view text) {
  if (text.empty()) return kFileNone;
  // Every character looked at counts against the budget, inside a value too.
  const std::size_t budget = std::min<std::size_t>(text.size(), 100);
  std::size_t i = 0;
  while (i + 1 < budget) {
    if (text[i] != 'G' || text[i + 1] != 'M') {
      ++i;
      continue;
    }
    i += 2;
    while (i < budget && text[i] != '[') ++i;
    while (i < budget && text[i] == '[') ++i;
    std::string value;
    while (i < budget && text[i] != ']') {
      if (text[i] != '\n' && text[i] != '\r' && text[i] != ' ') value += text[i];
      ++i;
    }
    if (i < budget && (EqualsIgnoringCase(value, "Chess") || value == "3")) return kFileEch;
  }
  return kFilePgn;
}

}  // namespace varnock
