// Opening collection files: Load, CmReLoad, From_MRU and the reload they
// end in.
#include <algorithm>

#include "collection/FileCommands.h"
#include "core/Format.h"
#include "formats/LoadFile.h"
#include "formats/TempNames.h"

namespace varnock {

const char* const kGameFileFilter = "PGN Files  ( *.pgn )|*.pgn|ECH Files  ( *.ech )|*.ech|All Files  ( *.* )|*.*||";

void RecentFileList::Add(const std::string& name) {
  if (name.empty()) return;
  std::erase(names_, name);
  names_.insert(names_.begin(), name);
  if (names_.size() > 15) names_.resize(15);
}

FileCommands::FileCommands(Collection& collection, FileSettings fileSettings)
    : settings(std::move(fileSettings)), collection_(collection), prompt_(collection.Prompt()) {
  // A save that meets the file-size limit fails like any other write.
  IgnoreFileSizeSignal();
}

LoadResult FileCommands::ReLoad(const std::string& name) {
  LoadResult result;
  result.fileName = name;
  if (name.empty()) {
    prompt_.Inform("ReLoad()", "Unable to proceed - No filename");
    return result;
  }
  if (collection_.modified &&
      !prompt_.AskYesNo("ReLoad()", "Unsaved changes will be lost.\r\nDo you wish to load the file?"))
    return result;
  std::optional<LoadedFile> loaded = Load_File(name, prompt_, "CreateFile()");
  if (!loaded) return result;
  CleanFileText(loaded->text);
  const FileType type = DetectFileType(loaded->text.view());
  if (type == kFileNone) {
    prompt_.Inform("ReLoad()",
                   Format("'%s'\r\n\r\nFile is not recognised as being either a PGN or ECH file", name.c_str()));
    return result;
  }
  collection_.errors.Clear();
  const FileIdentity opened = loaded->opened;
  const std::uint64_t size = loaded->size;
  if (!collection_.BuildFromText(std::move(loaded->text), type, name, size)) {
    result.reports = collection_.errors.Messages().size();
    return result;
  }
  // With nothing cleaned out, the text is the file byte for byte.
  if (collection_.rollback.text.size() == size) collection_.rollback.source = loaded->identity;
  knownName_ = name;
  known_ = opened;
  recent.Add(name);
  collection_.fileName = name;
  collection_.modified = false;
  if (collection_.views) collection_.views->Refresh();
  result.loaded = true;
  result.games = collection_.Count();
  result.bytes = size;
  result.reports = collection_.errors.Messages().size();
  return result;
}

LoadResult FileCommands::Load() {
  if (collection_.modified &&
      !prompt_.AskYesNo("Load()", "Unsaved changes will be lost.\r\nDo you wish to load a new game file?"))
    return {};
  std::optional<std::string> name = prompt_.ChooseFileToOpen("Select Game File", kGameFileFilter, "pgn");
  if (!name) return {};
  collection_.modified = false;  // the question has been asked
  if (name->empty()) {
    prompt_.Inform("Load()", "Unable to Load - No filename");
    return {};
  }
  if (*name == collection_.fileName &&
      !prompt_.AskYesNo("Load()",
                        Format("The file '%s' is currently loaded\n\nDo you wish to reload from disk?", name->c_str())))
    return {};
  return ReLoad(*name);
}

LoadResult FileCommands::CmReLoad() {
  if (!collection_.modified &&
      !prompt_.AskYesNo("CmReLoad()", "No changes have been detected.\n\nDo you wish to reload?"))
    return {};
  return ReLoad(collection_.fileName);
}

LoadResult FileCommands::From_MRU(const std::string& name) {
  if (name == collection_.fileName &&
      !prompt_.AskYesNo("From_MRU()",
                        Format("The file '%s' is currently loaded\n\nDo you wish to reload from disk?", name.c_str())))
    return {};
  return ReLoad(name);
}

}  // namespace varnock
