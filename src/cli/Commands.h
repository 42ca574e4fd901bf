// The commands of varnock-cli. Each takes its arguments (after the command
// name) and returns the exit status: 0 done, 1 done with problems, 2 usage.
#pragma once

#include <string>
#include <vector>

namespace varnock::cli {

using Args = std::vector<std::string>;

int CommandAnalyse(const Args& args);
int CommandCheck(const Args& args);
int CommandConvert(const Args& args);
int CommandCount(const Args& args);
int CommandDump(const Args& args);
int CommandFen(const Args& args);
int CommandPerft(const Args& args);
int CommandSave(const Args& args);

// Writes "varnock-cli: TEXT" to stderr and returns 2.
int UsageError(const std::string& text);

}  // namespace varnock::cli
