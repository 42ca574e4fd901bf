// The texts of the system's own errors: its message for an error code and
// the program's usual way of quoting a file with it.
#pragma once

#include <string>

namespace varnock {

// The system's message for an error number (strerror).
std::string SystemMessage(int error);

// "'NAME'\nMESSAGE\nError Code is CODE".
std::string FileErrorText(const std::string& name, int error);

}  // namespace varnock
