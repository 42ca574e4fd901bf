// The error list of one load or save: the reports in order, and the numbers
// of the games that produced them.
#pragma once

#include <set>
#include <string>
#include <vector>

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

 private:
  std::vector<std::string> messages_;
  std::set<int> games_;
};

}  // namespace varnock
