// Makes the ECH and FEN seeds from the PGN seeds: every PGN game is written
// as an ECH game, and positions along its main line as FENs.
//
//   varnock_fuzz_seeds PGN_DIR ECH_DIR FEN_DIR
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: varnock_fuzz_seeds PGN_DIR ECH_DIR FEN_DIR\n";
    return 2;
  }
  const fs::path pgnDir = argv[1], echDir = argv[2], fenDir = argv[3];
  fs::create_directories(echDir);
  fs::create_directories(fenDir);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(pgnDir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  std::set<std::string> fens;
  int echSeeds = 0;
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
  }
  int fenSeeds = 0;
  for (const std::string& fen : fens) WriteFile(fenDir / ("corpus-" + std::to_string(++fenSeeds) + ".fen"), fen);
  std::cout << "varnock_fuzz_seeds: " << echSeeds << " ECH and " << fenSeeds << " FEN seeds from " << files.size()
            << " PGN seeds\n";
  return 0;
}
