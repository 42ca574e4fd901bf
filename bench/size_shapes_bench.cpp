// size_shapes_bench: each game shape that once took time growing with the
// square of its size, at 10x, 100x and 1000x its unit size: read, written as
// PGN and ECH, and freed. Prints the seconds of each step and how much the
// total grew from one size to the next (10 means linear growth).
#include <chrono>
#include <cstdio>
#include <memory>

#include "formats/EchWriter.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "support/SilentPrompt.h"
#include "support/SizeShapes.h"

int main() {
  using namespace varnock;
  using Clock = std::chrono::steady_clock;
  const auto seconds = [](Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
  };
  std::printf("%-32s %8s %9s %9s %9s %9s %9s %7s\n", "shape", "size", "bytes", "read s", "pgn s", "ech s", "free s",
              "growth");
  for (const testing::SizeShape& shape : testing::SizeShapes()) {
    double previous = 0;
    for (int factor : {10, 100, 1000}) {
      const int size = shape.unit * factor;
      const std::string text = shape.make(size);
      NodeStore store;
      SErrorList errors;
      testing::SilentPrompt prompt;
      PgnReadContext ctx;
      ctx.text = text;
      ctx.errors = &errors;
      ctx.prompt = &prompt;
      auto game = std::make_unique<SGridFrame>(store);
      const auto start = Clock::now();
      Do_FilePGN(*game, ReadMode::Full, ctx);
      const auto read = Clock::now();
      std::string pgn, ech;
      WritePgnGame(*game, pgn, SaveExportOptions(false, true), std::nullopt);
      const auto pgnDone = Clock::now();
      WriteEchGame(*game, true, ech);
      const auto echDone = Clock::now();
      game.reset();
      const auto freed = Clock::now();
      const double total = seconds(start, freed);
      std::printf("%-32s %8d %9zu %9.4f %9.4f %9.4f %9.4f", shape.name, size, text.size(), seconds(start, read),
                  seconds(read, pgnDone), seconds(pgnDone, echDone), seconds(echDone, freed));
      if (previous > 0)
        std::printf(" %7.1f\n", total / previous);
      else
        std::printf(" %7s\n", "-");
      previous = total;
    }
  }
  return 0;
}
