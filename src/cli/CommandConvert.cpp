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
  OpenCollection& open = OpenCollection::ForThisProcess(split->Has("--yes"));
  if (!open.Open(positional[0])) return 2;
  const bool loadErrors = !open.collection.errors.Empty();
  open.files.settings.pgnLongAlgebraic = longAlgebraic;
  open.prompt.AnswerFileDialogsWith(positional[1]);
  open.files.SaveAs();
  if (!open.files.saved) return 1;
  return loadErrors || !open.collection.errors.Empty() ? 1 : 0;
}

}  // namespace varnock::cli
