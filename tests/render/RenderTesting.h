// Shared helpers of the render tests.
#pragma once

#include <QImage>
#include <filesystem>
#include <memory>
#include <string>

#include "formats/SGridFrame.h"

namespace varnock::testing {

// The GUI application (off screen) with the five chess fonts registered.
void StartRenderSession();

// The first game of a PGN text, read in full.
std::unique_ptr<SGridFrame> ReadPgnGame(const std::string& text, NodeStore& store);

// A fresh, empty folder for a test's files.
std::filesystem::path ScratchFolder(const std::string& name);

// The whole content of a file, or "" when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

// Runs a shell command and returns its output and exit status.
struct CommandResult {
  int status = -1;
  std::string out;
};
CommandResult RunCommand(const std::string& command);

}  // namespace varnock::testing
