// A game file named on the command line, read whole for the commands that
// work on one of its games (dump, rtf).
#pragma once

#include <optional>
#include <string>

#include "formats/FileText.h"

namespace varnock::cli {

// A game number argument: a whole number from 1.
std::optional<int> GameNumber(const std::string& text);

struct GameFileText {
  std::string text;  // cleaned as a load cleans it
  FileType type = kFileNone;
};

// The file's text and type; nothing, after a message on stderr, when it
// cannot be read or is neither PGN nor ECH.
std::optional<GameFileText> ReadGameFile(const std::string& path);

}  // namespace varnock::cli
