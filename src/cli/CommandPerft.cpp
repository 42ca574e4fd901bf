#include <algorithm>
#include <charconv>
#include <iostream>

#include "cli/Commands.h"
#include "core/Fen.h"
#include "core/Perft.h"

namespace varnock::cli {

// perft FEN DEPTH [--divide]: the number of legal move sequences of DEPTH
// plies; with --divide one "move count" line per first move, sorted, first.
int CommandPerft(const Args& args) {
  bool divide = false;
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (arg == "--divide")
      divide = true;
    else
      positional.push_back(arg);
  }
  if (positional.size() != 2) return UsageError("perft takes a FEN and a depth");
  int depth = 0;
  const std::string& text = positional[1];
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), depth);
  if (error != std::errc() || end != text.data() + text.size() || depth < 0 || depth > 12)
    return UsageError("perft: the depth must be a whole number from 0 to 12");

  FENExtras position;
  FenCheck check = ParseFEN(positional[0], position);
  if (check.rejected) {
    std::cerr << "perft: " << check.message << '\n';
    return 2;
  }
  if (divide) {
    auto rows = PerftDivide(position, depth);
    std::vector<std::pair<std::string, std::uint64_t>> lines;
    std::uint64_t total = 0;
    for (const auto& [move, count] : rows) {
      lines.emplace_back(CoordinateText(move), count);
      total += count;
    }
    std::sort(lines.begin(), lines.end());
    for (const auto& [move, count] : lines) std::cout << move << ' ' << count << '\n';
    std::cout << total << '\n';
  } else {
    std::cout << Perft(position, depth) << '\n';
  }
  return check.ok ? 0 : 1;
}

}  // namespace varnock::cli
