// Plain text made fit for an RTF document.
#pragma once

#include <string>
#include <string_view>

namespace varnock {

// The text up to its first CR or LF with "{" and "}" escaped and the
// assessment texts turned into RTF symbols (" +/-", " -/+", " +/=", " =/+",
// " ="). With `userText` a backslash is escaped too: comments and header
// fields are the user's words, while the layout's own texts carry RTF
// control words ("\tab").
std::string ConvertRtfText(std::string_view text, bool userText);

// A header field or path for the information table: braces and backslashes
// escaped (a path's backslashes thus doubled), line ends dropped.
std::string EscapeRtfField(std::string_view text);

}  // namespace varnock
