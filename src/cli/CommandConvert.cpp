#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

// convert IN OUT: Save As to OUT; its extension chooses PGN or ECH.
int CommandConvert(const Args& args) {
  const std::optional<FlagsAndNames> split = SplitArgs("convert", args, {"--yes", "--long"});
  if (!split) return 2;
  const std::vector<std::string>& positional = split->names;
  const bool longAlgebraic = split->Has("--long");
  if (positional.size() != 2) return UsageError("convert takes an input and an output file");
  if (positional[1].empty()) return UsageError("convert: the output file name is empty");
  if (!UsableOutputPath("convert", positional[1])) return 2;
  OpenCollection& open = OpenCollection::ForThisProcess(split->Has("--yes"));
  if (!open.Open(positional[0])) return 2;
  const bool problems = open.ProblemsReported();
  open.files.settings.pgnLongAlgebraic = longAlgebraic;
  return open.SaveAsTo(positional[1], problems);
}

}  // namespace varnock::cli
