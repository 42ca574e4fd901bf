#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

// convert IN OUT: Save As to OUT; its extension chooses PGN or ECH.
int CommandConvert(const Args& args) {
  std::vector<std::string> positional;
  bool yes = false, longAlgebraic = false;
  for (const std::string& arg : args) {
    if (arg == "--yes")
      yes = true;
    else if (arg == "--long")
      longAlgebraic = true;
    else if (arg.starts_with("--"))
      return UsageError("convert: unknown option " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 2) return UsageError("convert takes an input and an output file");
  OpenCollection open(yes);
  if (!open.Open(positional[0])) return 2;
  const bool loadErrors = !open.collection.errors.Empty();
  open.files.settings.pgnLongAlgebraic = longAlgebraic;
  open.prompt.AnswerFileDialogsWith(positional[1]);
  open.files.SaveAs();
  if (!open.files.saved) return 1;
  return loadErrors || !open.collection.errors.Empty() ? 1 : 0;
}

}  // namespace varnock::cli
