// Statistics of a 100,000-game collection, from the headers of a freshly
// opened file (no game's moves read): the players, events and openings
// rows, the players list with its cells, and reordering by a header field.
// The collection is the master games of the corpus (or $VARNOCK_BENCH_PGN)
// repeated until it holds that many games.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "GameText.h"
#include "collection/CollectionList.h"
#include "collection/Reorder.h"
#include "support/SilentPrompt.h"

namespace {

using namespace varnock;

constexpr std::size_t kGames = 100000;

using Silent = testing::SilentPrompt;

template <typename Build>
void Rows(benchmark::State& state, const Collection& collection, Build build) {
  std::size_t rows = 0;
  for (auto _ : state) {
    auto list = build(collection);
    rows = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["games"] = static_cast<double>(collection.Count());
  state.counters["rows"] = static_cast<double>(rows);
}

void PlayersList(benchmark::State& state, Collection& collection) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    CollectionList list(collection, ListKind::Players);
    for (std::size_t row = 0; row < list.RowCount(); ++row)
      for (const std::string& cell : list.Cells(row)) bytes += cell.size();
  }
  benchmark::DoNotOptimize(bytes);
}

void Reorder(benchmark::State& state, Collection& collection, ReorderKey key) {
  bool descending = false;
  for (auto _ : state) {
    ReorderGames(collection, key, descending, std::locale::classic());
    descending = !descending;
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  std::string once;
  try {
    once = varnock::bench::CollectionBenchText(std::filesystem::path(VARNOCK_SHARED_DIR) / "corpus");
  } catch (const std::exception& error) {
    std::cerr << "stats_bench: " << error.what() << '\n';
    return 2;
  }

  Silent prompt;
  NodeStore store;
  Collection collection(store, prompt);
  std::string text = once;
  for (;;) {
    collection.BuildFromText(TextBuffer::CopyOf(text), kFilePgn, "bench.pgn", text.size());
    if (collection.Count() >= kGames || collection.Count() < 2) break;
    const std::size_t copies = (kGames + collection.Count() - 1) / collection.Count() + 1;
    text.clear();
    for (std::size_t i = 0; i < copies; ++i) text += once;
  }
  if (collection.Count() < 2) {
    std::cerr << "stats_bench: no games\n";
    return 2;
  }
  std::cout << "stats_bench: a collection of " << collection.Count() << " games, " << collection.CountUnloaded()
            << " not read\n";

  benchmark::RegisterBenchmark("Stats/Players", [&](benchmark::State& s) {
    Rows(s, collection, BuildPlayers);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stats/Events", [&](benchmark::State& s) {
    Rows(s, collection, BuildEvents);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stats/Openings", [&](benchmark::State& s) {
    Rows(s, collection, BuildOpenings);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stats/PlayersListWithCells", [&](benchmark::State& s) {
    PlayersList(s, collection);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stats/ReorderByWhite", [&](benchmark::State& s) {
    Reorder(s, collection, ReorderKey::White);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stats/ReorderByDate", [&](benchmark::State& s) {
    Reorder(s, collection, ReorderKey::Date);
  })->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
