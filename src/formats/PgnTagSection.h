// The tag section of a game in PGN output.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "formats/SGridFrame.h"

namespace varnock {

// The game's own text within the retained file text: empty when the game did
// not come from it or when its recorded place lies outside the text.
std::string_view GameTextOf(const SGridFrame& game, std::optional<std::string_view> fileText);

// Writes the tag section: the seven roster tags and Result always, the other
// modelled tags when set, SetUp and FEN for a game that does not start from
// the initial position, the tags of the game's file text that are not
// modelled, the blank line, and with `applicationLine` the "%AP[...]" line.
void WritePgnTagSection(SGridFrame& game, std::string& out, bool applicationLine,
                        std::optional<std::string_view> fileText);

// Scans the tag section at the start of a game's text and writes every tag
// with a value that the header does not model, one per line with no line
// end after the last. Returns whether it wrote any.
bool CopyTagsNotModelled(std::string& out, std::string_view gameText);

// How many bytes of a game's text (of `headerLength`, where the reader
// found its first move) a regenerated tag section replaces: the tags and the
// white space after them, so that a comment before the first move is kept;
// all of `headerLength` when anything else than comments lies there.
std::size_t ReplacedHeaderLength(std::string_view gameText, std::size_t headerLength);

}  // namespace varnock
