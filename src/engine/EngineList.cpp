#include "engine/EngineList.h"

#include <algorithm>

namespace varnock {

namespace {

std::string WithoutTrailingSlashes(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

}  // namespace

SEngine EngineFromPath(const std::string& path, const std::string& programDir) {
  SEngine engine;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    engine.fileName = path;
    return engine;
  }
  engine.directory = path.substr(0, slash + 1);
  engine.fileName = path.substr(slash + 1);
  // Paths are compared as the file system does: case matters.
  const std::string base = WithoutTrailingSlashes(programDir);
  if (!base.empty() && base != "/" && engine.directory.size() > base.size() &&
      engine.directory.compare(0, base.size(), base) == 0 && engine.directory[base.size()] == '/') {
    engine.directory = "." + engine.directory.substr(base.size());
  }
  return engine;
}

std::string FullPath(const SEngine& engine, const std::string& programDir) {
  if (engine.directory.rfind("./", 0) == 0)
    return WithoutTrailingSlashes(programDir) + engine.directory.substr(1) + engine.fileName;
  return engine.directory + engine.fileName;
}

std::vector<SEngine> ParseEngineList(const std::string& text) {
  std::vector<SEngine> engines;
  if (text == "NULL") return engines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string entry = text.substr(start, end - start);
    start = end + 1;
    if (entry.empty()) continue;
    SEngine engine = EngineFromPath(entry, "");
    if (std::find(engines.begin(), engines.end(), engine) == engines.end()) engines.push_back(std::move(engine));
  }
  return engines;
}

std::string FormatEngineList(const std::vector<SEngine>& engines) {
  if (engines.empty()) return "NULL";
  std::string text;
  for (const SEngine& engine : engines) {
    if (!text.empty()) text += ';';
    text += engine.directory + engine.fileName;
  }
  return text;
}

}  // namespace varnock
