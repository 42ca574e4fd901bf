#include "formats/EchValues.h"

namespace varnock {

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\\' || c == ']') out += '\\';
    out += c;
  }
}

std::size_t FindValueEnd(std::string_view text, std::size_t start) {
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] == ']') return i;
    if (text[i] == '\\') ++i;  // the next character belongs to the value
  }
  return std::string_view::npos;
}

std::string Unescape(std::string_view body) {
  std::string value;
  value.reserve(body.size());
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) ++i;
    value += body[i];
  }
  return value;
}

std::string DecodeTextValue(std::string_view body) {
  std::string value;
  value.reserve(body.size() + 8);
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) ++i;
    const char c = body[i];
    if (c == '\r') continue;
    if (c == '\n') value += '\r';
    value += c;
  }
  return value;
}

}  // namespace varnock
