// Opening classification of a 100,000-game collection: the master games of
// the corpus (or $VARNOCK_BENCH_PGN) repeated until the collection holds that
// many, scanned once as a load scans them. Timed: starting the database
// (expanding and indexing the built-in table), classifying every game with
// its moves still to be read from the file text (what "Set ECO
// Classifications for all Games" does on a freshly opened file), and
// classifying games already read.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "GameText.h"
#include "formats/PgnReader.h"
#include "openings/EcoCommands.h"
#include "support/SilentPrompt.h"

namespace {

using namespace varnock;

constexpr int kGames = 100000;

// Answers Yes and OK, and picks the first item.
class Answers : public testing::SilentPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  bool AskOkCancel(const std::string&, const std::string&) override { return true; }
  std::optional<int> Choose(const std::string&, const std::vector<std::string>&) override { return 0; }
};

class BenchCollection : public EcoCollection {
 public:
  explicit BenchCollection(std::string text) : text_(std::move(text)) {
    PgnReadContext ctx = Context();
    while (static_cast<int>(games_.size()) < kGames) {
      auto game = std::make_unique<SGridFrame>(store_);
      const std::size_t start = ctx.cursor;
      if (!Do_FilePGN(*game, ReadMode::Scan, ctx) || ctx.cursor <= start) {
        if (start == 0) break;  // no game at all
        ctx.cursor = 0;         // round again
        continue;
      }
      game->textOffset = start;
      game->loaded = false;
      game->stateFlags = kFromFileText;
      games_.push_back(std::move(game));
    }
  }
  // Back to the state after opening the file: no game read, no tags set.
  void Unload() {
    for (auto& game : games_) {
      game->DropTree();
      game->loaded = false;
      game->header.Set(HeaderField::ECO, "");
      game->header.Set(HeaderField::Opening, "");
    }
    store_.ReleaseEmptySegments();
  }

  int GameCount() const override { return static_cast<int>(games_.size()); }
  SGridFrame& Game(int index) override { return *games_[static_cast<std::size_t>(index)]; }
  void EnsureLoaded(SGridFrame& game) override {
    if (game.loaded) return;
    PgnReadContext ctx = Context();
    ctx.cursor = static_cast<std::size_t>(game.textOffset);
    Do_FilePGN(game, ReadMode::Reread, ctx);
    game.loaded = true;
  }
  void ShowLoadErrors() override {}
  void MarkModified() override {}

 private:
  PgnReadContext Context() {
    PgnReadContext ctx;
    ctx.text = text_;
    ctx.errors = &errors_;
    return ctx;
  }
  std::string text_;
  NodeStore store_;
  SErrorList errors_;
  std::vector<std::unique_ptr<SGridFrame>> games_;
};

void StartDatabase(benchmark::State& state) {
  for (auto _ : state) {
    EcoDatabase database;
    Answers answers;
    if (!database.Start(answers)) state.SkipWithError("the database did not load");
    benchmark::DoNotOptimize(database.Table());
  }
}

void FetchAll(benchmark::State& state, BenchCollection& collection, EcoMethod method, bool unloadFirst) {
  int changed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (unloadFirst) collection.Unload();
    state.ResumeTiming();
    EcoDatabase database;  // started inside, as on a first use
    Answers answers;
    changed = CmFetchAllECO(collection, database, method, answers);
  }
  state.counters["games"] = collection.GameCount();
  state.counters["changed"] = changed;  // of the last run: 0 once the tags are set
  state.counters["games/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * collection.GameCount(), benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  std::string text;
  try {
    text = varnock::bench::CollectionBenchText(std::filesystem::path(VARNOCK_SHARED_DIR) / "corpus");
  } catch (const std::exception& error) {
    std::cerr << "eco_bench: " << error.what() << '\n';
    return 2;
  }
  BenchCollection collection(std::move(text));
  if (collection.GameCount() == 0) {
    std::cerr << "eco_bench: no games\n";
    return 2;
  }
  std::cout << "eco_bench: a collection of " << collection.GameCount() << " games\n";

  benchmark::RegisterBenchmark("Eco/StartDatabase", StartDatabase)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(
      "Eco/FetchAll/LoadAndClassify/MoveOrder",
      [&](benchmark::State& state) { FetchAll(state, collection, EcoMethod::MoveOrder, true); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark(
      "Eco/FetchAll/LoadAndClassify/Transposition",
      [&](benchmark::State& state) { FetchAll(state, collection, EcoMethod::Transposition, true); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3);
  benchmark::RegisterBenchmark("Eco/FetchAll/ClassifyLoaded/MoveOrder", [&](benchmark::State& state) {
    FetchAll(state, collection, EcoMethod::MoveOrder, false);
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Eco/FetchAll/ClassifyLoaded/Transposition", [&](benchmark::State& state) {
    FetchAll(state, collection, EcoMethod::Transposition, false);
  })->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
