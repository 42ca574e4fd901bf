// A collection opened from the command line as the main window opens it,
// with the questions answered on the terminal.
#pragma once

#include <memory>
#include <string>

#include "cli/ConsolePrompt.h"
#include "collection/FileCommands.h"

namespace varnock::cli {

struct OpenCollection {
  explicit OpenCollection(bool answerYes);

  // Opens the file; false (after a message on stderr) when it is unusable:
  // missing, unreadable, not PGN or ECH, or without games.
  bool Open(const std::string& file);

  ConsolePrompt prompt;
  NodeStore store;
  Collection collection;
  FileCommands files;
};

}  // namespace varnock::cli
