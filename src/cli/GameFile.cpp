#include "cli/GameFile.h"

#include <charconv>
#include <iostream>

#include "formats/LoadFile.h"

namespace varnock::cli {

std::optional<int> GameNumber(const std::string& text) {
  int number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1) return std::nullopt;
  return number;
}

std::optional<GameFileText> ReadGameFile(const std::string& path, UserPrompt& prompt) {
  std::optional<LoadedFile> loaded = Load_File(path, prompt);
  if (!loaded) return std::nullopt;
  GameFileText file;
  file.text = std::move(loaded->text);
  CleanFileText(file.text);
  file.type = DetectFileType(file.text.view());
  if (file.type == kFileNone) {
    std::cerr << "varnock-cli: '" << path << "' is not recognised as being either a PGN or ECH file\n";
    return std::nullopt;
  }
  return file;
}

}  // namespace varnock::cli
