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

// The file filter of the open and save dialogs.
extern const char* const kGameFileFilter;

class FileCommands {
 public:
  FileCommands(Collection& collection, FileSettings settings);

  // Opening.
  bool ReLoad(const std::string& name);  // FrameWin::ReLoad
  void Load();
  void CmReLoad();
  void From_MRU(const std::string& name);

  // Saving.
  void CmSave();
  void SaveAs();
  void Export();
  void ExportCurrentGame();

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
  bool saved = false;  // the last Save As saved
  // The time the backups are stamped with (tests fix it).
  std::function<std::time_t()> clock = [] { return std::time(nullptr); };
  // The last temporary file a save used (for reports and tests).
  std::string lastTempName;

 private:
  bool SaveAsOrExport(bool exportSelected, const std::string& title);
  // Writes the games to a new file at `path`; reports failures.
  bool WriteCollectionFile(const std::string& path, bool selectedOnly, FileType type, bool longAlgebraic, int& games,
                           std::uint64_t& bytes, const std::string& createCaption);

  Collection& collection_;
  UserPrompt& prompt_;
};

}  // namespace varnock
