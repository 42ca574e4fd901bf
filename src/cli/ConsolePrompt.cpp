#include "cli/ConsolePrompt.h"

#include <iostream>

namespace varnock::cli {

std::string ConsolePrompt::OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line;
}

bool ConsolePrompt::AskYesNo(const std::string& caption, const std::string& text) {
  std::cerr << caption << ": " << OneLine(text) << " -> " << (answerYes_ ? "Yes" : "No") << '\n';
  return answerYes_;
}

bool ConsolePrompt::AskOkCancel(const std::string& caption, const std::string& text) {
  std::cerr << caption << ": " << OneLine(text) << " -> " << (answerOk_ ? "OK" : "Cancel") << '\n';
  return answerOk_;
}

void ConsolePrompt::Inform(const std::string& caption, const std::string& text) {
  ++reports_;
  lastCaption_ = caption;
  lastText_ = text;
  std::cerr << caption << ": " << OneLine(text) << '\n';
}

std::optional<int> ConsolePrompt::Choose(const std::string& title, const std::vector<std::string>&) {
  std::cerr << title << ": (no choice) -> Cancel\n";
  return std::nullopt;
}

std::optional<std::string> ConsolePrompt::AskText(const std::string& title, const std::string& prompt,
                                                  const std::string&) {
  std::cerr << title << ": " << OneLine(prompt) << " -> Cancel\n";
  return std::nullopt;
}

std::optional<std::string> ConsolePrompt::ChooseFileToOpen(const std::string& title, const std::string&,
                                                           const std::string&) {
  std::cerr << title << ": -> " << (fileAnswer_ ? *fileAnswer_ : std::string("Cancel")) << '\n';
  return fileAnswer_;
}

std::optional<std::string> ConsolePrompt::ChooseFileToSave(const std::string& title, const std::string&,
                                                           const std::string&) {
  std::cerr << title << ": -> " << (fileAnswer_ ? *fileAnswer_ : std::string("Cancel")) << '\n';
  return fileAnswer_;
}

void ConsolePrompt::ShowFile(const std::string& path, const std::string& title) {
  std::cerr << (title.empty() ? std::string("File") : title) << ": " << path << '\n';
}

}  // namespace varnock::cli
