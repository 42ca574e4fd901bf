// read_all [--scan] FILE: reads every game of a PGN file (plain or .xz) as a
// load does, in Full mode (moves and all) or in Scan mode (headers only), and
// prints the games, the move nodes, the error reports and the reading speed.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "GameText.h"
#include "ReadAll.h"

int main(int argc, char** argv) {
  varnock::ReadMode mode = varnock::ReadMode::Full;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--scan") {
      mode = varnock::ReadMode::Scan;
    } else if (arg == "--full") {
      mode = varnock::ReadMode::Full;
    } else if (arg.starts_with("-") || !file.empty()) {
      std::cerr << "Usage: read_all [--full|--scan] FILE\n";
      return 2;
    } else {
      file = arg;
    }
  }
  if (file.empty()) {
    std::cerr << "Usage: read_all [--full|--scan] FILE\n";
    return 2;
  }
  const auto loadStart = std::chrono::steady_clock::now();
  varnock::TextBuffer buffer;
  try {
    buffer = varnock::bench::LoadFileText(file);
  } catch (const std::exception& error) {
    std::cerr << "read_all: " << error.what() << '\n';
    return 2;
  }
  const std::string_view text = buffer.view();
  const auto start = std::chrono::steady_clock::now();
  const double loadSeconds = std::chrono::duration<double>(start - loadStart).count();
  const varnock::bench::ReadTotals totals = varnock::bench::ReadAllGames(text, mode);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double megabytes = static_cast<double>(text.size()) / 1e6;
  std::printf(
      "%s: %lld games, %lld nodes, %lld reports; %.1f MB loaded in %.3f s, read in %.3f s (%.1f MB/s, %.0f games/s)\n",
      mode == varnock::ReadMode::Full ? "full" : "scan", static_cast<long long>(totals.games),
      static_cast<long long>(totals.nodes), static_cast<long long>(totals.reports), megabytes, loadSeconds, seconds,
      seconds > 0 ? megabytes / seconds : 0.0, seconds > 0 ? static_cast<double>(totals.games) / seconds : 0.0);
  return 0;
}
