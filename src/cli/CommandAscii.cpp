#include <charconv>
#include <iostream>

#include "cli/Commands.h"
#include "core/PieceInitials.h"
#include "render/RtfExport.h"

namespace varnock::cli {

namespace {

bool ReadNumber(const std::string& text, int low, int high, int& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

}  // namespace

int ParseDiagramArgs(const std::string& command, const Args& args, std::size_t positionalCount, bool image,
                     DiagramArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--flip") {
      out.flip = true;
    } else if (arg == "--font" || (image && arg == "--size")) {
      if (i + 1 >= args.size()) return UsageError(command + ": " + arg + " needs a number");
      const bool font = arg == "--font";
      if (!ReadNumber(args[++i], font ? 0 : 1, font ? 4 : 500, font ? out.font : out.size))
        return UsageError(command + (font ? ": the font is a number from 0 to 4" : ": the size is 1 to 500 pixels"));
    } else if (image && arg == "--bw") {
      out.blackAndWhite = true;
    } else if (arg.starts_with("--")) {
      return UsageError(command + ": unknown option " + arg);
    } else {
      out.positional.push_back(arg);
    }
  }
  if (out.positional.size() != positionalCount)
    return UsageError(command +
                      (positionalCount == 1 ? " takes one FEN text (quote it)" : " takes a FEN text and a file"));
  const FenCheck check = ParseFEN(out.positional[0], out.extras);
  if (check.rejected) {
    std::cerr << "varnock-cli: " << check.message << '\n';
    return 2;
  }
  if (!check.ok) {
    std::cerr << "varnock-cli: " << check.message << '\n';
    out.fenWarning = true;
  }
  return 0;
}

// ascii FEN [--flip]: the plain-text diagram of the position.
int CommandAscii(const Args& args) {
  DiagramArgs parsed;
  if (int status = ParseDiagramArgs("ascii", args, 1, false, parsed); status != 0) return status;
  std::cout << AsciiDiagramText(parsed.extras.board, parsed.flip, std::string(kDefaultPieceInitials));
  return parsed.fenWarning ? 1 : 0;
}

}  // namespace varnock::cli
