// The main window off screen: the time to open a collection and show its
// first game, and the time of one step through a long game with variations
// and comments (one "&Next Position" command: the board and the game text
// drawn again).
//
//   window_step [FILE]   FILE: a collection to time the open of (default:
//                        none); the game stepped through is built from the
//                        longest game of the corpus's TCEC file, whose engine
//                        lines become variations. The steps are timed twice:
//                        with the main window alone, and with the opening
//                        explorer open beside it (following every step).
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandRouter.h"
#include "app/ExplorerLink.h"
#include "app/ExplorerWindow.h"
#include "app/FrameWin.h"
#include "render/ChessFontFiles.h"
#include "support/SilentPrompt.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Run(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

// The longest game of the text, its engine lines ("pv=a b c d ...") turned
// into variations of four moves after every second comment.
std::string LongGameWithVariations(const std::string& text) {
  std::vector<std::string> games;
  std::size_t at = 0;
  while ((at = text.find("[Event ", at)) != std::string::npos) {
    const std::size_t next = text.find("\n[Event ", at + 1);
    games.push_back(text.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at));
    if (next == std::string::npos) break;
    at = next + 1;
  }
  const std::string& longest =
      *std::max_element(games.begin(), games.end(), [](auto& a, auto& b) { return a.size() < b.size(); });
  static const std::regex kComment(R"(\{[^}]*pv=([^ ,}]+) ([^ ,}]+) ([^ ,}]+) ([^ ,}]+)[^}]*\})");
  std::string out;
  auto begin = std::sregex_iterator(longest.begin(), longest.end(), kComment);
  std::size_t last = 0;
  int count = 0;
  for (auto it = begin; it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    out += longest.substr(last, static_cast<std::size_t>(m.position() + m.length()) - last);
    if (++count % 2 == 0) out += " (" + m[1].str() + " " + m[2].str() + " " + m[3].str() + " " + m[4].str() + ")";
    last = static_cast<std::size_t>(m.position() + m.length());
  }
  out += longest.substr(last);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  varnock::testing::SilentPrompt prompt;
  varnock::LoadChessFonts(varnock::DefaultFontFolder(), prompt);
  varnock::Settings settings;

  if (argc > 1) {
    varnock::FrameWin window(settings, prompt);
    window.show();
    QApplication::processEvents();
    if (std::getenv("VARNOCK_NO_PROGRESS")) window.Work().collection.buildObserver = nullptr;
    const auto start = Clock::now();
    window.OpenStartFile({argv[1]});
    window.repaint();
    std::printf("open and show the first game of %s: %.1f ms (%zu games)\n", argv[1], Ms(Clock::now() - start),
                window.Work().collection.Count());
  }

  const std::string tcec = std::string(VARNOCK_SHARED_DIR) + "/corpus/big/tcec/TCEC_Season_22_-_League_1.pgn.xz";
  const std::string game = LongGameWithVariations(Run("xz -dc '" + tcec + "'"));
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "varnock_window_step.pgn";
  std::ofstream(file, std::ios::binary) << game;

  varnock::FrameWin window(settings, prompt);
  window.resize(1400, 900);
  window.show();
  window.OpenStartFile({file.string()});
  QApplication::processEvents();
  varnock::CommandRouter& router = window.Router();
  for (const bool explorer : {false, true}) {
    if (explorer) {
      router.Run(varnock::CommandId::LaunchExplorer);
      if (!window.Explorer().Window()) {
        std::printf("the explorer did not open (no statistics database)\n");
        break;
      }
    }
    router.Run(varnock::CommandId::StartPosition);
    window.repaint();
    std::vector<double> steps;
    for (;;) {
      const varnock::NodeRef before = window.Work().Tree().current;
      const auto start = Clock::now();
      router.Run(varnock::CommandId::NextPosition);
      window.repaint();  // the board, the game text and the panes, drawn now
      if (explorer) window.Explorer().Window()->repaint();
      const auto took = Clock::now() - start;
      if (window.Work().Tree().current == before) break;
      steps.push_back(Ms(took));
    }
    std::sort(steps.begin(), steps.end());
    double sum = 0;
    for (double s : steps) sum += s;
    std::printf(
        "steps through %zu plies (%zu bytes of PGN, engine lines as variations)%s: mean %.2f ms, median %.2f ms, "
        "95th %.2f ms, max %.2f ms\n",
        steps.size(), game.size(), explorer ? ", explorer open" : "", steps.empty() ? 0 : sum / steps.size(),
        steps.empty() ? 0 : steps[steps.size() / 2], steps.empty() ? 0 : steps[steps.size() * 95 / 100],
        steps.empty() ? 0 : steps.back());
  }
  std::filesystem::remove(file);
  return 0;
}
