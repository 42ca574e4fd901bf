// How core code asks the user something.
//
// Every confirmation, report and small choice of the program goes through this
// interface, with the caption and text the user sees. The desktop window answers
// with message boxes; varnock-cli answers on the terminal; tests answer from a
// script and record what was asked.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnock {

class UserPrompt {
 public:
  virtual ~UserPrompt() = default;

  // A Yes/No box; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // An OK/Cancel box; true for OK.
  virtual bool AskOkCancel(const std::string& caption, const std::string& text) = 0;
  // An information box with an OK button.
  virtual void Inform(const std::string& caption, const std::string& text) = 0;
  // A picker list (promotion piece, move rating, ...): the index chosen, or
  // nothing when cancelled.
  virtual std::optional<int> Choose(const std::string& title, const std::vector<std::string>& items) = 0;
  // A one-line text entry (a move number, a search text): the text, or nothing
  // when cancelled.
  virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                             const std::string& initial) = 0;

  // File dialogs. `filter` is written as pairs of caption and pattern, each
  // ended by "|", the whole ended by a second "|" ("PGN Files  ( *.pgn
  // )|*.pgn|All Files  ( *.* )|*.*||"). The chosen path, or nothing when
  // cancelled. The open dialog wants an existing file; the save dialog asks
  // before overwriting one.
  virtual std::optional<std::string> ChooseFileToOpen(const std::string& title, const std::string& filter,
                                                      const std::string& defaultExtension) = 0;
  virtual std::optional<std::string> ChooseFileToSave(const std::string& title, const std::string& filter,
                                                      const std::string& defaultExtension) = 0;
  // Shows a text file in the file viewer, under `title` when one is given.
  virtual void ShowFile(const std::string& path, const std::string& title) = 0;
};

}  // namespace varnock
