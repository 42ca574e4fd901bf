// Text from game files as the screen shows it. The files hold 8-bit text
// in no declared encoding: a text that is valid UTF-8 is shown as UTF-8,
// any other as Latin-1, where every byte is a character. The bytes
// themselves are never changed; only what is shown is decoded.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace varnock {

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no
// over-long forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The bytes as UTF-8 when `utf8`, else as Latin-1.
QString DecodeText(std::string_view bytes, bool utf8);

// One text decided on its own: UTF-8 when valid, else Latin-1.
inline QString DisplayText(std::string_view bytes) { return DecodeText(bytes, IsValidUtf8(bytes)); }

// A text typed on the screen, to be stored: in Latin-1 when `latin1` and
// every character has a Latin-1 byte (so that a Latin-1 game stays one),
// else in UTF-8.
std::string EncodeText(const QString& text, bool latin1);

}  // namespace varnock
