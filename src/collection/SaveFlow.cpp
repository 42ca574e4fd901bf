// Saving collections: CmSave with its backup, Save As, Export, and the
// writing of the games that copies unchanged ones byte for byte.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "collection/FileCommands.h"
#include "core/Format.h"
#include "formats/Backups.h"
#include "formats/EchWriter.h"
#include "formats/PgnTagSection.h"
#include "formats/PgnWriter.h"
#include "formats/SystemError.h"
#include "formats/TempNames.h"
#include "tree/TreeOrder.h"

namespace varnock {

namespace {

constexpr const char* kProductName = "Varnock";

// The extension after the last "." of the file part.
std::string ExtensionOf(const std::string& path) {
  const std::string part = FilePartOf(path);
  const std::size_t dot = part.rfind('.');
  return dot == std::string::npos ? std::string() : part.substr(dot + 1);
}

// The loaded file, opened again to copy unchanged stretches from, when it is
// still the very file whose text the collection retains.
class RetainedFile {
 public:
  RetainedFile(const SRollback_Params& rollback, const std::string& name) {
    if (!rollback.present || !rollback.source.known || name.empty()) return;
    fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !rollback.source.SameAs(FileIdentity::Of(status)) ||
        static_cast<std::uint64_t>(status.st_size) != rollback.text.size()) {
      Close();
      return;
    }
    source_ = {fd_, rollback.text.view().data(), rollback.text.size()};
  }
  ~RetainedFile() { Close(); }
  RetainedFile(const RetainedFile&) = delete;
  RetainedFile& operator=(const RetainedFile&) = delete;
  const RetainedSource* Source() const { return fd_ >= 0 ? &source_ : nullptr; }

 private:
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_ = -1;
  RetainedSource source_;
};

// Writes everything, then flushes it to disk. 0, or the error number.
int WriteAllAndSync(int fd, const SaveOutput& output, const RetainedSource* source) {
  if (const int error = output.WriteTo(fd, source)) return error;
  if (::fsync(fd) != 0) return errno;
  return 0;
}

// The report of a save. `gap` stands between the head and the number of
// games: Save writes one line end there, Save As and Export a blank line.
std::string SavedReport(const std::string& head, int games, std::uint64_t bytes, const char* gap) {
  // The count is printed in full, beyond 2 GB too.
  const auto count = static_cast<unsigned long long>(bytes);
  if (games < 2) return Format("%s\r\n\r\n( %llu  bytes )", head.c_str(), count);
  return Format("%s%s%d games stored in collection\r\n\r\n( %llu  bytes )", head.c_str(), gap, games, count);
}

}  // namespace

bool FileCommands::PgnWarnings(bool selectedOnly, const std::string& caption, bool saveAs) {
  bool irregular = false, bookmarks = false;
  for (std::size_t i = 0; i < collection_.Count() && !irregular; ++i) {
    SGridFrame& game = collection_.Game(i);
    if (selectedOnly && !game.selected) continue;
    // Only an ECH game can hold what PGN cannot: read it to look.
    if (!game.loaded && collection_.fileType == kFileEch) collection_.EnsureLoaded(game);
    if (!game.HasTree()) continue;
    GameTree& tree = game.Tree();
    if (!tree.bookmarks.empty()) bookmarks = true;
    for (NodeRef node : NodesInTreeOrder(tree)) {
      const MoveNode& n = tree.Node(node);
      if (n.parent == kNoNode) continue;
      if (n.Has2(kFlag2Irregular) || n.Has(kFlagComposed)) {
        irregular = true;
        break;
      }
    }
  }
  if (irregular) {
    std::string text =
        "Warning.\r\n\r\nIrregular moves or internal compositions have been detected in the game(s) marked for saving "
        "or export.  Such moves cannot be stored using the PGN format.  The lines of play in the stored PGN file may "
        "be truncated at these moves.";
    if (bookmarks)
      text += saveAs ? "\r\n\r\nAlso, bookmarks cannot be stored using the standard PGN format."
                     : "\r\n\r\nAlso, bookmarks cannot be stored using the standard PGN format";
    return prompt_.AskYesNo(caption, text + "\r\n\r\nDo you wish to continue?");
  }
  if (bookmarks && !settings.pgnExtensions)
    return prompt_.AskYesNo(
        caption, "Warning.\r\n\r\nBookmarks cannot be stored using the PGN format.\r\n\r\nDo you wish to continue?");
  return true;
}

