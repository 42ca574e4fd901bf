#include <iostream>
#include <memory>

#include "cli/CliSettings.h"
#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"
#include "cli/GameFile.h"
#include "formats/EchReader.h"
#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "render/RtfExport.h"
#include "render/StoredOptions.h"

namespace varnock::cli {

namespace {

// Reads the games of the text: the one asked for in full, the others header
// only, so that the document can give the game's place and the count.
struct CollectionRead {
  std::unique_ptr<SGridFrame> game;
  int count = 0;
  bool problems = false;
};

CollectionRead ReadCollection(std::string_view text, FileType type, const std::string& fileName, int wanted,
                              NodeStore& store, UserPrompt& prompt) {
  CollectionRead read;
  SErrorList errors;
  PgnReadContext pgn;
  pgn.text = text;
  pgn.fileName = fileName;
  pgn.errors = &errors;
  pgn.prompt = &prompt;
  EchReadSource ech;
  ech.text = text;
  ech.fileName = fileName;
  ech.errors = &errors;
  std::size_t cursor = 0;
  for (;;) {
    auto game = std::make_unique<SGridFrame>(store);
    const ReadMode mode = read.count + 1 == wanted ? ReadMode::Full : ReadMode::Scan;
    int found = 0;
    if (type == kFilePgn) {
      pgn.cursor = cursor;
      found = Do_FilePGN(*game, mode, pgn);
      cursor = pgn.cursor;
    } else {
      bool marked = false;
      ech.gameNumber = read.count + 1;
      found = ReadEchGame(*game, mode, ech, cursor, marked);
    }
    if (!found) break;
    ++read.count;
    if (read.count == wanted) read.game = std::move(game);
  }
  for (const std::string& message : errors.Messages()) std::cerr << ConsolePrompt::OneLine(message) << '\n';
  read.problems = !errors.Empty() || pgn.errorFlag;
  return read;
}

}  // namespace

// rtf FILE GAME OUT.rtf: the game as an RTF document with the RTF options.
int CommandRtf(const Args& args) {
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (arg.starts_with("--")) return UsageError("rtf: unknown option " + arg);
    positional.push_back(arg);
  }
  if (positional.size() != 3) return UsageError("rtf takes a file, a game number and an output file");
  const std::optional<int> wanted = GameNumber(positional[1]);
  if (!wanted) return UsageError("rtf: the game number must be a whole number from 1");
  ConsolePrompt prompt(false);
  const std::optional<GameFileText> file = ReadGameFile(positional[0], prompt);
  if (!file) return 2;

  NodeStore store;
  CollectionRead read = ReadCollection(file->text.view(), file->type, positional[0], *wanted, store, prompt);
  if (!read.game) {
    std::cerr << "varnock-cli: '" << positional[0] << "' holds " << read.count << " games\n";
    return 2;
  }
  RtfGameSource source;
  source.header = &read.game->header;
  source.filePath = positional[0];
  source.place = *wanted;
  source.count = read.count;
  if (!CmSaveRTF(read.game->Tree(), source, RtfOptionsOf(RunSettings().settings), positional[2], prompt)) return 2;
  return read.problems ? 1 : 0;
}

}  // namespace varnock::cli
