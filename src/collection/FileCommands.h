// The file side of the main window: opening a collection file, saving it
// with backups, Save As and Export. Runs without a window: questions, file
// dialogs and reports go through the user-interaction interface.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "collection/Collection.h"
#include "collection/SaveOutput.h"
#include "formats/FileIdentity.h"

namespace varnock {

// The settings and places the file commands use.
struct FileSettings {
  int backupFiles = 120;          // "Backup Files": backups kept
  bool pgnExtensions = false;     // "PGNExtensions"
  bool pgnLongAlgebraic = false;  // "PGNLongAlgebraic" (Save As and Export)
  std::string backupFolder;       // the "Backup" folder
};

// The recent-files list: newest first, at most 15 names.
class RecentFileList {
 public:
  void Add(const std::string& name);
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

// What a save did, for the caller to show (the status bar, varnock-cli).
struct SaveResult {
  enum Outcome {
    kSaved,     // written and in place
    kDeclined,  // stopped at a question, or nothing to save under
    kFailed,    // could not be written or put in place: the old file is intact
  };
  Outcome outcome = kDeclined;
  std::string fileName;
  int games = 0;
  std::uint64_t bytes = 0;
  std::string report;  // the report shown, or the failure's message
  bool Saved() const { return outcome == kSaved; }
  explicit operator bool() const { return Saved(); }
};

// What an opening did.
struct LoadResult {
  bool loaded = false;
  std::string fileName;
  std::size_t games = 0;
  std::uint64_t bytes = 0;  // the file's size
  std::size_t reports = 0;  // messages in the error list after the load
  bool Loaded() const { return loaded; }
  explicit operator bool() const { return loaded; }
};

// The file filter of the open and save dialogs.
extern const char* const kGameFileFilter;

class FileCommands {
 public:
  FileCommands(Collection& collection, FileSettings settings);

  // Opening.
  LoadResult ReLoad(const std::string& name);  // FrameWin::ReLoad
  LoadResult Load();
  LoadResult CmReLoad();
  LoadResult From_MRU(const std::string& name);

  // Saving.
  SaveResult CmSave();
  SaveResult SaveAs();
  SaveResult Export();
  SaveResult ExportCurrentGame();

  // Writes the games (all, or the selected ones) into `out` as `type`, as a
  // save does: unchanged games copied from the retained text, the others
  // written anew. Returns the number of games written.
  int Save_File(SaveOutput& out, bool selectedOnly, FileType type, bool longAlgebraic);
  int Save_File(std::string& out, bool selectedOnly, FileType type, bool longAlgebraic);

  // Asks the questions that come before a PGN write of the games; false
  // when the user stops the command.
  bool PgnWarnings(bool selectedOnly, const std::string& caption, bool saveAs);

  FileSettings settings;
  RecentFileList recent;
  // The time the backups are stamped with (tests fix it).
  std::function<std::time_t()> clock = [] { return std::time(nullptr); };
  // The last temporary file a save used (for reports and tests).
  std::string lastTempName;

 private:
  SaveResult SaveAsOrExport(bool exportSelected, const std::string& title);
  // Writes the games to a new file at `path`; reports failures.
  bool WriteCollectionFile(const std::string& requested, bool selectedOnly, FileType type, bool longAlgebraic,
                           int& games, std::uint64_t& bytes, const std::string& createCaption, std::string& failure);
  // Whether the file at `target` is still the one the collection was read
  // from (or last saved to); asks when it is not.
  bool StillTheLoadedFile(const std::string& name, const std::string& target);
  // Remembers the file just written under the collection's name.
  void NoteSavedFile(const std::string& name, const std::string& path);
  // Reports a failure and gives it as the result.
  SaveResult Failed(const std::string& caption, const std::string& text, const std::string& name);

  Collection& collection_;
  UserPrompt& prompt_;
  // The file as it was when the collection was read from it or last saved
  // to it: a save that finds another file there asks first.
  std::string knownName_;
  FileIdentity known_;
};

}  // namespace varnock
