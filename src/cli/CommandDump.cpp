#include <iostream>

#include "cli/CliSettings.h"
#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"
#include "cli/GameFile.h"
#include "formats/EchReader.h"
#include "formats/EchWriter.h"
#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "render/GameTextLines.h"

namespace varnock::cli {

namespace {

struct DumpOptions {
  std::string file;
  int game = 0;
  bool ech = false;
  bool text = false;
  bool longAlgebraic = false;
  bool extensions = false;
  bool symbols = false;
  bool variations = true;
};

}  // namespace

// dump FILE GAME: reads the games of the file in full up to the one asked
// for and writes it anew, as PGN with the save options or as ECH, or prints
// the rows the game-text window shows for it.
int CommandDump(const Args& args) {
  DumpOptions options;
  std::vector<std::string> positional;
  for (const std::string& arg : args) {
    if (arg == "--ech")
      options.ech = true;
    else if (arg == "--long")
      options.longAlgebraic = true;
    else if (arg == "--extensions")
      options.extensions = true;
    else if (arg == "--symbols")
      options.symbols = true;
    else if (arg == "--no-variations")
      options.variations = false;
    else if (arg == "--text")
      options.text = true;
    else if (arg.starts_with("--"))
      return UsageError("dump: unknown option " + arg);
    else
      positional.push_back(arg);
  }
  if (options.text && options.ech) return UsageError("dump: --text and --ech exclude each other");
  if (positional.size() != 2) return UsageError("dump takes a file and a game number");
  options.file = positional[0];
  const std::optional<int> number = GameNumber(positional[1]);
  if (!number) return UsageError("dump: the game number must be a whole number from 1");
  options.game = *number;
  ConsolePrompt prompt(false);
  const std::optional<GameFileText> file = ReadGameFile(options.file, prompt);
  if (!file) return 2;
  const std::string_view text = file->text.view();
  const FileType type = file->type;

  NodeStore store;
  SErrorList errors;
  std::unique_ptr<SGridFrame> game;
  std::size_t cursor = 0;
  PgnReadContext pgn;
  pgn.text = text;
  pgn.fileName = options.file;
  pgn.errors = &errors;
  pgn.prompt = &prompt;
  EchReadSource ech;
  ech.text = text;
  ech.fileName = options.file;
  ech.errors = &errors;
  for (int read = 0; read < options.game; ++read) {
    game = std::make_unique<SGridFrame>(store);
    const std::size_t start = cursor;
    int found = 0;
    if (type == kFilePgn) {
      pgn.cursor = cursor;
      found = Do_FilePGN(*game, ReadMode::Full, pgn);
      cursor = pgn.cursor;
    } else {
      bool marked = false;
      ech.gameNumber = read + 1;
      found = ReadEchGame(*game, ReadMode::Full, ech, cursor, marked);
    }
    if (!found) {
      std::cerr << "varnock-cli: '" << options.file << "' holds " << read << " games\n";
      return 2;
    }
    game->textOffset = start;
    game->textLength = cursor - start;
    game->stateFlags = kFromFileText;
  }
  for (const std::string& message : errors.Messages()) std::cerr << ConsolePrompt::OneLine(message) << '\n';

  std::string out;
  if (options.text) {
    const SettingsSection& stored = RunSettings().settings;
    ScoreLayoutOptions layout;
    layout.initials = stored.pieceInitials;
    layout.shortNotation = stored.shortNotation;
    out = GameTextListing(GameTextLines(game->Tree(), layout));
  } else if (options.ech) {
    WriteEchGame(*game, false, out);
  } else {
    PgnExportOptions save = SaveExportOptions(options.longAlgebraic, options.extensions);
    save.symbols = options.symbols;
    save.includeVariations = options.variations;
    WritePgnGame(*game, out, save, type == kFilePgn ? std::optional<std::string_view>(text) : std::nullopt);
  }
  std::cout << out;
  return errors.Empty() && !pgn.errorFlag ? 0 : 1;
}

}  // namespace varnock::cli
