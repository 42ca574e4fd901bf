#include "support/Corpus.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace varnock::testing {

std::string ReadCorpusFile(const std::filesystem::path& path) {
  const std::string command = "xz -dc '" + path.string() + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string text;
  if (!pipe) return text;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) text.append(buffer, n);
  return text;
}

std::vector<std::filesystem::path> CorpusFiles(std::initializer_list<const char*> folders) {
  std::vector<std::filesystem::path> files;
  for (const char* folder : folders) {
    const std::filesystem::path root = std::filesystem::path(VARNOCK_SHARED_DIR) / "corpus" / folder;
    if (!std::filesystem::exists(root)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
      if (entry.path().string().ends_with(".pgn.xz")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string LargestCorpusText() {
  const std::vector<std::filesystem::path> files = CorpusFiles({"big"});
  if (files.empty()) return {};
  const auto largest = std::max_element(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return std::filesystem::file_size(a) < std::filesystem::file_size(b);
  });
  return ReadCorpusFile(*largest);
}

bool CorpusSampled() {
  const char* sample = std::getenv("VARNOCK_CORPUS_SAMPLE");
  return sample && *sample && std::string(sample) != "0";
}

std::vector<std::filesystem::path> CorpusSample(std::initializer_list<const char*> folders) {
  std::vector<std::filesystem::path> files = CorpusFiles(folders);
  if (!CorpusSampled()) return files;
  std::vector<std::filesystem::path> sample;
  std::size_t large = 0;
  for (const auto& path : files) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    if (error || bytes <= 100 * 1024 || large++ % 4 == 0) sample.push_back(path);
  }
  return sample;
}

}  // namespace varnock::testing
