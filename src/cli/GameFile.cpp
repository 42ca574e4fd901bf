#include "cli/GameFile.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

namespace varnock::cli {

std::optional<int> GameNumber(const std::string& text) {
  int number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1) return std::nullopt;
  return number;
}

std::optional<GameFileText> ReadGameFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "varnock-cli: cannot read '" << path << "'\n";
    return std::nullopt;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  GameFileText file;
  file.text = buffer.str();
  CleanFileText(file.text);
  file.type = DetectFileType(file.text);
  if (file.type == kFileNone) {
    std::cerr << "varnock-cli: '" << path << "' is not recognised as being either a PGN or ECH file\n";
    return std::nullopt;
  }
  return file;
}

}  // namespace varnock::cli
