#include <charconv>
#include <iostream>

#include "cli/Commands.h"
#include "cli/OpenCollection.h"

namespace varnock::cli {

namespace {

struct TagChange {
  std::size_t game = 0;  // 1-based
  HeaderField field{};
  std::string value;
};

// "GAME:NAME=VALUE" with NAME a PGN tag name of a header field, Annotator or
// GameComment (any case).
std::optional<TagChange> ParseTagChange(const std::string& text) {
  const std::size_t colon = text.find(':'), equals = text.find('=');
  if (colon == std::string::npos || equals == std::string::npos || equals < colon) return std::nullopt;
  TagChange change;
  auto [end, error] = std::from_chars(text.data(), text.data() + colon, change.game);
  if (error != std::errc() || end != text.data() + colon || change.game == 0) return std::nullopt;
  std::string name = text.substr(colon + 1, equals - colon - 1);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  bool found = false;
  for (int f = 0; f < kHeaderFieldCount && !found; ++f) {
    const auto field = static_cast<HeaderField>(f);
    std::string tag(PgnTagName(field));
    if (field == HeaderField::Annotator) tag = "Annotator";
    if (field == HeaderField::GameComment) tag = "GameComment";
    for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tag == name) {
      change.field = field;
      found = true;
    }
  }
  if (!found) return std::nullopt;
  change.value = text.substr(equals + 1);
  return change;
}

}  // namespace

// save FILE: changes header fields and saves in place with a backup.
int CommandSave(const Args& args) {
  std::vector<std::string> positional;
  std::vector<TagChange> changes;
  bool yes = false;
  std::optional<std::string> backupDir;
  std::optional<int> backups;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--backup-dir" && hasValue) {
      backupDir = args[++i];
    } else if (arg == "--backups" && hasValue) {
      int n = 0;
      const std::string& value = args[++i];
      auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
      if (error != std::errc() || end != value.data() + value.size() || n < 0)
        return UsageError("save: --backups takes a number from 0");
      backups = n;
    } else if (arg == "--tag" && hasValue) {
      std::optional<TagChange> change = ParseTagChange(args[++i]);
      if (!change) return UsageError("save: --tag takes GAME:NAME=VALUE with a header field's tag name");
      // PGN tag values end at a double quote and stand on one line.
      if (change->field != HeaderField::GameComment && change->value.find_first_of("\"\r\n") != std::string::npos)
        return UsageError("save: a tag value cannot hold a double quote or a line break");
      changes.push_back(*change);
    } else if (arg.starts_with("--")) {
      return UsageError("save: unknown option or missing value " + arg);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return UsageError("save takes one file");
  OpenCollection& open = OpenCollection::ForThisProcess(yes);
  if (backupDir) open.files.settings.backupFolder = *backupDir;
  if (backups) open.files.settings.backupFiles = *backups;
  if (!open.Open(positional[0])) return 2;
  Collection& collection = open.collection;
  const bool problems = open.ProblemsReported();
  for (const TagChange& change : changes) {
    if (change.game > collection.Count()) return UsageError("save: there is no game " + std::to_string(change.game));
    SGridFrame& game = collection.Game(change.game - 1);
    if (game.header.Get(change.field) == change.value) continue;
    game.header.Set(change.field, change.value);
    game.stateFlags |= kHeaderChanged;
    collection.modified = true;
  }
  return SaveStatus(open.files.CmSave(), problems || !collection.errors.Empty());
}

}  // namespace varnock::cli