int FileCommands::Save_File(std::string& out, bool selectedOnly, FileType type, bool longAlgebraic) {
  SaveOutput output;
  const int games = Save_File(output, selectedOnly, type, longAlgebraic);
  out += output.ToString();
  return games;
}

int FileCommands::Save_File(SaveOutput& out, bool selectedOnly, FileType type, bool longAlgebraic) {
  collection_.errors.Clear();
  const SRollback_Params& rollback = collection_.rollback;
  const std::string_view text = rollback.text.view();
  const bool pgnCollection = collection_.fileType == kFilePgn;
  const std::optional<std::string_view> fileText =
      pgnCollection && rollback.present ? std::optional<std::string_view>(text) : std::nullopt;
  SGridFrame* const current = &collection_.CurrentGame();
  int count = 0;
  for (std::size_t i = 0; i < collection_.Count(); ++i) {
    SGridFrame& game = collection_.Game(i);
    if (selectedOnly && !game.selected) continue;
    const bool isCurrent = &game == current;
    const std::uint8_t flags = game.StateFlags();
    const bool copy = rollback.present && game.textLength != 0 && type == collection_.fileType &&
                      (flags == kFromFileText || flags == (kFromFileText | kHeaderChanged)) &&
                      game.textOffset < text.size() && game.textLength <= text.size() - game.textOffset;
    if (copy) {
      const bool markMoved =
          type == kFileEch && flags == kFromFileText && ((game.gameId == collection_.markedGameId) != isCurrent);
      std::uint64_t skip = 0;
      if ((flags & kHeaderChanged) || markMoved) {
        std::string header;
        if (type == kFileEch)
          WriteEchHeader(game, isCurrent, header);
        else
          WritePgnTagSection(game, header, false, fileText);
        out.Append(header);
        skip = std::min<std::uint64_t>(game.headerLength, game.textLength);
        if (type == kFilePgn)
          skip = ReplacedHeaderLength(
              text.substr(static_cast<std::size_t>(game.textOffset), static_cast<std::size_t>(game.textLength)),
              static_cast<std::size_t>(skip));
      }
      const std::size_t end = static_cast<std::size_t>(game.textOffset + game.textLength);
      out.AppendRetained(text.substr(static_cast<std::size_t>(game.textOffset + skip),
                                     static_cast<std::size_t>(game.textLength - skip)));
      if (type == kFileEch) {
        // The white space that followed the game in the file goes with it,
        // so that an unchanged file is written as it was read, to its last
        // byte; a game followed by none gets the usual blank line.
        std::size_t gap = end;
        while (gap < text.size() && (text[gap] == ' ' || text[gap] == '\t' || text[gap] == '\r' || text[gap] == '\n'))
          ++gap;
        if (gap > end)
          out.AppendRetained(text.substr(end, gap - end));
        else if (i + 1 < collection_.Count())
          out.Append("\r\n\r\n");
      }
    } else {
      if (!game.loaded) collection_.EnsureLoaded(game);
      std::string written;
      if (type == kFileEch)
        WriteEchGame(game, isCurrent, written);
      else
        WritePgnGame(game, written, SaveExportOptions(longAlgebraic, settings.pgnExtensions), fileText);
      out.Append(written);
    }
    ++count;
  }
  if (!collection_.errors.Empty())
    collection_.errors.Display(prompt_, kProductName, "", collection_.settings.tempFolder);
  return count;
}

SaveResult FileCommands::Failed(const std::string& caption, const std::string& text, const std::string& name) {
  prompt_.Inform(caption, text);
  SaveResult result;
  result.outcome = SaveResult::kFailed;
  result.fileName = name;
  result.report = text;
  return result;
}

