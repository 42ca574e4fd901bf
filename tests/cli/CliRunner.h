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

}  // namespace varnock::testing
