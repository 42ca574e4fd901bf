// How varnock-cli answers the program's questions: Yes/No questions are
// answered No unless --yes was given, and every question and report goes to
// stderr as "CAPTION: TEXT" (CR removed, LF shown as \n).
#pragma once

#include "core/UserPrompt.h"

namespace varnock::cli {

class ConsolePrompt : public UserPrompt {
 public:
  explicit ConsolePrompt(bool answerYes) : answerYes_(answerYes), answerOk_(answerYes) {}
  // OK/Cancel boxes answered OK without --yes: for commands whose running is
  // the go-ahead the box asks for.
  void AnswerOk() { answerOk_ = true; }

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  // Picker lists and text entries have no one to answer them: cancelled.
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override;
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override;
  // Commands name their files on the command line: a file dialog answers
  // with the path given to AnswerFileDialogsWith, else it is cancelled. A
  // file to show is named on stderr.
  std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  void ShowFile(const std::string& path, const std::string& title) override;

  void AnswerFileDialogsWith(std::string path) { fileAnswer_ = std::move(path); }

  // How many information boxes were shown.
  int Reports() const { return reports_; }
  // The caption and text of the last information box.
  const std::string& LastInformCaption() const { return lastCaption_; }
  const std::string& LastInformText() const { return lastText_; }

  // The text as one line: CR removed, LF written as the two characters \n.
  static std::string OneLine(const std::string& text);

 private:
  bool answerYes_;
  bool answerOk_;
  std::optional<std::string> fileAnswer_;
  std::string lastCaption_, lastText_;
  int reports_ = 0;
};

}  // namespace varnock::cli
