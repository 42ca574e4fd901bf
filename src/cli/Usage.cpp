#include <algorithm>
#include <iostream>

#include "cli/Commands.h"

namespace varnock::cli {

int UsageError(const std::string& text) {
  std::cerr << "varnock-cli: " << text << '\n' << "Try 'varnock-cli --help'.\n";
  return 2;
}

std::optional<FlagsAndNames> SplitArgs(const std::string& command, const Args& args,
                                       std::initializer_list<const char*> flags) {
  FlagsAndNames split;
  for (const std::string& arg : args) {
    if (!arg.starts_with("--")) {
      split.names.push_back(arg);
      continue;
    }
    if (std::find(flags.begin(), flags.end(), arg) == flags.end()) {
      UsageError(command + ": unknown option " + arg);
      return std::nullopt;
    }
    split.flags.insert(arg);
  }
  return split;
}

}  // namespace varnock::cli
