// varnock-cli, built twice from this file: varnock-cli itself, which leaves
// out the commands that draw (and the graphics libraries, whose loading
// would slow every run), and varnock-cli-render beside it, which has every
// command and runs the drawing ones when varnock-cli hands them over.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "cli/CliSettings.h"
#include "cli/Commands.h"
#include "cli/ConsolePrompt.h"

namespace varnock::cli {

namespace {

struct Command {
  int (*run)(const Args&);  // nullptr: a drawing command that varnock-cli-render runs
  const char* synopsis;
  const char* help;
};

#if VARNOCK_CLI_RENDER
#define RENDERED(command) command
#else
#define RENDERED(command) nullptr
#endif

// Runs the same command line as varnock-cli-render, the program beside this
// one; returns only when that cannot be done.
int HandOverToRenderer(char** argv) {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) {
    std::cerr << "varnock-cli: cannot find the program's folder: " << std::strerror(errno) << '\n';
    return 2;
  }
  std::string path(self, static_cast<std::size_t>(length));
  path = path.substr(0, path.rfind('/') + 1) + "varnock-cli-render";
  ::execv(path.c_str(), argv);
  std::cerr << "varnock-cli: cannot run " << path << ": " << std::strerror(errno) << '\n';
  return 2;
}

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"analyse",
       {CommandAnalyse, "analyse FEN --engine PATH [--seconds S] [--lines N] [--hash MB]",
        "Run the UCI engine at PATH on the position for S seconds (default 5, fractions\n"
        "allowed) with N lines (default 1) and MB megabytes of hash (default 32), then\n"
        "stop it cleanly. Prints the analysis list as the analysis window shows it at\n"
        "the end, one 'depth<TAB>score<TAB>moves' row per line, then 'best<TAB>' and\n"
        "the best line (the newest line while no depth was completed). Scores read\n"
        "from White's side. Exit status 1 when the engine failed (no answer to 'stop'\n"
        "among them) or the FEN has a warning, 2 when it could not be started or the\n"
        "FEN is refused."}},
      {"ascii",
       {RENDERED(CommandAscii), "ascii FEN [--flip]",
        "Print the plain-text diagram of the position (piece letters, '-' on empty dark\n"
        "squares), from Black's side with --flip."}},
      {"check",
       {CommandCheck, "check FILE [--per-game] [--errors] [--threads N] [--yes]",
        "Open the collection, then read the moves of every game. Prints\n"
        "'games N nodes X mainline Y errors E' (nodes: move nodes in all lines; mainline:\n"
        "plies of the main lines; errors: games with reports). --per-game first prints\n"
        "'GAME<TAB>mainline plies<TAB>nodes<TAB>0 or 1' for each game; --errors prints the\n"
        "error list after the summary. The games are read on N threads (--threads N;\n"
        "default: one per core), with the same output as one. Exit status 1 when there\n"
        "were reports."}},
      {"convert",
       {CommandConvert, "convert IN OUT [--long] [--yes]",
        "Open IN and Save As OUT: PGN, or ECH when OUT ends in .ech. --long writes PGN\n"
        "moves in long algebraic notation; OUT must be absent or a regular file (a link\n"
        "is written through). The report goes to stderr. Exit status 1 after reported\n"
        "problems, 3 when OUT could not be written."}},
      {"count",
       {CommandCount, "count FILE [--yes]",
        "Open the collection as the main window does (the first game in full, the\n"
        "others scanned) and print the number of games."}},
      {"diagram",
       {RENDERED(CommandDiagram), "diagram FEN [--font N] [--flip]",
        "Print the diagram of the position in the characters of chess font N (0 Alpha,\n"
        "1 Dervantis, 2 Maya, 3 Merida, the default, 4 Motif), framed by the font's\n"
        "border characters, from Black's side with --flip."}},
      {"dump",
       {CommandDump, "dump FILE GAME [--long] [--extensions] [--symbols] [--no-variations] [--ech|--text]",
        "Read the games of FILE (PGN or ECH) up to GAME (1-based) and write that game anew:\n"
        "as PGN with the save options (--long for long algebraic, --extensions for the\n"
        "'%' lines, --symbols for '!?' in place of NAGs, --no-variations), or --ech.\n"
        "--text prints the game-text window's rows instead, one per line (tabs kept;\n"
        "the settings' ShortNotation and PieceInitials apply).\n"
        "Reader reports go to stderr; exit status 1 when there were any."}},
      {"eco",
       {CommandEco, "eco FILE [--transposition] [-o OUT] [--yes]",
        "Classify every game of FILE against the opening table: by move order, or by\n"
        "position with --transposition (the deepest match within 36 half-moves; games\n"
        "from a set-up position and empty games keep their tags). Prints\n"
        "'GAME<TAB>ECO<TAB>Opening' for each game, then the report; -o saves the\n"
        "classified collection to OUT (PGN, or ECH when OUT ends in .ech)."}},
      {"explorer-build",
       {CommandExplorerBuild, "explorer-build OUT.db FILE... [--mainline-only] [--plies N] [--yes]",
        "Build an explorer statistics database from the games of the files (PGN or\n"
        "ECH), read on every core: every line of each game, or only its main line with\n"
        "--mainline-only, up to N half-moves (default 40). A position counts each game\n"
        "that reaches it once, by the game's result; games without a result are left\n"
        "out. Written whole or not at all. Prints 'games N positions P bytes B'. Exit\n"
        "status 1 when the files had reports, 3 when OUT could not be written."}},
      {"explore",
       {CommandExplore, "explore FEN [--db FILE]",
        "Print the opening explorer for the position: the window title (the opening\n"
        "of the position; may be empty), then one row per displayed line, tab-separated:\n"
        "Move, Games, White%, Draw%, Black%, Opening. The database is FILE, or by default\n"
        "the user's Explorer/Varnock.db, else the one shipped with the program."}},
      {"fen",
       {CommandFen, "fen FEN",
        "Parse and validate a FEN. Prints 'valid', 'warning' or 'rejected', then the\n"
        "message if there is one, then (unless rejected) the position written back as FEN.\n"
        "Exit status 0 when valid, 1 for a warning or a rejection."}},
      {"rtf",
       {RENDERED(CommandRtf), "rtf FILE GAME OUT.rtf",
        "Export game GAME (1-based) of FILE (PGN or ECH) as an RTF document with the\n"
        "RTF options: moves, comments, variations, diagrams and the game information."}},
      {"save",
       {CommandSave, "save FILE [--tag GAME:NAME=VALUE]... [--backup-dir DIR] [--backups N] [--yes]",
        "Change header fields (NAME: a PGN tag name such as Event or WhiteELO, or Annotator\n"
        "or GameComment) and save the file in place. The old file becomes a backup in\n"
        "DIR (default the Backup folder), of which the newest N (default 120) are kept.\n"
        "Tag values cannot hold double quotes or line breaks. A file changed since it\n"
        "was opened is replaced only with --yes. Exit status 1 after reported problems\n"
        "or a question answered No, 3 when the file could not be saved."}},
      {"stats",
       {CommandStats, "stats players|events|openings FILE [--yes]",
        "Print the players, events or openings statistics list of the collection: the\n"
        "heading row, then one row per line, the columns tab-separated (the first is\n"
        "the row number), scores as the list shows them. Exit status 1 when the\n"
        "collection has nothing to list."}},
      {"reorder",
       {CommandReorder, "reorder FILE -o OUT --by eco|opening|white|black|date|event [--desc] [--yes]",
        "Sort the games by the header field (date: Date, or EventDate where Date is\n"
        "empty), stable, in the user's locale's collation, games with an empty key\n"
        "first (last with --desc), and Save As OUT."}},
      {"rename-player",
       {CommandRenamePlayer, "rename-player FILE OLD NEW -o OUT [--yes]",
        "Replace the player name OLD by NEW as White and as Black in every game and\n"
        "Save As OUT. Prints the report line."}},
      {"gif",
       {RENDERED(CommandGif), "gif FEN OUT.gif [--size PIXELS] [--font N] [--flip] [--bw]",
        "Save the board image of the position as a GIF: --size pixels per square\n"
        "(default 40), chess font N (default 3), --flip for Black's side, --bw for\n"
        "black and white."}},
      {"perft",
       {CommandPerft, "perft FEN DEPTH [--divide]",
        "Count the legal move sequences of DEPTH plies from the position, with the\n"
        "legality rules of move entry. --divide first prints 'move count' for each first\n"
        "move, sorted. The total is the last line."}},
  };
  return commands;
}

