// The error list of one load or save: the reports in order, and the numbers
// of the games that produced them.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/UserPrompt.h"

namespace varnock {

class SErrorList {
 public:
  // Appends a report for a game (game number 0: no game).
  void Add(std::string message, int gameNumber);
  void Clear();
  bool Empty() const { return messages_.empty(); }

  const std::vector<std::string>& Messages() const { return messages_; }
  const std::set<int>& GameNumbers() const { return games_; }
  // All reports joined as the error file joins them.
  std::string Joined() const;

  // Asks whether the user wishes to see the errors and, if so, stores them
  // and shows the file.
  void Display(UserPrompt& prompt, const std::string& namePrefix, const std::string& viewerTitle,
               const std::string& tempFolder) const;
  // Writes the joined reports to a new file "PREFIX_N.txt" in the temporary
  // folder (N from the current time in seconds + 1 up to the first free
  // name) and shows it; returns the file's path, or "" when it could not be
  // written.
  std::string Store(UserPrompt& prompt, const std::string& namePrefix, const std::string& viewerTitle,
                    const std::string& tempFolder) const;

 private:
  std::vector<std::string> messages_;
  std::set<int> games_;
};

}  // namespace varnock
