#include "render/BoardCaption.h"

#include "core/Format.h"

namespace varnock {

namespace {

void AddPart(std::string& line, const std::string& part) {
  if (!line.empty()) line += "   ";
  line += part;
}

std::string NameOrNull(const std::string& name) { return name.empty() ? "(null)" : name; }

}  // namespace

std::vector<std::string> CaptionLines(const BoardCaptionValues& values) {
  std::vector<std::string> lines;
  if (values.showPlayers) {
    std::string line;
    if (values.count > 1) AddPart(line, Format("[%d/%d]", values.place, values.count));
    if (!values.board.empty()) AddPart(line, "[" + values.board + "]");
    if (!values.white.empty() || !values.black.empty())
      AddPart(line, NameOrNull(values.white) + " / " + NameOrNull(values.black));
    if (!line.empty()) {
      if (values.movesChanged) line += " **";
      lines.push_back(line);
    }
  }
  if (values.showFile && !values.fileName.empty()) {
    const std::size_t slash = values.fileName.find_last_of('/');
    std::string line = slash == std::string::npos ? values.fileName : values.fileName.substr(slash + 1);
    if (values.modified) line += " **";
    lines.push_back(line);
  }
  return lines;
}

std::string MoveCaption(const std::string& moveText, bool composedStart) {
  return composedStart ? "( composed )" : moveText;
}

}  // namespace varnock
