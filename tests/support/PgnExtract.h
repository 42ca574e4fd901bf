// pgn-extract, the reference reader the format tests hold Varnock's files
// against.
#pragma once

#include <string>

namespace varnock::testing {

// The pgn-extract to run: $PGN_EXTRACT, else on the PATH, else Debian's
// /usr/games/pgn-extract; "" when there is none.
std::string FindPgnExtract();

// A text quoted for the shell.
std::string ShellQuoted(const std::string& text);

}  // namespace varnock::testing
