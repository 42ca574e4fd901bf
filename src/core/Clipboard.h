// Where the program puts text for other programs to paste.
#pragma once

#include <string>

namespace varnock {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace varnock
