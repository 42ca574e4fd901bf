#include "formats/SystemError.h"

#include <cstring>

#include "core/Format.h"

namespace varnock {

std::string SystemMessage(int error) { return std::strerror(error); }

std::string FileErrorText(const std::string& name, int error) {
  return Format("'%s'\n%s\nError Code is %d", name.c_str(), SystemMessage(error).c_str(), error);
}

}  // namespace varnock
