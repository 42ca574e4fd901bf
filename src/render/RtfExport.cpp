#include "render/RtfExport.h"

#include <algorithm>

#include "core/Format.h"
#include "formats/AtomicFile.h"
#include "render/ChessFontMap.h"
#include "render/ScoreLayout.h"
#include "render/TextDiagram.h"

namespace varnock {

std::string GameRtf(GameTree& tree, const RtfGameSource& source, const RtfOptions& options, UserPrompt* prompt) {
  ScoreLayoutOptions layoutOptions;
  layoutOptions.initials = source.initials;
  layoutOptions.rtf = options;
  ScoreLayout layout(kRtfLayout, layoutOptions, prompt);
  RtfGameSource withTree = source;
  withTree.tree = &tree;
  return RtfDocument(withTree, options, layout.Layout(tree, options.allLines));
}

int CmSaveRTF(GameTree& tree, const RtfGameSource& source, const RtfOptions& options, const std::string& path,
              UserPrompt& prompt) {
  const std::string document = GameRtf(tree, source, options, &prompt);
  AtomicFile file;
  if (!file.Open(path)) {
    prompt.Inform("CreateFile()",
                  Format("'%s'\n%s\nError Code is %d", path.c_str(), file.errorText.c_str(), file.errorCode));
    return 0;
  }
  if (!file.Write(document) || !file.Commit()) {
    prompt.Inform("FrameWin::CmSaveRTF()", "WriteFile failed");
    return 0;
  }
  prompt.Inform("FrameWin::CmSaveRTF()",
                Format("File '%s' saved\r\n\r\n( %d  bytes )", path.c_str(), static_cast<int>(document.size())));
  return 1;
}

std::filesystem::path TemporaryRtfPath(const std::filesystem::path& folder) {
  std::error_code error;
  for (int number = 1;; ++number) {
    std::filesystem::path candidate = folder / (std::to_string(number) + ".rtf");
    if (!std::filesystem::exists(candidate, error)) return candidate;
  }
}

std::string GridRtfText(const BoardSquares& board, int fontIndex, int boardSquareSize, bool reversed) {
  const SChessFont font = ChessFontOf(fontIndex);
  const int size = std::clamp(boardSquareSize, 10, 40);
  std::string text = Format(
      "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset%d "
      "%s;}}{\\colortbl\\red0\\green0\\blue0}\\deflang2057\\pard\\cf0{\\qc\\f5\\fs%d ",
      font.charset, std::string(font.faceName).c_str(), 2 * size);
  TextDiagramOptions diagram;
  diagram.mode = DiagramModeOf(fontIndex);
  diagram.rtf = true;
  diagram.reversed = reversed;
  AppendTextDiagram(text, board, diagram);
  text += "\\par}}";
  return text;
}

std::string AsciiDiagramText(const BoardSquares& board, bool reversed, const std::string& initials) {
  TextDiagramOptions diagram;
  diagram.mode = kAsciiDiagram;
  diagram.reversed = reversed;
  diagram.initials = initials;
  return TextDiagram(board, diagram);
}

}  // namespace varnock
