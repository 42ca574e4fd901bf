// A game file named on the command line, read whole for the commands that
// work on one of its games (dump, rtf).
#pragma once

#include <optional>
#include <string>

#include "core/UserPrompt.h"
#include "formats/FileText.h"
#include "formats/TextBuffer.h"

namespace varnock::cli {

// A game number argument: a whole number from 1.
std::optional<int> GameNumber(const std::string& text);

struct GameFileText {
  TextBuffer text;  // cleaned as a load cleans it
  FileType type = kFileNone;
};

// The file's text and type, read as a load reads it; nothing, after the
// load's message (or one on stderr for a file neither PGN nor ECH), when it
// cannot be used.
std::optional<GameFileText> ReadGameFile(const std::string& path, UserPrompt& prompt);

}  // namespace varnock::cli
