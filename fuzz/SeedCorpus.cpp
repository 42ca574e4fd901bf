// Makes the ECH, FEN and explorer seeds from the PGN seeds: every PGN game
// is written as an ECH game, positions along its main line as FENs, and runs
// of games counted into small explorer statistics (raw and compressed, in
// pages small enough for several levels).
//
//   varnock_fuzz_seeds PGN_DIR ECH_DIR FEN_DIR EXPLORER_DIR
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <vector>

#include "formats/EchWriter.h"
#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "openings/CompressedContainer.h"
#include "openings/GamePositions.h"
#include "openings/StatsBuilder.h"
#include "tree/Positions.h"

namespace fs = std::filesystem;
using namespace varnock;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// The root, the middle and the end of the main line.
std::vector<NodeRef> SampledPositions(const GameTree& tree) {
  std::vector<NodeRef> line;
  for (NodeRef node = tree.root; node != kNoNode; node = tree.Node(node).next) line.push_back(node);
  return {line.front(), line[line.size() / 2], line.back()};
}

// The explorer target's input: a form byte (1: compressed, 0: raw), then
// the statistics.
void WriteExplorerSeed(const fs::path& dir, int number, bool compressed, const std::vector<std::uint8_t>& data) {
  std::string seed(1, compressed ? '\1' : '\0');
  seed.append(reinterpret_cast<const char*>(data.data()), data.size());
  if (seed.size() <= 4096) WriteFile(dir / ("corpus-" + std::to_string(number) + ".bin"), seed);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: varnock_fuzz_seeds PGN_DIR ECH_DIR FEN_DIR EXPLORER_DIR\n";
    return 2;
  }
  const fs::path pgnDir = argv[1], echDir = argv[2], fenDir = argv[3], explorerDir = argv[4];
  fs::create_directories(echDir);
  fs::create_directories(fenDir);
  fs::create_directories(explorerDir);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(pgnDir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  std::set<std::string> fens;
  int echSeeds = 0, explorerSeeds = 0;
  // Runs of 1, 2, 3, ... games, counted to a depth that grows with the run.
  StatsBuilder stats;
  std::size_t run = 1, inRun = 0;
  std::vector<std::uint64_t> facts;
  for (const fs::path& file : files) {
    std::string text = ReadFile(file);
    CleanFileText(text);
    NodeStore store;
    SErrorList errors;
    PgnReadContext ctx;
    ctx.text = text;
    ctx.errors = &errors;
    SGridFrame game(store);
    if (!Do_FilePGN(game, ReadMode::Full, ctx)) continue;
    std::string ech;
    WriteEchGame(game, false, ech);
    WriteFile(echDir / (file.stem().string() + ".ech"), ech);
    ++echSeeds;
    GameTree& tree = game.Tree();
    for (NodeRef node : SampledPositions(tree)) fens.insert(NodeFEN(store, node, BoardAt(store, node)));

    facts.clear();
    CollectGamePositions(tree, PositionWalk{false, static_cast<int>(4 + 2 * run)}, facts);
    stats.AddGame(facts, static_cast<GameOutcome>(echSeeds % 3));
    if (++inRun == run && explorerSeeds < 200) {
      const std::vector<std::uint8_t> pages = stats.TreeBytes(run % 2 ? 300 : 4096, run % 3 ? 3 : 1024);
      WriteExplorerSeed(explorerDir, ++explorerSeeds, false, pages);
      WriteExplorerSeed(explorerDir, ++explorerSeeds, true, DeflateContainer(pages));
      stats = StatsBuilder();
      run = run % 8 + 1, inRun = 0;
    }
  }
  int fenSeeds = 0;
  for (const std::string& fen : fens) WriteFile(fenDir / ("corpus-" + std::to_string(++fenSeeds) + ".fen"), fen);
  std::cout << "varnock_fuzz_seeds: " << echSeeds << " ECH, " << fenSeeds << " FEN and " << explorerSeeds
            << " explorer seeds from " << files.size() << " PGN seeds\n";
  return 0;
}
