// Reading PGN text in every mode, writing each game back and reading it again.
#include <memory>
#include <optional>
#include <vector>

#include "MainLine.h"
#include "RoundTrips.h"
#include "core/UserPrompt.h"
#include "formats/FileText.h"
#include "formats/PgnReader.h"
#include "formats/PgnWriter.h"
#include "tree/TreeOrder.h"

namespace varnock::fuzz {

namespace {

// Answers every question with no and keeps what it was told.
class QuietPrompt : public UserPrompt {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  bool AskOkCancel(const std::string&, const std::string&) override { return false; }
  void Inform(const std::string&, const std::string& text) override { told.push_back(text); }
  std::optional<int> Choose(const std::string&, const std::vector<std::string>&) override { return std::nullopt; }
  std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFileToOpen(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFileToSave(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void ShowFile(const std::string&, const std::string&) override {}

  std::vector<std::string> told;
};

using Games = std::vector<std::unique_ptr<SGridFrame>>;

PgnReadContext Context(std::string_view text, SErrorList& errors, QuietPrompt& prompt) {
  PgnReadContext ctx;
  ctx.text = text;
  ctx.errors = &errors;
  ctx.prompt = &prompt;
  return ctx;
}

// Reads games from ctx.cursor on, at most kMaxGames, each knowing where its
// text lies.
std::string ReadGames(PgnReadContext& ctx, ReadMode mode, NodeStore& store, Games& games) {
  while (games.size() < kMaxGames) {
    const std::size_t start = ctx.cursor;
    auto game = std::make_unique<SGridFrame>(store);
    if (!Do_FilePGN(*game, mode, ctx)) break;
    if (ctx.cursor <= start || ctx.cursor > ctx.text.size())
      return "game " + std::to_string(games.size() + 1) + ", read from " + std::to_string(start) +
             ", left the cursor at " + std::to_string(ctx.cursor) + " of " + std::to_string(ctx.text.size());
    game->textOffset = start;
    game->textLength = ctx.cursor - start;
    game->stateFlags = kFromFileText;
    games.push_back(std::move(game));
  }
  return {};
}

// The export options a game is written with: each kind in turn.
PgnExportOptions Variant(std::size_t pick) {
  PgnExportOptions options = SaveExportOptions(false, true);
  switch (pick % 8) {
    case 0:
      options = SaveExportOptions(false, false);
      break;
    case 1:
      break;
    case 2:
      options.format = kPgnShortColumned;
      break;
    case 3:
      options.format = kPgnLong;
      break;
    case 4:
      options.format = kPgnLongColumned;
      break;
    case 5:
      options.oneLine = 1;
      break;
    case 6:
      options.symbols = 1;
      break;
    default:
      options.includeVariations = 0;
      break;
  }
  return options;
}

// A written set-up position is normalised and may still earn the warning
// its original earned; nothing else may be reported.
bool ExpectedReport(const std::string& message) {
  return message.starts_with("Warning.") && message.find("The FEN string is invalid.") != std::string::npos;
}

std::string ScanAndReread(std::string_view text, NodeStore& store, const Games& games) {
  SErrorList errors;
  QuietPrompt prompt;
  PgnReadContext scan = Context(text, errors, prompt);
  Games scanned;
  if (std::string failure = ReadGames(scan, ReadMode::Scan, store, scanned); !failure.empty())
    return "scan: " + failure;
  if (scanned.size() != games.size())
    return "the scan found " + std::to_string(scanned.size()) + " games, the full read " + std::to_string(games.size());
  for (std::size_t i = 0; i < games.size(); ++i) {
    SGridFrame& full = *games[i];
    SGridFrame& game = *scanned[i];
    const std::string where = "game " + std::to_string(i + 1) + ": ";
    if (game.textOffset != full.textOffset || game.textLength != full.textLength)
      return where + "the scan found its text at " + std::to_string(game.textOffset) + "+" +
             std::to_string(game.textLength) + ", the full read at " + std::to_string(full.textOffset) + "+" +
             std::to_string(full.textLength);
    if (!(game.header == full.header)) return where + "the scan read another header";
    PgnReadContext reread = Context(text, errors, prompt);
    reread.cursor = game.textOffset;
    reread.rereadGameNumber = static_cast<int>(i) + 1;
    if (!Do_FilePGN(game, ReadMode::Reread, reread)) return where + "the reread found no game";
    if (reread.cursor != full.textOffset + full.textLength)
      return where + "the reread ended at " + std::to_string(reread.cursor);
    if (!(game.header == full.header)) return where + "the reread changed the header";
    const std::string expected = MainLine(full, false), got = MainLine(game, false);
    if (got != expected)
      return where + "the reread gives another main line\n--- full read\n" + expected + "--- reread\n" + got;
  }
  return {};
}

// PGN has no place for the flipped flag, and "%XP[]" marks a move only: a
// primary position at the root, or in a variation that was left out, is lost.
// The game read back takes these from the original, so that the diagrams and
// the "%XP[]" lines written from it can be compared.
void CarryOverWhatPgnLoses(SGridFrame& original, SGridFrame& readBack, const PgnExportOptions& options) {
  readBack.flipped = original.flipped;
  const GameTree& tree = original.Tree();
  bool written = tree.primary != tree.root;
  if (written && !options.includeVariations) {
    written = false;
    for (NodeRef node = tree.root; node != kNoNode && !written; node = tree.Node(node).next)
      written = node == tree.primary;
  }
  if (!written) readBack.Tree().primary = readBack.Tree().root;
}

// PGN has no place for a comment before a move that continues its line: it
// reads back as more of the comment after the move before. True when the
// game has such a comment, so that it is written differently once read back.
bool HasMergedComment(SGridFrame& game) {
  const GameTree& tree = game.Tree();
  for (NodeRef node : NodesInTreeOrder(tree)) {
    const MoveNode& n = tree.Node(node);
    if (n.parent != kNoNode && tree.Node(n.parent).next == node && n.Has(kFlagCommentBefore)) return true;
  }
  return false;
}

std::string WriteAndReadBack(std::string_view text, NodeStore& store, SGridFrame& game, std::size_t index) {
  const std::string where = "game " + std::to_string(index + 1) + ": ";
  const PgnExportOptions options = Variant(index + text.size());
  std::string written;
  WritePgnGame(game, written, options, text);

  SErrorList errors;
  QuietPrompt prompt;
  PgnReadContext again = Context(written, errors, prompt);
  Games back;
  if (std::string failure = ReadGames(again, ReadMode::Full, store, back); !failure.empty())
    return where + "reading the written text: " + failure + "\n--- written\n" + written;
  if (back.size() != 1)
    return where + "the written text reads as " + std::to_string(back.size()) + " games\n--- written\n" + written;
  const std::string expected = MainLine(game, true), got = MainLine(*back[0], true);
  if (got != expected)
    return where + "the written text gives another main line\n--- written\n" + written + "\n--- first read\n" +
           expected + "--- read back\n" + got;
  for (const std::string& message : errors.Messages())
    if (!ExpectedReport(message))
      return where + "reading the written text reported\n" + message + "\n--- written\n" + written;
  if (!prompt.told.empty())
    return where + "reading the written text told\n" + prompt.told[0] + "\n--- written\n" + written;

  CarryOverWhatPgnLoses(game, *back[0], options);
  std::string rewritten;
  WritePgnGame(*back[0], rewritten, options, std::string_view(written));
  if (rewritten == written) return {};
  if (!HasMergedComment(game))
    return where + "the game read back is written differently\n--- first\n" + written + "\n--- second\n" + rewritten;

  // The merged comments are comments after moves now, and stay so.
  PgnReadContext reread = Context(rewritten, errors, prompt);
  Games backAgain;
  if (std::string failure = ReadGames(reread, ReadMode::Full, store, backAgain);
      !failure.empty() || backAgain.size() != 1)
    return where + "the text written a second time does not read as one game\n--- second\n" + rewritten;
  CarryOverWhatPgnLoses(*back[0], *backAgain[0], options);
  std::string thirdText;
  WritePgnGame(*backAgain[0], thirdText, options, std::string_view(rewritten));
  if (thirdText != rewritten)
    return where + "the game read back twice is written differently\n--- second\n" + rewritten + "\n--- third\n" +
           thirdText;
  return {};
}

}  // namespace

std::string CheckPgnText(std::string_view bytes) {
  std::string text(bytes);
  CleanFileText(text);
  DetectFileType(text);  // looked at as a load looks at it; the text is read as PGN whatever it says

  NodeStore store;
  SErrorList errors;
  QuietPrompt prompt;
  PgnReadContext full = Context(text, errors, prompt);
  full.fileName = "fuzz.pgn";
  Games games;
  if (std::string failure = ReadGames(full, ReadMode::Full, store, games); !failure.empty())
    return "full read: " + failure;
  if (std::string failure = ScanAndReread(text, store, games); !failure.empty()) return failure;
  for (std::size_t i = 0; i < games.size(); ++i)
    if (std::string failure = WriteAndReadBack(text, store, *games[i], i); !failure.empty()) return failure;
  return {};
}

}  // namespace varnock::fuzz
