// varnock-cli ascii, diagram, gif and rtf, run as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RenderTesting.h"
#include "support/CliRunner.h"

namespace varnock::testing {
namespace {

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(CliRender, TextDiagrams) {
  CliRun run = RunCli({"ascii", kStart});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with(" -----------------\r\n| r n b q k b n r | \r\n"));
  EXPECT_TRUE(run.out.ends_with("| R N B Q K B N R | \r\n -----------------\r\n"));

  run = RunCli({"diagram", kStart, "--font", "0", "--flip"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 24), "1222222223\r\n4rHbKqBhR5\r\n");

  EXPECT_EQ(RunCli({"diagram", kStart, "--font", "9"}).status, 2);
  EXPECT_EQ(RunCli({"ascii", "not a fen"}).status, 2);
  // Touching kings: refused, nothing printed.
  run = RunCli({"ascii", "8/8/8/3kK3/8/8/8/8 w - - 0 1"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

// varnock-cli starts without the graphics libraries and hands the drawing
// commands to varnock-cli-render beside it; without that program a drawing
// command fails with a message, not a crash.
TEST(CliRender, DrawingCommandsAreHandedToTheRendererBeside) {
  const CommandResult libraries = RunCommand("ldd '" + std::string(VARNOCK_CLI) + "' 2>&1");
  EXPECT_EQ(libraries.out.find("libQt"), std::string::npos) << libraries.out;
  // ldd did look: it lists the C library, or finds a static program.
  EXPECT_TRUE(libraries.out.find("libc.so") != std::string::npos ||
              libraries.out.find("not a dynamic executable") != std::string::npos)
      << libraries.out;

  const auto folder = ScratchFolder("cli-alone");
  const std::filesystem::path alone = folder / "varnock-cli";
  std::filesystem::copy_file(VARNOCK_CLI, alone, std::filesystem::copy_options::overwrite_existing);
  const CommandResult drawn = RunCommand("'" + alone.string() + "' ascii '" + kStart + "' 2>&1");
  EXPECT_NE(drawn.out.find("varnock-cli: cannot run " + (folder / "varnock-cli-render").string()), std::string::npos)
      << drawn.out;
  EXPECT_EQ(drawn.status, 2);
  const CommandResult parsed = RunCommand("'" + alone.string() + "' fen '" + kStart + "'");
  EXPECT_EQ(parsed.status, 0);
  EXPECT_TRUE(parsed.out.starts_with("valid")) << parsed.out;
}

TEST(CliRender, GifIsWrittenWholeOrNotAtAll) {
  const auto folder = ScratchFolder("cli-gif");
  const std::string out = (folder / "board.gif").string();
  CliRun run = RunCli({"gif", kStart, out, "--size", "20", "--bw", "--flip", "--font", "1"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "SGIFFile::Terminate(): '" + out + "'\\n\\nFile created\n");
  const std::string bytes = ReadWholeFile(out);
  ASSERT_GT(bytes.size(), 13u);
  EXPECT_EQ(bytes.substr(0, 10), std::string("GIF89a\xA8\x00\xA8\x00", 10));  // 8 * 20 + 8 = 168
  EXPECT_EQ(bytes.back(), ';');
  const auto decoded = RunCommand(std::string(VARNOCK_DEBIAN_PYTHON) + " -c \"from PIL import Image; i = Image.open('" +
                                  out + "'); print(i.size)\"");
  EXPECT_EQ(decoded.out, "(168, 168)\n");

  const std::string nowhere = (folder / "missing" / "board.gif").string();
  run = RunCli({"gif", kStart, nowhere});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("File could not be opened"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no leftovers
}

TEST(CliRender, RtfOfAGameInACollection) {
  const auto folder = ScratchFolder("cli-rtf");
  const std::string pgn = (folder / "two.pgn").string();
  {
    std::ofstream file(pgn, std::ios::binary);
    file << "[White \"A\"]\n[Black \"B\"]\n\n1. e4 e5 *\n\n[White \"C\"]\n[Black \"D\"]\n\n1. d4 {Solid} d5 (1... Nf6) "
            "*\n";
  }
  const std::string out = (folder / "game.rtf").string();
  CliRun run = RunCli({"rtf", pgn, "2", out});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string rtf = ReadWholeFile(out);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi"));
  EXPECT_NE(rtf.find("  [ 2/2 ]"), std::string::npos);
  EXPECT_NE(rtf.find("C, D"), std::string::npos);
  EXPECT_NE(rtf.find("Solid"), std::string::npos);
  EXPECT_NE(rtf.find("Ng8-f6"), std::string::npos);
  EXPECT_EQ(run.err,
            "FrameWin::CmSaveRTF(): File '" + out + "' saved\\n\\n( " + std::to_string(rtf.size()) + "  bytes )\n");

  EXPECT_EQ(RunCli({"rtf", pgn, "3", out}).status, 2);
  EXPECT_EQ(RunCli({"rtf", pgn, "x", out}).status, 2);
}

}  // namespace
}  // namespace varnock::testing
