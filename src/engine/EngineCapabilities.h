// What an engine offers, as announced in its "option" lines, and the option
// commands sent to it once it has said "uciok".
#pragma once

#include <string>
#include <string_view>

namespace varnock {

struct EngineCapabilities {
  bool analyseMode = false;   // UCI_AnalyseMode, a check option
  bool showCurrLine = false;  // UCI_ShowCurrLine, a check option
  bool multiPV = false;
  int multiPVMin = 1;
  int multiPVMax = 32;
  bool hash = false;
  int hashMin = 1;
  int hashMax = 1024;
  bool processors = false;
  std::string processorOption;  // the engine's own name of the option, at most 79 characters
  int processorMin = 1;
  int processorMax = 1;

  // Takes one "option name" line: `text` is what follows "option name".
  void Record(std::string_view text);
};

// What the user asked for.
struct OptionRequest {
  int lines = 1;  // MultiPV
  int hashMegabytes = 32;
  bool oneProcessor = false;
  int processorCount = 1;  // processors of this computer
};

// The option commands and the closing "isready", as one text.
std::string OptionCommands(const EngineCapabilities& engine, const OptionRequest& request);

}  // namespace varnock
