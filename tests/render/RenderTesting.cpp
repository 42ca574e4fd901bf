#include "RenderTesting.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "formats/PgnReader.h"
#include "render/ChessFontFiles.h"
#include "support/ScriptedPrompt.h"

namespace varnock::testing {

void StartRenderSession() {
  static const bool started = [] {
    // The application lives for the whole test run; Qt's own globals go
    // away after static objects, so it is never destroyed.
    if (!QGuiApplication::instance()) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      static int argc = 1;
      static char name[] = "render_tests";
      static char* argv[] = {name, nullptr};
      static QGuiApplication* application = new QGuiApplication(argc, argv);
      (void)application;
    }
    ScriptedPrompt prompt;
    LoadChessFonts(std::filesystem::path(VARNOCK_SOURCE_DIR) / "data" / "Fonts", prompt);
    return true;
  }();
  (void)started;
}

std::unique_ptr<SGridFrame> ReadPgnGame(const std::string& text, NodeStore& store) {
  auto game = std::make_unique<SGridFrame>(store);
  SErrorList errors;
  ScriptedPrompt prompt;
  PgnReadContext context;
  context.text = text;
  context.errors = &errors;
  context.prompt = &prompt;
  if (!Do_FilePGN(*game, ReadMode::Full, context)) return nullptr;
  return game;
}

namespace {

// The folder of this run's files, removed when the tests end.
struct RunFolder {
  std::filesystem::path path = std::filesystem::temp_directory_path() / ("varnock-render-" + std::to_string(getpid()));
  ~RunFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
};

}  // namespace

std::filesystem::path ScratchFolder(const std::string& name) {
  static RunFolder run;
  const std::filesystem::path folder = run.path / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace varnock::testing
