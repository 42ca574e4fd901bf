// A UserPrompt that answers No, Cancel and nothing to every question and
// keeps no record: for tests and tools that read files without anyone to ask.
#pragma once

#include "core/UserPrompt.h"

namespace varnock::testing {

class SilentPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  bool AskOkCancel(const std::string&, const std::string&) override { return false; }
  void Inform(const std::string&, const std::string&) override {}
  std::optional<int> Choose(const std::string&, const std::vector<std::string>&) override { return std::nullopt; }
  std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFileToSave(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void ShowFile(const std::string&, const std::string&) override {}
};

}  // namespace varnock::testing