bool FileCommands::StillTheLoadedFile(const std::string& name, const std::string& target) {
  if (name != knownName_ || !known_.known) return true;
  struct stat now {};
  if (::stat(target.c_str(), &now) != 0) return true;  // gone: nothing there to lose
  const FileIdentity current = FileIdentity::Of(now);
  if (current.device == known_.device && current.inode == known_.inode && current.size == known_.size &&
      current.modifiedSeconds == known_.modifiedSeconds && current.modifiedNanoseconds == known_.modifiedNanoseconds)
    return true;
  return prompt_.AskYesNo(
      "CmSave()",
      Format("Warning.\r\n\r\nThe file '%s' has changed since it was loaded: another program or another save has "
             "written to it.\r\nSaving now replaces those changes; the file as it is now is kept as the "
             "backup.\r\n\r\nDo you wish to save anyway?",
             name.c_str()));
}

bool FileCommands::WriteCollectionFile(const std::string& requested, bool selectedOnly, FileType type,
                                       bool longAlgebraic, int& games, std::uint64_t& bytes,
                                       const std::string& createCaption, std::string& failure) {
  // A symbolic link is written through to the file it names; anything else
  // than a regular file (a device, a pipe, a folder) is not replaced.
  std::string path = requested;
  struct stat target {};
  if (::lstat(path.c_str(), &target) == 0 && S_ISLNK(target.st_mode)) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) {
      failure = FileErrorText(requested, errno);
      prompt_.Inform(createCaption, failure);
      return false;
    }
    path = resolved;
  }
  if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
    failure = Format("'%s'\n\nThis is not a regular file: it is not replaced by the game file", requested.c_str());
    prompt_.Inform(createCaption, failure);
    return false;
  }
  // Written under a temporary name beside the target, then renamed over it:
  // a failure never leaves a part-written file under the name.
  const std::string folder = FolderOf(path), part = FilePartOf(path);
  RemoveStaleTempFiles(folder, part);
  std::string tempName;
  const int fd = CreateTempFileFor(folder, part, tempName);
  if (fd < 0) {
    failure = FileErrorText(path, errno);
    prompt_.Inform(createCaption, failure);
    return false;
  }
  struct stat existing {};
  const mode_t umaskNow = ::umask(0);
  ::umask(umaskNow);
  ::fchmod(fd, ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : (0666 & ~umaskNow));
  SaveOutput out;
  games = Save_File(out, selectedOnly, type, longAlgebraic);
  bytes = out.Size();
  const RetainedFile retained(collection_.rollback, collection_.fileName);
  int error = WriteAllAndSync(fd, out, retained.Source());
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tempName.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempName.c_str());
    // "WriteFile failed" first, as every failed write of a collection says;
    // the system's own message after it tells why.
    failure = "WriteFile failed\n\n" + FileErrorText(path, error);
    prompt_.Inform("FrameWin::Save_File()", failure);
    return false;
  }
  SyncFolder(folder);
  return true;
}

