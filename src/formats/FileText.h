// The text of a game file as the readers see it.
#pragma once

#include <string>
#include <string_view>

#include "formats/TextBuffer.h"

namespace varnock {

enum FileType : int { kFileEch = 0, kFilePgn = 1, kFileNone = 3 };

// Removes every byte 0x00, 0xFE and 0xFF, closing the gaps.
void CleanFileText(std::string& text);
void CleanFileText(TextBuffer& text);

// ECH when a "GM" property with the value "Chess" or "3" stands within the
// first 100 characters; empty text is no type; anything else is PGN.
FileType DetectFileType(std::string_view text);

}  // namespace varnock
