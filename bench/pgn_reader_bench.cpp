// The PGN reader on the largest corpus file (or $VARNOCK_BENCH_PGN, plain or
// .xz), in Full and in Scan mode. The file is decompressed once, before the
// runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "GameText.h"
#include "ReadAll.h"

namespace {

using varnock::ReadMode;
using varnock::bench::ReadAllGames;
using varnock::bench::ReadTotals;

void ReadFile(benchmark::State& state, const std::string& text, ReadMode mode) {
  ReadTotals totals;
  for (auto _ : state) {
    totals = ReadAllGames(text, mode);
    benchmark::DoNotOptimize(totals);
  }
  const double runs = static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(runs * static_cast<double>(text.size())));
  state.counters["MB/s"] =
      benchmark::Counter(runs * static_cast<double>(text.size()) / 1e6, benchmark::Counter::kIsRate);
  state.counters["games/s"] = benchmark::Counter(runs * static_cast<double>(totals.games), benchmark::Counter::kIsRate);
  state.counters["games"] = static_cast<double>(totals.games);
  if (mode == ReadMode::Full) state.counters["nodes"] = static_cast<double>(totals.nodes);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  std::filesystem::path file;
  if (const char* given = std::getenv("VARNOCK_BENCH_PGN"); given && *given)
    file = given;
  else
    file = varnock::bench::LargestCorpusFile(std::filesystem::path(VARNOCK_SHARED_DIR) / "corpus");
  if (file.empty()) {
    std::cerr << "pgn_reader_bench: no corpus in " << VARNOCK_SHARED_DIR << "/corpus; set VARNOCK_BENCH_PGN\n";
    return 2;
  }
  std::string text;
  try {
    text = varnock::bench::LoadGameText(file);
  } catch (const std::exception& error) {
    std::cerr << "pgn_reader_bench: " << error.what() << '\n';
    return 2;
  }
  std::cout << "pgn_reader_bench: " << file.string() << ", " << text.size() << " bytes\n";
  benchmark::AddCustomContext("pgn_file", file.filename().string());
  benchmark::AddCustomContext("pgn_bytes", std::to_string(text.size()));

  benchmark::RegisterBenchmark("PgnReader/Full", [&](benchmark::State& state) {
    ReadFile(state, text, ReadMode::Full);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PgnReader/Scan", [&](benchmark::State& state) {
    ReadFile(state, text, ReadMode::Scan);
  })->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
