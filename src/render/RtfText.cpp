#include "render/RtfText.h"

namespace varnock {

namespace {

struct Symbol {
  std::string_view text;
  std::string_view rtf;
};

// Longest first: " =" alone matches what the others leave.
constexpr Symbol kAssessments[] = {
    {" +/-", " {\\'bc}"},        {" -/+", " {\\'be}"}, {" +/=", " {\\u8540\\'3f}"},
    {" =/+", " {\\u8541\\'3f}"}, {" =", " {\\'bd}"},
};

}  // namespace

std::string ConvertRtfText(std::string_view text, bool userText) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end != std::string_view::npos) text = text.substr(0, end);
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ') {
      bool matched = false;
      for (const Symbol& symbol : kAssessments) {
        if (text.substr(i).starts_with(symbol.text)) {
          out += symbol.rtf;
          i += symbol.text.size();
          matched = true;
          break;
        }
      }
      if (matched) continue;
    }
    if (c == '{' || c == '}' || (userText && c == '\\')) out += '\\';
    out += c;
    ++i;
  }
  return out;
}

std::string EscapeRtfField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r' || c == '\n') continue;
    if (c == '{' || c == '}' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace varnock
