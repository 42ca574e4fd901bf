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

  // A collection that lives until the process ends, for a command: the
  // system takes its memory back at once, where freeing it game by game
  // takes a fifth of the time of opening a large file. Asking for another
  // (tests run many commands in one process) frees the one before.
  static OpenCollection& ForThisProcess(bool answerYes);

  // Opens the file; false (after a message on stderr) when it is unusable:
  // missing, unreadable, not PGN or ECH, or without games.
  bool Open(const std::string& file);

  ConsolePrompt prompt;
  NodeStore store;
  Collection collection;
  FileCommands files;
};

}  // namespace varnock::cli
