#include <iostream>

#include "cli/Commands.h"

namespace varnock::cli {

int UsageError(const std::string& text) {
  std::cerr << "varnock-cli: " << text << '\n' << "Try 'varnock-cli --help'.\n";
  return 2;
}

}  // namespace varnock::cli
