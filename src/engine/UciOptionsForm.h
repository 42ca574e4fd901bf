// The UCI options dialog (SDlgUCIOptions) without the window: the engine
// list with its add and remove commands, the analysis settings, the choice
// of position, and the checks made when the user presses OK.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"
#include "engine/EngineList.h"

namespace varnock {

class UciOptionsForm {
 public:
  // `engines` is the main window's engine list; adding and removing change it.
  // `programDir` is the data folder relative entries are kept under.
  UciOptionsForm(std::vector<SEngine>& engines, std::string programDir, int processorCount, bool fromComposer);

  static constexpr const char* kTitle = " UCI Chess Engine Options";
  static constexpr const char* kFileDialogTitle = "Select UCI Chess Engine";

  // "Add Engine": `chosen` is what the file dialog returned (nothing when it
  // was cancelled).
  void CmAddEngine(const std::optional<std::string>& chosen, UserPrompt& prompt);
  // Removes the selected entry and selects the one that takes its place.
  void RemoveSelected();
  // The checks of OK; on success EnginePath() is the selected engine.
  bool OnOK(UserPrompt& prompt);

  const std::vector<SEngine>& Engines() const { return engines_; }
  std::vector<int> selection;  // selected rows of the list
  int hashMegabytes = 32;
  bool multiPV = true;
  int lines = 8;
  bool oneProcessor = false;
  bool useFen = false;  // "Use FEN" rather than "Follow Varnock"
  std::string fen;

  bool OneProcessorShown() const { return processorCount_ > 1; }
  bool PositionChoiceShown() const { return !fromComposer_; }
  const std::string& EnginePath() const { return enginePath_; }
  // The folder the file dialog starts in: where the last engine was added from.
  const std::string& LastDirectory() const { return lastDirectory_; }

 private:
  std::vector<SEngine>& engines_;
  std::string programDir_;
  int processorCount_;
  bool fromComposer_;
  std::string enginePath_;
  std::string lastDirectory_;
};

}  // namespace varnock