void PrintHelp() {
  std::cout << "Usage: varnock-cli COMMAND [OPTIONS] ARGS\n\n"
               "Varnock's batch companion: the work of the desktop editor, from the command line.\n\n"
               "Commands:\n";
  for (const auto& [name, command] : Commands()) std::cout << "  " << command.synopsis << '\n';
  std::cout << "\n'varnock-cli COMMAND --help' describes a command; '--version' prints the version.\n";
}

// A large collection keeps hundreds of thousands of small game records; in
// huge pages they cost far fewer page faults (on 500 MB of games, opening
// takes about a third less time). glibc takes that choice only from the
// environment when a program starts, so for a large file the program starts
// itself once more with it; should that fail, it carries on as it is.
void PreferHugePagesForSmallAllocations(int argc, char** argv) {
  constexpr const char* kSetting = "glibc.malloc.hugetlb=1";
  constexpr off_t kLargeFile = off_t{32} << 20;
  bool large = false;
  for (int i = 2; i < argc && !large; ++i) {
    struct stat status {};
    large = ::stat(argv[i], &status) == 0 && S_ISREG(status.st_mode) && status.st_size >= kLargeFile;
  }
  if (!large) return;
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) return;
  const std::string value = tunables && *tunables ? std::string(tunables) + ":" + kSetting : std::string(kSetting);
  if (::setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  ::execv("/proc/self/exe", argv);
}

}  // namespace
}  // namespace varnock::cli

int main(int argc, char** argv) {
  using namespace varnock::cli;
  PreferHugePagesForSmallAllocations(argc, argv);
  if (argc < 2) {
    PrintHelp();
    return 2;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h") {
    PrintHelp();
    return 0;
  }
  if (name == "--version") {
    std::cout << "Varnock " << VARNOCK_VERSION << '\n';
    return 0;
  }
  auto it = Commands().find(name);
  if (it == Commands().end()) return UsageError("unknown command '" + name + "'");
  if (!it->second.run) return HandOverToRenderer(argv);
  Args args(argv + 2, argv + argc);
  {
    // --ini FILE and --set KEY=VALUE belong to every command.
    ConsolePrompt prompt(false);
    if (const int status = SettingsForRun(name, args, prompt, RunSettings())) return status;
  }
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: varnock-cli " << it->second.synopsis << "\n\n" << it->second.help << '\n';
      return 0;
    }
  }
  try {
    return it->second.run(args);
  } catch (const std::exception& error) {
    std::cerr << "varnock-cli: " << error.what() << '\n';
    return 2;
  }
}
