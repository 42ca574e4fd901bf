#include "collection/DeferredPrompt.h"

#include <algorithm>

namespace varnock {

bool DeferredPrompt::AskYesNo(const std::string&, const std::string&) { return false; }

bool DeferredPrompt::AskOkCancel(const std::string&, const std::string&) { return false; }

void DeferredPrompt::Inform(const std::string& caption, const std::string& text) {
  messages_.push_back({false, caption, text});
}

std::optional<int> DeferredPrompt::Choose(const std::string&, const std::vector<std::string>&) { return std::nullopt; }

std::optional<std::string> DeferredPrompt::AskText(const std::string&, const std::string&, const std::string&) {
  return std::nullopt;
}

std::optional<std::string> DeferredPrompt::ChooseFileToOpen(const std::string&, const std::string&,
                                                            const std::string&) {
  return std::nullopt;
}

std::optional<std::string> DeferredPrompt::ChooseFileToSave(const std::string&, const std::string&,
                                                            const std::string&) {
  return std::nullopt;
}

void DeferredPrompt::ShowFile(const std::string& path, const std::string& title) {
  messages_.push_back({true, path, title});
}

void DeferredPrompt::ReplayTo(UserPrompt& prompt, std::size_t from, std::size_t to) const {
  to = std::min(to, messages_.size());
  for (std::size_t i = from; i < to; ++i) {
    const Message& message = messages_[i];
    if (message.showFile)
      prompt.ShowFile(message.first, message.second);
    else
      prompt.Inform(message.first, message.second);
  }
}

}  // namespace varnock
