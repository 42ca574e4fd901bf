// Runs varnock-cli as a user would and captures what it prints.
#pragma once

#include <string>
#include <vector>

namespace varnock::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::vector<std::string>& args);

// Starts varnock-cli without waiting for it (its output discarded); the
// process id, or -1.
int StartCli(const std::vector<std::string>& args);

}  // namespace varnock::testing
