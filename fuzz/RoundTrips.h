// What the fuzz targets check, and the regression test with them: a text is
// read as a load reads it, each game is read again through Scan and Reread,
// written back and read once more. Each check returns an empty string when
// everything agreed, or a description of the first disagreement.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnock::fuzz {

// Games read from one text; the rest of the text is left alone, so that the
// nodes of one input stay few.
inline constexpr std::size_t kMaxGames = 12;

// The bytes are cleaned as a load cleans a file, then read as PGN games. A
// game written back and read again has the same main line and causes no
// report but the warning about its FEN; writing it a second time gives the
// same text.
std::string CheckPgnText(std::string_view bytes);

// The same for ECH games, which keep everything: the whole game written a
// second time gives the same text.
std::string CheckEchText(std::string_view bytes);

// A FEN that ParseFEN does not reject is written by FormatFEN; the written
// FEN is not rejected either and gives the same position.
std::string CheckFenText(std::string_view bytes);

}  // namespace varnock::fuzz
