// A UserPrompt for work done away from the user's thread.
//
// A reading thread may not talk to the window (or the terminal) itself: it
// hands its messages to this prompt, which keeps them, and the thread that
// owns the real prompt passes them on later in the order they were made.
// Questions cannot wait for an answer from another thread; they are answered
// No, Cancel or nothing, as when nobody is there to ask.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/UserPrompt.h"

namespace varnock {

class DeferredPrompt final : public UserPrompt {
 public:
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskOkCancel(const std::string& caption, const std::string& text) override;
  void Inform(const std::string& caption, const std::string& text) override;
  std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) override;
  std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                     const std::string& initial) override;
  std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                              const std::string& defaultExtension) override;
  void ShowFile(const std::string& path, const std::string& title) override;

  // How many messages are kept.
  std::size_t Count() const { return messages_.size(); }
  // Passes the kept messages [from, to) on to `prompt`, oldest first.
  void ReplayTo(UserPrompt& prompt, std::size_t from, std::size_t to) const;
  void ReplayTo(UserPrompt& prompt) const { ReplayTo(prompt, 0, Count()); }
  void Clear() { messages_.clear(); }

 private:
  struct Message {
    bool showFile = false;  // ShowFile(path = first, title = second), else Inform(caption = first, text = second)
    std::string first;
    std::string second;
  };
  std::vector<Message> messages_;
};

}  // namespace varnock
