#include <iostream>
#include <map>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"
#include "collection/Reorder.h"

namespace varnock::cli {

// reorder FILE -o OUT --by KEY [--desc]: sorts the games and saves them as
// OUT.
int CommandReorder(const Args& args) {
  static const std::map<std::string, ReorderKey> keys = {{"eco", ReorderKey::ECO},     {"opening", ReorderKey::Opening},
                                                         {"white", ReorderKey::White}, {"black", ReorderKey::Black},
                                                         {"date", ReorderKey::Date},   {"event", ReorderKey::Event}};
  std::vector<std::string> positional;
  std::optional<std::string> out;
  std::optional<ReorderKey> key;
  bool yes = false, descending = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--desc") {
      descending = true;
    } else if (arg == "-o" && hasValue) {
      out = args[++i];
    } else if (arg == "--by" && hasValue) {
      auto it = keys.find(args[++i]);
      if (it == keys.end()) return UsageError("reorder: --by takes eco, opening, white, black, date or event");
      key = it->second;
    } else if (arg.starts_with("-")) {
      return UsageError("reorder: unknown option or missing value " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1 || !out || !key) return UsageError("reorder takes a file, -o OUT and --by KEY");
  if (!UsableOutputPath("reorder", *out)) return 2;
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  if (!open.Open(positional[0])) return 2;
  const bool problems = open.ProblemsReported();
  // Keys the collation cannot tell apart keep their order: the result of a
  // refused sort (every key empty) is the collection as it stands.
  const bool sorted = ReorderGames(open.collection, *key, descending);
  return open.SaveAsTo(*out, problems || !sorted);
}

}  // namespace varnock::cli
