// The list of engines the user has chosen, kept as one settings text
// ("UCI_Engines"): entries separated by ";", each an engine's directory
// followed directly by its file name. A directory inside the program's data
// folder is kept relative to it, written beginning with "./".
#pragma once

#include <string>
#include <vector>

namespace varnock {

struct SEngine {
  std::string fileName;
  std::string directory;  // ends with "/"; relative ones begin with "./"
  bool operator==(const SEngine&) const = default;
};

// Splits a full path after its last "/"; the directory is made relative when
// it lies inside `programDir`.
SEngine EngineFromPath(const std::string& path, const std::string& programDir);

// The entry's full path: a relative directory is put below `programDir`.
std::string FullPath(const SEngine& engine, const std::string& programDir);

// Reads the settings text: empty entries and repeated ones are skipped;
// "NULL" is an empty list.
std::vector<SEngine> ParseEngineList(const std::string& text);

// The settings text of a list; "NULL" for an empty one.
std::string FormatEngineList(const std::vector<SEngine>& engines);

}  // namespace varnock
