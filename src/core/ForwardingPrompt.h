// A prompt that passes every question and report on to another one: the
// base of prompts that answer or watch a few requests themselves (the
// promotion piece chosen ahead, a picker of the board's own) and leave the
// rest to the user's prompt.
#pragma once

#include "core/UserPrompt.h"

namespace varnock {

class ForwardingPrompt : public UserPrompt {
 public:
  explicit ForwardingPrompt(UserPrompt& inner) : inner_(inner) {}

  bool AskYesNo(const std::string& caption, const std::string& text) override { return inner_.AskYesNo(caption, text); }
  bool AskOkCancel(const std::string& caption, const std::string& text) override {
    return inner_.AskOkCancel(caption, text);
  }
  void Inform(const std::string& caption, const std::string& text) override { inner_.Inform(caption, text); }
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override {
    return inner_.Choose(title, items);
  }
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override {
    return inner_.AskText(title, prompt, initial);
  }
  std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override {
    return inner_.ChooseFileToOpen(title, filter, defaultExtension);
  }
  std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override {
    return inner_.ChooseFileToSave(title, filter, defaultExtension);
  }
  void ShowFile(const std::string& path, const std::string& title) override { inner_.ShowFile(path, title); }

 private:
  UserPrompt& inner_;
};

}  // namespace varnock
