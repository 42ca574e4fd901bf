#include "GameText.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "formats/FileText.h"
#include "formats/LoadFile.h"
#include "support/SilentPrompt.h"

namespace varnock::bench {

namespace {

std::string Decompressed(const std::filesystem::path& path) {
  std::string command = "xz -dc '";
  for (char c : path.string()) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
  command += '\'';
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) throw std::runtime_error("cannot run xz for " + path.string());
  std::string text;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) text.append(buffer, n);
  if (pclose(pipe.release()) != 0) throw std::runtime_error("xz cannot decompress " + path.string());
  return text;
}

}  // namespace

std::string LoadGameText(const std::filesystem::path& path) {
  std::string text;
  if (path.extension() == ".xz") {
    text = Decompressed(path);
  } else {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    text.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size())))
      throw std::runtime_error("cannot read " + path.string());
  }
  CleanFileText(text);
  return text;
}

TextBuffer LoadFileText(const std::filesystem::path& path) {
  if (path.extension() == ".xz") return TextBuffer::CopyOf(Decompressed(path));
  testing::SilentPrompt silent;
  std::optional<LoadedFile> loaded = Load_File(path.string(), silent);
  if (!loaded) throw std::runtime_error("cannot read " + path.string());
  CleanFileText(loaded->text);
  return std::move(loaded->text);
}

std::string CollectionBenchText(const std::filesystem::path& corpusDir) {
  std::vector<std::filesystem::path> files;
  if (const char* given = std::getenv("VARNOCK_BENCH_PGN"); given && *given)
    files.push_back(given);
  else
    for (const char* name : {"Carlsen", "Hou", "Kosteniuk"})
      files.push_back(corpusDir / "big" / "pgnmentor" / (std::string(name) + ".pgn.xz"));
  std::string text;
  for (const auto& file : files) text += LoadGameText(file) + "\r\n";
  return text;
}

std::filesystem::path LargestCorpusFile(const std::filesystem::path& corpusDir) {
  std::ifstream manifest(corpusDir / "MANIFEST.tsv");
  std::filesystem::path largest;
  unsigned long long largestBytes = 0;
  for (std::string line; std::getline(manifest, line);) {
    std::istringstream fields(line);
    std::string path, bytes;
    if (!std::getline(fields, path, '\t') || !std::getline(fields, bytes, '\t')) continue;
    unsigned long long size = 0;
    try {
      size = std::stoull(bytes);
    } catch (const std::exception&) {
      continue;  // the heading
    }
    if (size > largestBytes) {
      largestBytes = size;
      largest = corpusDir / path;
    }
  }
  return largest;
}

}  // namespace varnock::bench
