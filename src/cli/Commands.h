// The commands of varnock-cli. Each takes its arguments (after the command
// name) and returns the exit status: 0 done, 1 done with problems, 2 usage.
#pragma once

#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Fen.h"

namespace varnock::cli {

using Args = std::vector<std::string>;

int CommandAnalyse(const Args& args);
int CommandAscii(const Args& args);
int CommandCheck(const Args& args);
int CommandConvert(const Args& args);
int CommandCount(const Args& args);
int CommandDiagram(const Args& args);
int CommandDump(const Args& args);
int CommandEco(const Args& args);
int CommandExplore(const Args& args);
int CommandExplorerBuild(const Args& args);
int CommandFen(const Args& args);
int CommandGif(const Args& args);
int CommandPerft(const Args& args);
int CommandRtf(const Args& args);
int CommandSave(const Args& args);
int CommandStats(const Args& args);
int CommandReorder(const Args& args);
int CommandRenamePlayer(const Args& args);

// The arguments of the diagram commands (ascii, diagram, gif).
struct DiagramArgs {
  std::vector<std::string> positional;  // the FEN first
  FENExtras extras;
  bool fenWarning = false;
  bool flip = false;
  bool blackAndWhite = false;
  int font = 3;
  int size = 40;
};

// Reads FEN and `positionalCount - 1` more names, --flip and --font N (and
// for images --size N and --bw). A refused FEN or a bad option is reported
// and gives its exit status (2); 0 when all is well.
int ParseDiagramArgs(const std::string& command, const Args& args, std::size_t positionalCount, bool image,
                     DiagramArgs& out);

// Writes "varnock-cli: TEXT" to stderr and returns 2.
int UsageError(const std::string& text);

// The arguments of a command that takes only flags ("--yes", "--long") and
// names: nothing, after the usage error, when an option is not one of `flags`.
struct FlagsAndNames {
  std::set<std::string> flags;
  std::vector<std::string> names;
  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};
std::optional<FlagsAndNames> SplitArgs(const std::string& command, const Args& args,
                                       std::initializer_list<const char*> flags);

}  // namespace varnock::cli
