#include <iostream>

#include "cli/Commands.h"
#include "core/Fen.h"

namespace varnock::cli {

// fen FEN: line 1 valid, warning or rejected; then the message as it stands;
// then, unless rejected, the position written back.
int CommandFen(const Args& args) {
  if (args.size() != 1) return UsageError("fen takes one FEN text (quote it)");
  FENExtras extras;
  FenCheck check = ParseFEN(args[0], extras);
  std::cout << (check.ok ? "valid" : check.rejected ? "rejected" : "warning") << '\n';
  if (!check.message.empty()) std::cout << check.message << '\n';
  if (!check.rejected) std::cout << FormatFEN(extras.board, extras) << '\n';
  return check.ok ? 0 : 1;
}

}  // namespace varnock::cli
