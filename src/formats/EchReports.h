// The reports of the ECH reader. Line numbers and extracts are counted as the
// PGN reader counts them (PgnReports.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnock {

std::string EchMoveErrorText(int gameNumber, int line, std::string_view move);
std::string EchFenErrorText(int gameNumber, int line, std::string_view message, std::string_view extract);
std::string EchFenWarningText(int gameNumber, int line, std::string_view message, std::string_view extract);

}  // namespace varnock