SaveResult FileCommands::CmSave() {
  if (collection_.fileName.empty()) return SaveAs();
  const std::string name = collection_.fileName;
  // A symbolic link is saved through to the file it names.
  char resolved[PATH_MAX];
  if (!::realpath(name.c_str(), resolved)) return Failed("CmSave()", FileErrorText(name, errno), name);
  const std::string target = resolved;
  if (::access(target.c_str(), W_OK) != 0)
    return Failed("CmSave(): IsWriteProtected()",
                  Format("'%s'\n\nUnable to replace file.  File is marked as being write protected", name.c_str()),
                  name);
  SaveResult declined;
  declined.fileName = name;
  if (collection_.fileType == kFilePgn && !PgnWarnings(false, "CmSave()", false)) return declined;
  const std::string extension = EqualsIgnoringCase(ExtensionOf(name), "ech") ? "ech" : "pgn";
  const std::string backupName =
      GetBackupName(settings.backupFolder, name, extension, clock(), prompt_).value_or(std::string());

  const std::string folder = FolderOf(target), part = FilePartOf(target);
  RemoveStaleTempFiles(folder, part);
  std::string tempName;
  const int fd = CreateTempFileFor(folder, part, tempName);
  if (fd < 0) {
    const int error = errno;
    return Failed("GetTempFileName()",
                  Format("Directory '%s'\nFile '%s'\n\n%s\nError Code is %d", folder.c_str(), part.c_str(),
                         SystemMessage(error).c_str(), error),
                  name);
  }
  lastTempName = tempName;
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

  SaveOutput out;
  const int games = Save_File(out, false, collection_.fileType, false);
  const RetainedFile retained(collection_.rollback, collection_.fileName);
  int error = WriteAllAndSync(fd, out, retained.Source());
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    ::unlink(tempName.c_str());
    return Failed("FrameWin::Save_File()", "WriteFile failed\n\n" + FileErrorText(tempName, error), name);
  }
  // The last moment to find that someone else wrote to the file meanwhile.
  if (!StillTheLoadedFile(name, target)) {
    ::unlink(tempName.c_str());
    return declined;
  }
  recent.Add(name);
  if (!SwapBackupFiles(target, tempName, backupName, settings.backupFiles, prompt_))
    return Failed("CmSave()",
                  Format("Unable to swap files\r\n\r\n'%s'\r\n'%s'\r\n\r\nThe modified file might still be "
                         "held as\r\n\r\n'%s'",
                         name.c_str(), backupName.c_str(), tempName.c_str()),
                  name);
  SaveResult result;
  result.outcome = SaveResult::kSaved;
  result.fileName = name;
  result.games = games;
  result.bytes = out.Size();
  result.report = SavedReport(Format("'%s'\r\n\r\nFile saved", name.c_str()), games, out.Size(), "\r\n");
  prompt_.Inform("CmSave()", result.report);
  collection_.modified = false;
  NoteSavedFile(name, target);
  return result;
}

void FileCommands::NoteSavedFile(const std::string& name, const std::string& path) {
  struct stat now {};
  knownName_ = name;
  known_ = ::stat(path.c_str(), &now) == 0 ? FileIdentity::Of(now) : FileIdentity{};
}

SaveResult FileCommands::SaveAsOrExport(bool exportSelected, const std::string& title) {
  SaveResult result;
  std::optional<std::string> name = prompt_.ChooseFileToSave(title, kGameFileFilter, "pgn");
  if (!name || name->empty()) return result;
  result.fileName = *name;
  const FileType type = EqualsIgnoringCase(ExtensionOf(*name), "ECH") ? kFileEch : kFilePgn;
  if (type == kFilePgn && !PgnWarnings(exportSelected, "SaveAs()", true)) return result;
  std::string failure;
  if (!WriteCollectionFile(*name, exportSelected, type, settings.pgnLongAlgebraic, result.games, result.bytes,
                           "CreateFile()", failure)) {
    result.outcome = SaveResult::kFailed;
    result.report = failure;
    return result;
  }
  result.outcome = SaveResult::kSaved;
  result.report = SavedReport(Format("File '%s' saved", name->c_str()), result.games, result.bytes, "\r\n\r\n");
  prompt_.Inform("SaveAs()", result.report);
  recent.Add(*name);
  if (!exportSelected) {
    const bool sameType = type == collection_.fileType;
    collection_.fileName = *name;
    collection_.modified = false;
    NoteSavedFile(*name, *name);
    if (sameType) {
      if (collection_.views) collection_.views->Refresh();
    } else {
      // The retained text must be in the format of the file now named.
      ReLoad(*name);
    }
  }
  return result;
}

SaveResult FileCommands::SaveAs() { return SaveAsOrExport(false, "Save File"); }

SaveResult FileCommands::Export() { return SaveAsOrExport(true, "Export"); }

SaveResult FileCommands::ExportCurrentGame() {
  SGridFrame* current = &collection_.CurrentGame();
  for (std::size_t i = 0; i < collection_.Count(); ++i) collection_.Game(i).selected = &collection_.Game(i) == current;
  return Export();
}

}  // namespace varnock
