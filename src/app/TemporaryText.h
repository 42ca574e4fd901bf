// A text written to a new file of the temporary folder, for a viewer.
#pragma once

#include <optional>
#include <string>

#include "core/UserPrompt.h"

namespace varnock {

// Writes `text` to a new file "<folder>/<prefix>XXXXXX<suffix>"; its path,
// or nothing after a report when it cannot be written.
std::optional<std::string> WriteTemporaryText(const std::string& folder, const std::string& prefix,
                                              const std::string& suffix, const std::string& text, UserPrompt& prompt);

}  // namespace varnock
