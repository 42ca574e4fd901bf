// Property values of ECH text: a value runs from "[" to the first "]" that no
// backslash escapes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnock {

// Appends text as a value body: a backslash goes before every backslash and
// every "]".
void AppendEscaped(std::string& out, std::string_view text);

// The index of the "]" that closes a value whose body starts at `start`, or
// std::string_view::npos when the text ends first.
std::size_t FindValueEnd(std::string_view text, std::size_t start);

// A value body with its escapes resolved: each backslash pair yields its
// second character.
std::string Unescape(std::string_view body);

// A text value body (header fields, comments): escapes resolved, CRs dropped,
// and each LF made a CR LF.
std::string DecodeTextValue(std::string_view body);

}  // namespace varnock
