#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace varnock::testing {

ScriptedPrompt::Answer ScriptedPrompt::Next(const Record& record) {
  records_.push_back(record);
  if (answers_.empty()) {
    if (declineUnscripted_) return {};
    ADD_FAILURE() << "unscripted question '" << record.caption << "': " << record.text;
    return {};
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

bool ScriptedPrompt::AskYesNo(const std::string& caption, const std::string& text) {
  return Next({Kind::YesNo, caption, text}).yes;
}

bool ScriptedPrompt::AskOkCancel(const std::string& caption, const std::string& text) {
  return Next({Kind::OkCancel, caption, text}).yes;
}

void ScriptedPrompt::Inform(const std::string& caption, const std::string& text) {
  records_.push_back({Kind::Inform, caption, text});
}

std::optional<int> ScriptedPrompt::Choose(const std::string& title, const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : "|") + item;
  Answer answer = Next({Kind::Choose, title, joined});
  return answer.yes ? answer.choice : std::nullopt;
}

std::optional<std::string> ScriptedPrompt::AskText(const std::string& title, const std::string& prompt,
                                                   const std::string&) {
  Answer answer = Next({Kind::Text, title, prompt});
  return answer.yes ? answer.text : std::nullopt;
}

std::optional<std::string> ScriptedPrompt::ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                            const std::string&) {
  Answer answer = Next({Kind::OpenFile, title, filter});
  return answer.yes ? answer.text : std::nullopt;
}

std::optional<std::string> ScriptedPrompt::ChooseFileToSave(const std::string& title, const std::string& filter,
                                                            const std::string&) {
  Answer answer = Next({Kind::SaveFile, title, filter});
  return answer.yes ? answer.text : std::nullopt;
}

void ScriptedPrompt::ShowFile(const std::string& path, const std::string& title) {
  records_.push_back({Kind::ShowFile, title, path});
}

const ScriptedPrompt::Record& ScriptedPrompt::Last() const {
  static const Record none{Kind::Inform, "", ""};
  return records_.empty() ? none : records_.back();
}

}  // namespace varnock::testing
