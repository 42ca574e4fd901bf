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

  // Whether anything was reported so far: load errors or a warning box
  // (the bracket warning among them).
  bool ProblemsReported() const { return !collection.errors.Empty() || prompt.Reports() > 0; }

  // Save As to `path` with the answers of the command line; the exit status
  // of a command that ends with it, `problems` telling of earlier reports.
  int SaveAsTo(const std::string& path, bool problems);

  ConsolePrompt prompt;
  NodeStore store;
  Collection collection;
  FileCommands files;
};

// The exit status of a command that ended with a save: 0 saved, 1 saved
// after reported problems or not saved after a question answered No, 3 not
// saved because the file could not be written or put in place.
int SaveStatus(const SaveResult& result, bool problems);

// An output path a command may write to: absent, or a regular file (a
// symbolic link counts as the file it names). Otherwise a message on stderr
// and false.
bool UsableOutputPath(const std::string& command, const std::string& path);

}  // namespace varnock::cli
