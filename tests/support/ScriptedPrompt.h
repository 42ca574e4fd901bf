// A UserPrompt for tests: answers from a script and records every question.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"

namespace varnock::testing {

class ScriptedPrompt : public UserPrompt {
 public:
  enum class Kind { YesNo, OkCancel, Inform, Choose, Text, OpenFile, SaveFile, ShowFile };
  struct Record {
    Kind kind;
    std::string caption;  // the caption, or the title of a picker or text entry
    std::string text;     // the message, or the picker's items joined by '|'
  };

  // Scripted answers, consumed in order. Asking a question whose answer is
  // not scripted fails the test that asked it.
  ScriptedPrompt& Yes() { return Push(Answer{true, {}, {}}); }
  ScriptedPrompt& No() { return Push(Answer{false, {}, {}}); }
  ScriptedPrompt& Pick(int index) { return Push(Answer{true, index, {}}); }
  ScriptedPrompt& CancelPick() { return Push(Answer{false, std::nullopt, {}}); }
  ScriptedPrompt& Type(std::string text) { return Push(Answer{true, {}, std::move(text)}); }
  // The path a file dialog returns, or its cancellation.
  ScriptedPrompt& File(std::string path) { return Type(std::move(path)); }
  ScriptedPrompt& CancelFile() { return Push(Answer{false, {}, {}}); }

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override;
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override;
  // File dialogs are recorded with their filter as the text; ShowFile needs
  // no answer and records the path as the text.
  std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  void ShowFile(const std::string& path, const std::string& title) override;

  // Unscripted questions are answered No (or cancelled) instead of failing
  // the test: for loads of real files that may or may not report errors.
  ScriptedPrompt& DeclineUnscripted() {
    declineUnscripted_ = true;
    return *this;
  }

  const std::vector<Record>& Records() const { return records_; }
  const Record& Last() const;
  bool AllAnswersUsed() const { return answers_.empty(); }
  void Clear() { records_.clear(); }

 private:
  struct Answer {
    bool yes = false;
    std::optional<int> choice;
    std::optional<std::string> text;
  };
  ScriptedPrompt& Push(Answer answer) {
    answers_.push_back(std::move(answer));
    return *this;
  }
  Answer Next(const Record& record);

  std::deque<Answer> answers_;
  bool declineUnscripted_ = false;
  std::vector<Record> records_;
};

}  // namespace varnock::testing
