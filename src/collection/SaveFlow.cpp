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

// A new, empty file in `folder` named from the first three characters of
// `prefix`; its descriptor and name, or -1 with errno.
int CreateTempFile(const std::string& folder, const std::string& prefix, std::string& name) {
  name = folder + "/" + prefix.substr(0, 3) + "XXXXXX";
  return ::mkstemp(name.data());
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

bool FileCommands::WriteCollectionFile(const std::string& path, bool selectedOnly, FileType type, bool longAlgebraic,
                                       int& games, std::uint64_t& bytes, const std::string& createCaption) {
  // Written under a temporary name beside the target, then renamed over it:
  // a failure never leaves a part-written file under the name.
  std::string tempName;
  const int fd = CreateTempFile(FolderOf(path), FilePartOf(path), tempName);
  if (fd < 0) {
    prompt_.Inform(createCaption, FileErrorText(path, errno));
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
    prompt_.Inform("FrameWin::Save_File()", "WriteFile failed\n\n" + FileErrorText(path, error));
    return false;
  }
  SyncFolder(FolderOf(path));
  return true;
}

void FileCommands::CmSave() {
  if (collection_.fileName.empty()) {
    SaveAs();
    return;
  }
  const std::string name = collection_.fileName;
  // A symbolic link is saved through to the file it names.
  char resolved[PATH_MAX];
  if (!::realpath(name.c_str(), resolved)) {
    prompt_.Inform("CmSave()", FileErrorText(name, errno));
    return;
  }
  const std::string target = resolved;
  if (::access(target.c_str(), W_OK) != 0) {
    prompt_.Inform("CmSave(): IsWriteProtected()",
                   Format("'%s'\n\nUnable to replace file.  File is marked as being write protected", name.c_str()));
    return;
  }
  if (collection_.fileType == kFilePgn && !PgnWarnings(false, "CmSave()", false)) return;
  const std::string extension = EqualsIgnoringCase(ExtensionOf(name), "ech") ? "ech" : "pgn";
  const std::string backupName =
      GetBackupName(settings.backupFolder, name, extension, clock(), prompt_).value_or(std::string());

  const std::string folder = FolderOf(target), part = FilePartOf(target);
  std::string tempName;
  const int fd = CreateTempFile(folder, part, tempName);
  if (fd < 0) {
    const int error = errno;
    prompt_.Inform("GetTempFileName()", Format("Directory '%s'\nFile '%s'\n\n%s\nError Code is %d", folder.c_str(),
                                               part.c_str(), SystemMessage(error).c_str(), error));
    return;
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
    // As for Save As: the fixed text first, then the system's message.
    prompt_.Inform("FrameWin::Save_File()", "WriteFile failed\n\n" + FileErrorText(tempName, error));
    return;
  }
  recent.Add(name);
  if (!SwapBackupFiles(target, tempName, backupName, settings.backupFiles, prompt_)) {
    prompt_.Inform("CmSave()",
                   Format("Unable to swap files\r\n\r\n'%s'\r\n'%s'\r\n\r\nThe modified file might still be "
                          "held as\r\n\r\n'%s'",
                          name.c_str(), backupName.c_str(), tempName.c_str()));
    return;
  }
  prompt_.Inform("CmSave()", SavedReport(Format("'%s'\r\n\r\nFile saved", name.c_str()), games, out.Size(), "\r\n"));
  collection_.modified = false;
}

bool FileCommands::SaveAsOrExport(bool exportSelected, const std::string& title) {
  std::optional<std::string> name = prompt_.ChooseFileToSave(title, kGameFileFilter, "pgn");
  if (!name || name->empty()) {
    saved = false;
    return false;
  }
  const FileType type = EqualsIgnoringCase(ExtensionOf(*name), "ECH") ? kFileEch : kFilePgn;
  if (type == kFilePgn && !PgnWarnings(exportSelected, "SaveAs()", true)) {
    saved = false;
    return false;
  }
  int games = 0;
  std::uint64_t bytes = 0;
  if (!WriteCollectionFile(*name, exportSelected, type, settings.pgnLongAlgebraic, games, bytes, "CreateFile()")) {
    saved = false;
    return false;
  }
  prompt_.Inform("SaveAs()", SavedReport(Format("File '%s' saved", name->c_str()), games, bytes, "\r\n\r\n"));
  recent.Add(*name);
  if (!exportSelected) {
    const bool sameType = type == collection_.fileType;
    collection_.fileName = *name;
    collection_.modified = false;
    if (sameType) {
      if (collection_.views) collection_.views->Refresh();
    } else {
      // The retained text must be in the format of the file now named.
      ReLoad(*name);
    }
  }
  saved = true;
  return true;
}

void FileCommands::SaveAs() { SaveAsOrExport(false, "Save File"); }

void FileCommands::Export() { SaveAsOrExport(true, "Export"); }

void FileCommands::ExportCurrentGame() {
  SGridFrame* current = &collection_.CurrentGame();
  for (std::size_t i = 0; i < collection_.Count(); ++i) collection_.Game(i).selected = &collection_.Game(i) == current;
  Export();
}

}  // namespace varnock
