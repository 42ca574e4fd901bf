#include <charconv>
#include <chrono>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"
#include "core/Fen.h"
#include "engine/AnalysisModel.h"
#include "engine/BlockingEventQueue.h"

namespace varnock::cli {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::optional<int> WholeNumber(const std::string& text, int lowest, int highest) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

std::optional<double> Seconds(const std::string& text) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (used != text.size() || !std::isfinite(value) || value <= 0 || value > 86400) return std::nullopt;
  return value;
}

}  // namespace

// analyse FEN --engine PATH [--seconds S] [--lines N] [--hash MB]: runs the
// engine on the position, then prints the analysis list as the window shows
// it at the end and the best line.
int CommandAnalyse(const Args& args) {
  std::vector<std::string> positional;
  std::string engine;
  double seconds = 5;
  int lines = 1;
  int hash = 32;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--engine" && hasValue) {
      engine = args[++i];
    } else if (arg == "--seconds" && hasValue) {
      std::optional<double> value = Seconds(args[++i]);
      if (!value) return UsageError("analyse: --seconds takes a number of seconds above 0");
      seconds = *value;
    } else if (arg == "--lines" && hasValue) {
      std::optional<int> value = WholeNumber(args[++i], 1, 500);
      if (!value) return UsageError("analyse: --lines takes a whole number from 1 to 500");
      lines = *value;
    } else if (arg == "--hash" && hasValue) {
      std::optional<int> value = WholeNumber(args[++i], 1, 1 << 20);
      if (!value) return UsageError("analyse: --hash takes a number of megabytes from 1");
      hash = *value;
    } else if (arg.rfind("--", 0) == 0) {
      return UsageError("analyse: unknown option or missing value '" + arg + "'");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return UsageError("analyse takes one FEN text (quote it)");
  if (engine.empty()) return UsageError("analyse: --engine PATH is required");
  FENExtras parsed;
  FenCheck check = ParseFEN(positional[0], parsed);
  if (check.rejected) {
    std::cerr << "analyse: " << ConsolePrompt::OneLine(check.message) << '\n';
    return 2;
  }
  // A position with a warning is still given to the engine (which may well
  // refuse it), and the run counts as one with a reported problem.
  const bool fenWarning = !check.ok;
  if (fenWarning) std::cerr << "analyse: " << ConsolePrompt::OneLine(check.message) << '\n';

  ConsolePrompt prompt(false);
  BlockingEventQueue events;
  AnalysisSettings settings;
  settings.enginePath = engine;
  settings.hashMegabytes = hash;
  settings.lines = lines;
  AnalysisModel model(events, prompt, settings, AnalysisModel::kFixedFen, positional[0]);
  events.SetHandler([&model](const EngineEvent& event) { model.HandleEvent(event); });

  model.Start();
  // The seconds count from the start of the search: loading a large engine
  // may take a while. The handshake has its own limits.
  auto searching = [&model] {
    const SSebrand* driver = model.Driver();
    return driver && (driver->CurrentState() == SSebrand::kAnalysing || driver->CurrentState() == SSebrand::kIdle);
  };
  while (!model.CloseRequested() && model.ThreadRunning() && !searching()) events.Pump(milliseconds(10));
  const bool idle = model.Driver() && model.Driver()->CurrentState() == SSebrand::kIdle;
  const auto end = Clock::now() + milliseconds(idle ? 0 : static_cast<long long>(seconds * 1000));
  while (!model.CloseRequested() && model.ThreadRunning() && Clock::now() < end) {
    const auto left = std::chrono::duration_cast<milliseconds>(end - Clock::now());
    events.Pump(std::clamp(left, milliseconds(1), milliseconds(50)));
  }
  const bool failed = model.CloseRequested();
  const bool notStarted = model.Driver() && model.Driver()->StartFailed() == SSebrand::StartFailure::NotStarted;
  if (!failed) model.StopOrRestart();
  // The search is stopped and the engine told "quit"; what it says until
  // then is still shown. The wait outlasts the driver's own limit for the
  // answer to "stop", so that an engine that gives none is reported.
  const auto quitEnd = Clock::now() + milliseconds(5000);
  while (model.ThreadRunning() && Clock::now() < quitEnd) events.Pump(milliseconds(20));
  const bool failedStopping = model.CloseRequested() && !failed;
  model.Close();
  if (notStarted) return 2;

  const AnalysisDisplay& display = model.Display();
  for (const AnalysisRow& row : display.rows) std::cout << row.depth << '\t' << row.score << '\t' << row.moves << '\n';
  // Until a depth is completed the window has no best line yet; the newest
  // line stands in for it.
  std::string best = display.bestLine;
  if (best.empty() && !display.rows.empty()) best = display.rows.front().moves;
  std::cout << "best\t" << best << '\n';
  return failed || failedStopping || fenWarning || prompt.Reports() > 0 ? 1 : 0;
}

}  // namespace varnock::cli
