#include "engine/UciOptionsForm.h"

#include "core/Fen.h"
#include "core/Format.h"

namespace varnock {

UciOptionsForm::UciOptionsForm(std::vector<SEngine>& engines, std::string programDir, int processorCount,
                               bool fromComposer)
    : engines_(engines),
      programDir_(std::move(programDir)),
      processorCount_(processorCount),
      fromComposer_(fromComposer) {
  if (processorCount_ <= 1) oneProcessor = false;
}

void UciOptionsForm::CmAddEngine(const std::optional<std::string>& chosen, UserPrompt& prompt) {
  const char* caption = "SDlgUCIOptions::CmAddEngine()";
  if (!chosen) return;
  if (chosen->empty()) {
    prompt.Inform(caption, "No EXE filename");
    return;
  }
  const SEngine engine = EngineFromPath(*chosen, programDir_);
  for (const SEngine& listed : engines_) {
    if (FullPath(listed, programDir_) == FullPath(engine, programDir_)) {
      prompt.Inform(caption, Format("'%s'\r\n\r\nis already in the list", chosen->c_str()));
      return;
    }
  }
  lastDirectory_ = FullPath(SEngine{"", engine.directory}, programDir_);
  engines_.push_back(engine);
  prompt.Inform(caption, Format("'%s'\r\n\r\nProgram added to the list", chosen->c_str()));
}

void UciOptionsForm::RemoveSelected() {
  if (selection.size() != 1) return;
  const int row = selection.front();
  if (row < 0 || static_cast<std::size_t>(row) >= engines_.size()) return;
  engines_.erase(engines_.begin() + row);
  selection.clear();
  if (engines_.empty()) return;
  selection.push_back(std::min(row, static_cast<int>(engines_.size()) - 1));
}

bool UciOptionsForm::OnOK(UserPrompt& prompt) {
  const char* caption = "SDlgUCIOptions::OnOK()";
  if (engines_.empty()) {
    prompt.Inform(caption, "No UCI chess engines are in the list");
    return false;
  }
  if (selection.empty()) {
    prompt.Inform(caption, "A UCI chess engine needs to be selected from the list");
    return false;
  }
  if (selection.size() > 1) {
    prompt.Inform(caption, "Multiple UCI chess engines cannot be selected");
    return false;
  }
  const int row = selection.front();
  if (row < 0 || static_cast<std::size_t>(row) >= engines_.size()) {
    prompt.Inform(caption, "A UCI chess engine needs to be selected from the list");
    return false;
  }
  if (useFen && !fromComposer_) {
    FENExtras parsed;
    FenCheck check = ParseFEN(fen, parsed);
    if (!check.ok) {
      prompt.Inform(caption, Format("'%s'\r\n\r\nInvalid FEN string.\r\n%s", fen.c_str(), check.message.c_str()));
      return false;
    }
  }
  enginePath_ = FullPath(engines_[static_cast<std::size_t>(row)], programDir_);
  return true;
}

}  // namespace varnock
