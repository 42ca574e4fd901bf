// How varnock-cli answers the program's questions: Yes/No questions are
// answered No unless --yes was given, and every question and report goes to
// stderr as "CAPTION: TEXT" (CR removed, LF shown as \n).
#pragma once

#include "core/UserPrompt.h"

namespace varnock::cli {

class ConsolePrompt : public UserPrompt {
 public:
  explicit ConsolePrompt(bool answerYes) : answerYes_(answerYes) {}

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  // Picker lists and text entries have no one to answer them: cancelled.
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override;
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override;

  // The text as one line: CR removed, LF written as the two characters \n.
  static std::string OneLine(const std::string& text);

 private:
  bool answerYes_;
};

}  // namespace varnock::cli
