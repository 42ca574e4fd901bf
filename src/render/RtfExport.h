// The export commands around the RTF writer: a game to an RTF file, a
// position as an RTF diagram, a position as an ASCII diagram.
#pragma once

#include <filesystem>
#include <string>

#include "core/Board.h"
#include "core/UserPrompt.h"
#include "render/RtfDocument.h"

namespace varnock {

// The document of a game: laid out in RTF mode (variations after the option)
// and wrapped by RtfDocument. `prompt` hears of paragraphs left out for want
// of memory.
std::string GameRtf(GameTree& tree, const RtfGameSource& source, const RtfOptions& options,
                    UserPrompt* prompt = nullptr);

// Writes the game's document to `path` (replacing a file there, never
// leaving a partial one) and reports "File '%s' saved\r\n\r\n( %d  bytes )";
// a file that cannot be written is reported with the system's error text.
// Returns 1 on success.
int CmSaveRTF(GameTree& tree, const RtfGameSource& source, const RtfOptions& options, const std::string& path,
              UserPrompt& prompt);

// "%s/%d.rtf" in `folder` with the first number from 1 that names no file.
std::filesystem::path TemporaryRtfPath(const std::filesystem::path& folder);

// The clipboard text of an RTF diagram: the chess font at twice the board
// square size (clamped to 10..40 points).
std::string GridRtfText(const BoardSquares& board, int fontIndex, int boardSquareSize, bool reversed);
inline constexpr const char* kGridRtfCaption = "FrameWin::CmGridRTF()";
inline constexpr const char* kGridRtfCopied = "Diagram ( in MS Word format ) has been copied to the Windows Clipboard.";

// The clipboard text of an ASCII diagram.
std::string AsciiDiagramText(const BoardSquares& board, bool reversed, const std::string& initials);
inline constexpr const char* kAsciiCaption = "GetASCII()";
inline constexpr const char* kAsciiCopied = "ASCII text has been copied to the Windows Clipboard";

}  // namespace varnock
