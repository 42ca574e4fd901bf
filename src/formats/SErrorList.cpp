#include "formats/SErrorList.h"

namespace varnock {

void SErrorList::Add(std::string message, int gameNumber) {
  messages_.push_back(std::move(message));
  if (gameNumber > 0) games_.insert(gameNumber);
}

void SErrorList::Clear() {
  messages_.clear();
  games_.clear();
}

std::string SErrorList::Joined() const {
  std::string text;
  for (std::size_t i = 0; i < messages_.size(); ++i) {
    if (i) text += "\r\n\r\n--------------------------------------------------\r\n";
    text += messages_[i];
  }
  return text;
}

}  // namespace varnock
