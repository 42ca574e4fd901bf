#include "engine/EngineCapabilities.h"

#include <algorithm>

#include "core/Format.h"
#include "engine/OptionNamePattern.h"
#include "engine/UciText.h"

namespace varnock {

namespace {

constexpr std::size_t kLongestOptionName = 79;

}  // namespace

void EngineCapabilities::Record(std::string_view text) {
  const bool check = FindIgnoringCase(text, "type check") != kNoMatch;
  const bool spin = FindIgnoringCase(text, "type spin") != kNoMatch;
  if (check && BeginsWithWord(text, "UCI_AnalyseMode")) {
    analyseMode = true;
  } else if (check && BeginsWithWord(text, "UCI_ShowCurrLine")) {
    showCurrLine = true;
  } else if (spin && BeginsWithWord(text, "MultiPV")) {
    multiPV = true;
    // Whatever the engine says, one line is always a valid request.
    if (NumberAfter(text, "min")) multiPVMin = 1;
    if (std::optional<int> max = NumberAfter(text, "max")) multiPVMax = *max;
    if (multiPVMax < multiPVMin) multiPVMax = multiPVMin + 1;
  } else if (spin && BeginsWithWord(text, "Hash")) {
    hash = true;
    if (std::optional<int> min = NumberAfter(text, "min")) hashMin = std::max(*min, 0);
    if (std::optional<int> max = NumberAfter(text, "max")) hashMax = *max;
    if (hashMax <= hashMin) hashMax = hashMin + 16;
  } else if (spin) {
    const std::size_t nameEnd = MatchNamePattern(text, kProcessorOptionPattern);
    if (nameEnd == 0) return;
    processors = true;
    processorOption = std::string(text.substr(0, std::min(nameEnd, kLongestOptionName)));
    if (std::optional<int> min = NumberAfter(text.substr(nameEnd), "min")) processorMin = *min <= 0 ? 1 : *min;
    if (std::optional<int> max = NumberAfter(text.substr(nameEnd), "max")) processorMax = *max;
    if (processorMax <= processorMin) processorMax = processorMin;
  }
}

std::string OptionCommands(const EngineCapabilities& engine, const OptionRequest& request) {
  std::string commands;
  if (engine.multiPV && request.lines > 1) {
    const int value = std::max(engine.multiPVMin, std::min(engine.multiPVMax, request.lines));
    commands += Format("setoption name MultiPV value %d\r\n", value);
  }
  if (engine.hash) {
    const int value = std::max(engine.hashMin, std::min(engine.hashMax, request.hashMegabytes));
    commands += Format("setoption name Hash value %d\r\n", value);
  }
  if (engine.processors && request.processorCount > 1 && request.oneProcessor) {
    const int value = engine.processorMin < 2 ? 1 : engine.processorMin;
    commands += Format("setoption name %s value %d\r\n", engine.processorOption.c_str(), value);
  }
  if (engine.analyseMode) commands += Format("setoption name UCI_AnalyseMode value %s\r\n", "true");
  if (engine.showCurrLine) commands += Format("setoption name UCI_ShowCurrLine value %s\r\n", "true");
  commands += "isready\r\n";
  return commands;
}

}  // namespace varnock
