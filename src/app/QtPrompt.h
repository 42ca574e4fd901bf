// Questions and reports as the window shows them: application-modal message
// boxes with the caption as their title, pickers, one-line entries and the
// file dialogs.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/UserPrompt.h"

namespace varnock {

class QtPrompt : public UserPrompt {
 public:
  // `viewer` opens a file in the file viewer (ShowFile).
  QtPrompt(QWidget* parent, std::function<void(const std::string& path)> viewer);

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

  // The parent of the boxes (the main window once it exists).
  void SetParent(QWidget* parent) { parent_ = parent; }

 private:
  QWidget* parent_;
  std::function<void(const std::string&)> viewer_;
};

// "PGN Files  ( *.pgn )|*.pgn|All Files  ( *.* )|*.*||" as a Qt filter:
// "PGN Files  ( *.pgn ) (*.pgn);;All Files  ( *.* ) (*)".
QString QtFileFilter(const std::string& filter);
// A program text for the screen: UTF-8 when it is valid UTF-8, else Latin-1.
QString ScreenText(const std::string& text);
// A message text with its "\r\n" line ends as the box shows them.
QString MessageText(const std::string& text);

}  // namespace varnock
